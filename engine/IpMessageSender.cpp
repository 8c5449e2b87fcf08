#include "engine/IpMessageSender.h"

#include "core/CUtils.h"
#include "core/IpMessage.h"
#include "core/IpmsgProtocol.h"
#include "engine/Messenger.h"
#include "engine/UdpPacketSender.h"

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

int IpMessageSender::broadcast(IpMessage* message)
{
    char* buffer = new char[UDP_BUFFER_SIZE];
    int length = message->writeTo(buffer);
    separateNicknameFromGroup(buffer, length);
    UdpPacketSender::broadcast(udpSocket, buffer, length, CUtils().udpPort);
    delete[] buffer;
    return 0;
}

int IpMessageSender::sendTo(IpMessage* message, CString ip)
{
    char* buffer = new char[UDP_BUFFER_SIZE];
    int length = message->writeTo(buffer);
    separateNicknameFromGroup(buffer, length);
    UdpPacketSender::sendTo(udpSocket, buffer, length, ip, CUtils().udpPort);
    delete[] buffer;
    return 0;
}
