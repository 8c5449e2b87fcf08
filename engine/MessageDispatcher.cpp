#include "engine/MessageDispatcher.h"

#include "engine/IpMessageProcessor.h"
#include "engine/ShareCommandProcessor.h"

#include <cstring>

namespace {

const char SHARE_COMMAND_MARKER[] = "ZQMSG=ZQMSG";
const int SHARE_COMMAND_MARKER_LENGTH = sizeof SHARE_COMMAND_MARKER - 1;

// Only the start of a datagram is searched for the IPMSG header.
const int HEADER_WINDOW = 300;
const int HEADER_SEPARATORS = 5;

// Another program's datagrams start "zqMsgVersion=" (the 'M' in either
// case); they look like IPMSG but are not.
bool isForeignHeader(const char* data, int length)
{
    return length >= 13 && strncmp(data, "zq", 2) == 0 && (data[2] == 'M' || data[2] == 'm') &&
        strncmp(data + 3, "sgVersion=", 10) == 0;
}

}  // namespace

MessageDispatcher::~MessageDispatcher()
{
}

BOOL MessageDispatcher::isShareCommand(const char* data, int length)
{
    return length >= SHARE_COMMAND_MARKER_LENGTH &&
        memcmp(data, SHARE_COMMAND_MARKER, SHARE_COMMAND_MARKER_LENGTH) == 0;
}

BOOL MessageDispatcher::isIpMessage(const char* data, int length)
{
    if (isForeignHeader(data, length))
        return FALSE;
    int window = length < HEADER_WINDOW ? length : HEADER_WINDOW;
    int separators = 0;
    for (int i = 0; i < window && data[i] != '\0'; ++i) {
        if (data[i] == ':' && ++separators == HEADER_SEPARATORS)
            return TRUE;
    }
    return FALSE;
}

MessageDispatcher::Route MessageDispatcher::routeOf(const char* data, int length)
{
    if (isShareCommand(data, length))
        return shareCommandRoute;
    if (isIpMessage(data, length))
        return ipMessageRoute;
    return droppedRoute;
}

void MessageDispatcher::dispatch(const char* data, int length, CString ip, CString port)
{
    switch (routeOf(data, length)) {
    case shareCommandRoute: {
        ShareCommandProcessor shareProcessor;
        shareProcessor.handleShareCommand(data, length, ip, port);
        break;
    }
    case ipMessageRoute: {
        IpMessageProcessor* processor = new IpMessageProcessor;
        processor->process(data, length, ip, port);
        delete processor;
        break;
    }
    case droppedRoute:
        break;
    }
}
