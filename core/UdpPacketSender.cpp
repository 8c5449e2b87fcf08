#include "core/UdpPacketSender.h"

#include "classlib/CStringArray.h"
#include "core/CUtils.h"
#include "core/PendingSends.h"
#include "core/ReplyBudget.h"
#include "core/UdpPacket.h"

namespace {

void sendDatagram(SOCKET socket, const char* data, int length, const sockaddr_in& destination)
{
    if (length < 0)
        return;
    sendto(socket, data, length, 0, (const sockaddr*)&destination, sizeof destination);
}

ReplyBudget& replyBudget()
{
    // Made on first use and never destroyed: the receive thread may still
    // reply while the process ends.
    static ReplyBudget* budget = new ReplyBudget(UdpPacketSender::REPLY_ADDRESSES, UdpPacketSender::REPLY_BURST,
                                                 UdpPacketSender::REPLIES_PER_SECOND);
    return *budget;
}

}  // namespace

UdpPacketSender::~UdpPacketSender()
{
}

BOOL UdpPacketSender::destinationOf(CString ip, int port, sockaddr_in* destination)
{
    unsigned long address = inet_addr(ip);
    if (ip.IsEmpty() || address == INADDR_NONE)
        return FALSE;
    ZeroMemory(destination, sizeof *destination);
    destination->sin_family = AF_INET;
    destination->sin_addr.s_addr = address;
    destination->sin_port = htons((u_short)port);
    return TRUE;
}

int UdpPacketSender::broadcast(SOCKET socket, const char* data, int length, int port)
{
    char on = 1;
    setsockopt(socket, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);

    sockaddr_in destination;
    ZeroMemory(&destination, sizeof destination);
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    destination.sin_port = htons((u_short)port);
    sendDatagram(socket, data, length, destination);
    return 0;
}

std::vector<sockaddr_in> UdpPacketSender::destinationsOf(CString ipList, int port)
{
    std::vector<sockaddr_in> destinations;
    CStringArray addresses;
    CUtils::splitToArray(ipList, ",", &addresses);
    for (INT_PTR i = 0; i < addresses.GetSize(); ++i) {
        CString ip = addresses[i];
        ip.Trim();
        sockaddr_in destination;
        if (!ip.IsEmpty() && destinationOf(ip, port, &destination))
            destinations.push_back(destination);
    }
    return destinations;
}

int UdpPacketSender::sendTo(SOCKET socket, const char* data, int length, CString ip, int port)
{
    sockaddr_in destination;
    if (destinationOf(ip, port, &destination))
        sendDatagram(socket, data, length, destination);
    return 0;
}

int UdpPacketSender::sendToEach(SOCKET socket, const char* data, int length, CString ipList, int port)
{
    for (const sockaddr_in& destination : destinationsOf(ipList, port))
        sendDatagram(socket, data, length, destination);
    return 0;
}

int UdpPacketSender::sendPacket(SOCKET socket, const UdpPacket& packet)
{
    return sendTo(socket, packet.data, packet.length, packet.ip, packet.port);
}

int UdpPacketSender::sendString(SOCKET socket, CString data, CString ip, int port)
{
    return sendTo(socket, data, data.GetLength(), ip, port);
}

int UdpPacketSender::sendOwnToEach(SOCKET socket, const char* data, int length, CString ipList, int port)
{
    for (const sockaddr_in& destination : destinationsOf(ipList, port))
        PendingSends::own().send(socket, data, length, destination);
    return 0;
}

int UdpPacketSender::sendReply(SOCKET socket, const char* data, int length, CString ip, int port)
{
    sockaddr_in destination;
    if (destinationOf(ip, port, &destination) && replyBudget().take(destination.sin_addr.s_addr, GetTickCount()))
        sendDatagram(socket, data, length, destination);
    return 0;
}

int UdpPacketSender::sendReplyPacket(SOCKET socket, const UdpPacket& packet)
{
    return sendReply(socket, packet.data, packet.length, packet.ip, packet.port);
}
