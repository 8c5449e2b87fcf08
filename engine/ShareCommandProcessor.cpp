#include "engine/ShareCommandProcessor.h"

#include "core/CUtils.h"

#include <cstring>

namespace {

const char MARKER[] = "ZQMSG=ZQMSG";
const int MARKER_LENGTH = sizeof MARKER - 1;

BOOL isCommand(const char* data, int length, const char* command)
{
    if (length <= 10 || memcmp(data, MARKER, MARKER_LENGTH) != 0)
        return FALSE;
    CString value;
    CUtils::getParamValue(&value, data, length, "COMMAND");
    return value == command;
}

}  // namespace

BOOL ShareCommandProcessor::isShareListRequest(const char* data, int length, CString, CString)
{
    return isCommand(data, length, "GET_SHARE_FLODER_LIST");
}

BOOL ShareCommandProcessor::isShareListReply(const char* data, int length, CString, CString)
{
    return isCommand(data, length, "GET_SHARE_FLODER_LIST_REPLY");
}
