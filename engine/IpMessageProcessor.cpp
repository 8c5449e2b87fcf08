#include "engine/IpMessageProcessor.h"

#include "core/IpMessage.h"
#include "core/IpMessageFactory.h"
#include "core/IpMessageParser.h"
#include "core/IpmsgProtocol.h"
#include "engine/IpMessageSender.h"
#include "engine/Messenger.h"
#include "engine/WindowLinks.h"

IpMessageProcessor::~IpMessageProcessor()
{
}

int IpMessageProcessor::process(const char* data, int length, CString ip, CString port)
{
    IpMessage* message = new IpMessage;
    message->senderIp = ip;

    if (isTextMessage(data, length, ip, port))
        takeTextMessage(data, length, message, ip);
    else if (isBrEntry(data, length, ip, port))
        takeBrEntry(data, length, message, ip);
    else if (isAnsEntry(data, length, ip, port))
        takeAnsEntry(data, length, message);
    else if (isBrExit(data, length, ip, port))
        takeBrExit(message);
    else if (isFileAttachMessage(data, length, ip, port))
        takeFileAttachMessage(data, length, message, ip, port);

    delete message;
    return 0;
}

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

BOOL IpMessageProcessor::isBrExit(const char* data, int length, CString, CString)
{
    return modeOf(commandWordOf(data, length)) == IPMSG_BR_EXIT;
}

BOOL IpMessageProcessor::isFileAttachMessage(const char* data, int length, CString, CString)
{
    unsigned command = commandWordOf(data, length);
    unsigned options = optionsOf(command);
    return modeOf(command) == IPMSG_SENDMSG &&
        (options == IPMSG_FILEATTACHOPT || options == (IPMSG_FILEATTACHOPT | IPMSG_SENDCHECKOPT));
}

namespace {

void readDatagram(const char* data, int length, int mode, IpMessage* message)
{
    IpMessageParser parser;
    parser.parseRawPacket(data, length, mode, message);
}

// Synchronous: the window copies what it needs before the call returns.
LRESULT showToBuddyList(UINT windowMessage, IpMessage* message)
{
    return SendMessageA(buddyListWindow(), windowMessage, 0, (LPARAM)message);
}

}  // namespace

void IpMessageProcessor::takeTextMessage(const char* data, int length, IpMessage* message, CString ip)
{
    readDatagram(data, length, IpMessageParser::READ_CHAT_TEXT, message);
    // Acknowledged whether or not the sender asked, once the window has it. A
    // text the window did not take gets no receipt, so the sender's client
    // can tell the user that it was not delivered.
    if (showToBuddyList(WM_USER_RECEIVE_MESSAGE, message) == CHAT_TEXT_TAKEN) {
        sendRecvMessage(message->packetNo, ip);
    }
}

void IpMessageProcessor::takeBrEntry(const char* data, int length, IpMessage* message, CString ip)
{
    readDatagram(data, length, IpMessageParser::READ_ENTRY, message);

    // Our answer is on the wire before the window learns of the peer.
    IpMessageFactory factory;
    IpMessage* answer = factory.createAnsEntryMessage();
    IpMessageSender sender;
    sender.answer(answer, ip);
    delete answer;

    showToBuddyList(WM_USER_ADD_BUDDY, message);
}

void IpMessageProcessor::takeAnsEntry(const char* data, int length, IpMessage* message)
{
    readDatagram(data, length, IpMessageParser::READ_ANSWER_OR_OFFER, message);
    showToBuddyList(WM_USER_ADD_BUDDY, message);
}

// Nothing of the datagram is read: whatever names it carries, only the peer
// at its source address leaves, and its next entry brings it back.
void IpMessageProcessor::takeBrExit(IpMessage* message)
{
    showToBuddyList(WM_USER_REMOVE_BUDDY, message);
}
