#include "engine/Messenger.h"

#include "classlib/CStringArray.h"
#include "core/CUtils.h"
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

    CStringArray addresses;
    CUtils::splitToArray(ipList, ",", &addresses);

    // A text too long for one datagram is cut by writeTo at a character
    // boundary; what goes out is exactly what writeTo wrote.
    char buffer[UDP_BUFFER_SIZE];
    for (INT_PTR i = 0; i < addresses.GetSize(); ++i) {
        CString ip = addresses[i];
        ip.Trim();
        if (ip.IsEmpty())
            continue;
        int length = message->writeTo(buffer);
        UdpPacketSender::sendTo(udpSocket, buffer, length, ip, IPMSG_PORT);
    }

    delete message;
    return 0;
}
