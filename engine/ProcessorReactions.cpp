#include "engine/IpMessageProcessor.h"

#include "core/IpMessage.h"
#include "core/IpMessageFactory.h"
#include "core/IpMessageParser.h"
#include "core/WindowMessages.h"
#include "engine/IpMessageSender.h"
#include "engine/Messenger.h"
#include "engine/WindowLinks.h"

// The reading modes of IpMessageParser::parseRawPacket.
namespace {

const int READ_CHAT_TEXT = 1;
const int READ_ENTRY = 2;
const int READ_ANSWER = 4;

void readDatagram(const char* data, int length, int mode, IpMessage* message)
{
    IpMessageParser parser;
    parser.parseRawPacket(data, length, mode, message);
}

// Synchronous: the window copies what it needs before the call returns.
void showToBuddyList(UINT windowMessage, IpMessage* message)
{
    SendMessageA(buddyListWindow(), windowMessage, 0, (LPARAM)message);
}

}  // namespace

void IpMessageProcessor::takeTextMessage(const char* data, int length, IpMessage* message, CString ip)
{
    readDatagram(data, length, READ_CHAT_TEXT, message);
    showToBuddyList(WM_USER_RECEIVE_MESSAGE, message);
    // Acknowledged whether or not the sender asked, once the window has it.
    sendRecvMessage(message->packetNo, ip);
}

void IpMessageProcessor::takeBrEntry(const char* data, int length, IpMessage* message, CString ip)
{
    readDatagram(data, length, READ_ENTRY, message);

    // Our answer is on the wire before the window learns of the peer.
    IpMessageFactory factory;
    IpMessage* answer = factory.createAnsEntryMessage();
    IpMessageSender sender;
    sender.sendTo(answer, ip);
    delete answer;

    showToBuddyList(WM_USER_ADD_BUDDY, message);
}

void IpMessageProcessor::takeAnsEntry(const char* data, int length, IpMessage* message)
{
    readDatagram(data, length, READ_ANSWER, message);
    showToBuddyList(WM_USER_ADD_BUDDY, message);
}
