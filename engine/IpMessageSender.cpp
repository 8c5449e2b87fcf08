#include "engine/IpMessageSender.h"

#include "core/CUtils.h"
#include "core/IpMessage.h"
#include "core/IpmsgProtocol.h"
#include "engine/Messenger.h"
#include "core/UdpPacketSender.h"

IpMessageSender::~IpMessageSender()
{
}

void IpMessageSender::separateNicknameFromGroup(char* text, int length)
{
    for (int i = length - 1; i >= 0; --i) {
        if (text[i] == ':')
            return;
        if (text[i] == ';') {
            text[i] = '\0';
            return;
        }
    }
}

namespace {

// Serialises message into buffer (UDP_BUFFER_SIZE bytes) with the fix-up;
// returns the datagram's length.
int writeWireText(IpMessage* message, char* buffer)
{
    int length = message->writeTo(buffer);
    IpMessageSender::separateNicknameFromGroup(buffer, length);
    return length;
}

}  // namespace

int IpMessageSender::broadcast(IpMessage* message)
{
    char buffer[UDP_BUFFER_SIZE];
    int length = writeWireText(message, buffer);
    UdpPacketSender::broadcast(udpSocket, buffer, length, CUtils().udpPort);
    return 0;
}

int IpMessageSender::sendTo(IpMessage* message, CString ip)
{
    char buffer[UDP_BUFFER_SIZE];
    int length = writeWireText(message, buffer);
    UdpPacketSender::sendTo(udpSocket, buffer, length, ip, CUtils().udpPort);
    return 0;
}

int IpMessageSender::answer(IpMessage* message, CString ip)
{
    char buffer[UDP_BUFFER_SIZE];
    int length = writeWireText(message, buffer);
    UdpPacketSender::sendReply(udpSocket, buffer, length, ip, CUtils().udpPort);
    return 0;
}
