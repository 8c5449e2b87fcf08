#include "engine/MessageReceiverThread.h"

#include "core/IpmsgProtocol.h"
#include "engine/MessageDispatcher.h"
#include "engine/Messenger.h"

namespace {

// Errors after which the socket will never deliver again.
bool socketIsGone(int error)
{
    return error == WSAENOTSOCK || error == WSANOTINITIALISED || error == WSAEINVAL ||
           error == WSAEINTR || error == WSAESHUTDOWN;
}

}  // namespace

UINT MessageReceiverThread::receiveUdpLoop(LPVOID)
{
    MessageDispatcher dispatcher;
    receiveDatagrams(udpSocket, dispatcher);
    return 0;
}

void MessageReceiverThread::receiveDatagrams(SOCKET socket, MessageDispatcher& dispatcher)
{
    // One byte more than the largest datagram, for the NUL that lets the
    // handlers read the data as text.
    char* buffer = new char[UDP_BUFFER_SIZE + 1];
    for (;;) {
        sockaddr_in sender;
        int senderLength = sizeof sender;
        int received = recvfrom(socket, buffer, UDP_BUFFER_SIZE, 0, (sockaddr*)&sender, &senderLength);
        if (received == SOCKET_ERROR) {
            if (socketIsGone(WSAGetLastError()))
                break;
            continue;
        }
        buffer[received] = '\0';

        CString ip = inet_ntoa(sender.sin_addr);
        CString port;
        port.Format("%d", ntohs(sender.sin_port));
        dispatcher.dispatch(buffer, received, ip, port);
    }
    delete[] buffer;
}
