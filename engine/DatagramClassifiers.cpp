#include "engine/IpMessageProcessor.h"

#include "core/IpMessage.h"
#include "core/IpMessageParser.h"
#include "core/IpmsgProtocol.h"

namespace {

const unsigned MODE_MASK = 0xFFu;

// The command word of the datagram's header; only the text before the
// first NUL counts.
unsigned commandWordOf(const char* data, int length)
{
    int textLength = 0;
    while (textLength < length && data[textLength] != '\0')
        ++textLength;

    IpMessageParser* parser = new IpMessageParser;
    IpMessage* header = parser->parse(CString(data, textLength));
    unsigned command = (unsigned)header->command;
    delete header;
    delete parser;
    return command;
}

unsigned modeOf(unsigned command)
{
    return command & MODE_MASK;
}

unsigned optionsOf(unsigned command)
{
    return command & ~MODE_MASK;
}

}  // namespace

BOOL IpMessageProcessor::isTextMessage(const char* data, int length, CString, CString)
{
    unsigned command = commandWordOf(data, length);
    // A text sent to several people is marked so; it is a chat text all the same.
    unsigned options = optionsOf(command) & ~(unsigned)IPMSG_MULTICASTOPT;
    return modeOf(command) == IPMSG_SENDMSG &&
           (options == 0 || options == IPMSG_SENDCHECKOPT ||
            options == (IPMSG_SENDCHECKOPT | IPMSG_SECRETOPT | IPMSG_READCHECKOPT));
}

BOOL IpMessageProcessor::isBrEntry(const char* data, int length, CString, CString)
{
    return modeOf(commandWordOf(data, length)) == IPMSG_BR_ENTRY;
}

BOOL IpMessageProcessor::isAnsEntry(const char* data, int length, CString, CString)
{
    return modeOf(commandWordOf(data, length)) == IPMSG_ANSENTRY;
}

BOOL IpMessageProcessor::isFileAttachMessage(const char* data, int length, CString, CString)
{
    unsigned command = commandWordOf(data, length);
    unsigned options = optionsOf(command);
    return modeOf(command) == IPMSG_SENDMSG &&
           (options == IPMSG_FILEATTACHOPT || options == (IPMSG_FILEATTACHOPT | IPMSG_SENDCHECKOPT));
}
