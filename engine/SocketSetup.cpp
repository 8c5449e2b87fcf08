#include "engine/Messenger.h"

#include "core/IpmsgProtocol.h"

SOCKET udpSocket = INVALID_SOCKET;
SOCKET tcpSocket = INVALID_SOCKET;

namespace {

// While the receive thread handles one datagram, the others wait in the
// socket's receive buffer. A few hundred peers answer our entry broadcast
// within milliseconds, and a busy network floods us with datagrams we drop:
// 8 KiB held only a few of them, this holds thousands (Linux caps it at
// net.core.rmem_max).
const int UDP_RECEIVE_BUFFER = 4 * 1024 * 1024;
const int UDP_SEND_BUFFER = 8192;
const int TCP_BUFFER = 0x8000;

// Makes a socket into target and binds it to port 2425 on every local
// address. No SO_REUSEADDR: a second copy of the program must fail here.
int createBoundSocket(SOCKET* target, int type, int protocol, int receiveBuffer, int sendBuffer)
{
    *target = socket(AF_INET, type, protocol);
    if (*target == INVALID_SOCKET)
        return 0;

    sockaddr_in address;
    ZeroMemory(&address, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(IPMSG_PORT);
    if (bind(*target, (const sockaddr*)&address, sizeof address) != 0)
        return 0;

    setsockopt(*target, SOL_SOCKET, SO_RCVBUF, (const char*)&receiveBuffer, sizeof receiveBuffer);
    setsockopt(*target, SOL_SOCKET, SO_SNDBUF, (const char*)&sendBuffer, sizeof sendBuffer);
    return 1;
}

}  // namespace

int createUdpSocket()
{
    return createBoundSocket(&udpSocket, SOCK_DGRAM, IPPROTO_UDP, UDP_RECEIVE_BUFFER, UDP_SEND_BUFFER);
}

int createTcpSocket()
{
    return createBoundSocket(&tcpSocket, SOCK_STREAM, IPPROTO_TCP, TCP_BUFFER, TCP_BUFFER);
}
