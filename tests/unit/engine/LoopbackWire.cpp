#include "LoopbackWire.h"

#include "core/IpmsgProtocol.h"
#include "engine/Messenger.h"

#include <gtest/gtest.h>

namespace {

bool waitReadable(SOCKET socket, long seconds)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval limit = {seconds, 0};
    return select(0, &readable, NULL, NULL, &limit) == 1;
}

// The next datagram from a loopback sender; false when none came at all
// (a guard against hanging, not a timing check).
bool receiveFromLoopback(std::string* datagram)
{
    static char buffer[65536];
    for (;;) {
        if (!waitReadable(udpSocket, 20))
            return false;
        sockaddr_in sender;
        int senderLength = sizeof sender;
        int received = recvfrom(udpSocket, buffer, sizeof buffer, 0, (sockaddr*)&sender, &senderLength);
        if (received < 0 || sender.sin_addr.s_addr != htonl(INADDR_LOOPBACK))
            continue;
        datagram->assign(buffer, received);
        return true;
    }
}

std::string sendMarker()
{
    static int markers = 0;
    std::string marker = "--end of test datagrams " + std::to_string(++markers) + "--";
    sockaddr_in destination = loopbackAddress(IPMSG_PORT);
    sendto(udpSocket, marker.data(), (int)marker.size(), 0, (const sockaddr*)&destination, sizeof destination);
    return marker;
}

// Reads up to the marker; returns what came before it.
std::vector<std::string> datagramsBefore(const std::string& marker)
{
    std::vector<std::string> datagrams;
    std::string datagram;
    while (receiveFromLoopback(&datagram)) {
        if (datagram == marker)
            return datagrams;
        datagrams.push_back(datagram);
    }
    ADD_FAILURE() << "the marker datagram never came back on port 2425";
    return datagrams;
}

}  // namespace

sockaddr_in loopbackAddress(int port)
{
    sockaddr_in address;
    ZeroMemory(&address, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons((u_short)port);
    return address;
}

std::vector<std::string> datagramsSentDuring(const std::function<void()>& action)
{
    datagramsBefore(sendMarker());  // leftovers of earlier tests
    action();
    return datagramsBefore(sendMarker());
}

bool datagramWaiting()
{
    return waitReadable(udpSocket, 0);
}

WireFields splitDatagram(const std::string& datagram)
{
    WireFields result;
    std::string* fields[] = {&result.version, &result.packetNo, &result.user, &result.host, &result.command};
    size_t start = 0;
    for (std::string* field : fields) {
        size_t colon = datagram.find(':', start);
        if (colon == std::string::npos)
            return result;
        field->assign(datagram, start, colon - start);
        start = colon + 1;
    }
    result.extra = datagram.substr(start);
    return result;
}
