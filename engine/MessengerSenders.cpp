#include "engine/Messenger.h"

#include "core/IpMessage.h"
#include "core/IpMessageFactory.h"
#include "core/IpmsgProtocol.h"
#include "core/UdpPacket.h"
#include "engine/IpMessageSender.h"
#include "engine/UdpPacketSender.h"

namespace {

int broadcastMessage(IpMessage* message)
{
    IpMessageSender sender;
    sender.broadcast(message);
    delete message;
    return 0;
}

}  // namespace

int sendBrEntry()
{
    IpMessageFactory factory;
    return broadcastMessage(factory.createBrEntryMessage());
}

int sendBrExit()
{
    IpMessageFactory factory;
    return broadcastMessage(factory.createBrExitMessage());
}

int sendRecvMessage(CString packetNo, CString ip)
{
    IpMessageFactory factory;
    IpMessage* receipt = factory.createRecvMessage(packetNo);
    UdpPacket packet;
    receipt->toUdpPacket(ip, IPMSG_PORT, &packet);
    UdpPacketSender::sendPacket(udpSocket, packet);
    delete receipt;
    return 0;
}

int sendTextMessage(CString text, CString ipList)
{
    IpMessageFactory factory;
    IpMessage* message = factory.createSendMessage(text);
    // A text too long for one datagram is cut by writeTo at a character
    // boundary; what goes out is exactly what writeTo wrote.
    char buffer[UDP_BUFFER_SIZE];
    int length = message->writeTo(buffer);
    UdpPacketSender::sendToEach(udpSocket, buffer, length, ipList, IPMSG_PORT);
    delete message;
    return 0;
}
