#include "engine/Messenger.h"

#include "core/IpmsgProtocol.h"

SOCKET udpSocket = INVALID_SOCKET;
SOCKET tcpSocket = INVALID_SOCKET;

namespace {

// Makes a socket into target and binds it to port 2425 on every local
// address. No SO_REUSEADDR: a second copy of the program must fail here.
int createBoundSocket(SOCKET* target, int type, int protocol, int bufferSize)
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

    setsockopt(*target, SOL_SOCKET, SO_RCVBUF, (const char*)&bufferSize, sizeof bufferSize);
    setsockopt(*target, SOL_SOCKET, SO_SNDBUF, (const char*)&bufferSize, sizeof bufferSize);
    return 1;
}

}  // namespace

int createUdpSocket()
{
    return createBoundSocket(&udpSocket, SOCK_DGRAM, IPPROTO_UDP, 8192);
}

int createTcpSocket()
{
    return createBoundSocket(&tcpSocket, SOCK_STREAM, IPPROTO_TCP, 0x8000);
}
