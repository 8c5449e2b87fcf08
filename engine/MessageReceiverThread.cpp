#include "engine/MessageReceiverThread.h"

#include "classlib/Prompts.h"
#include "classlib/Thread.h"
#include "core/IpmsgProtocol.h"
#include "engine/FileServing.h"
#include "engine/MessageDispatcher.h"
#include "engine/Messenger.h"
#include "engine/ServingSlots.h"

MessageReceiverThread::~MessageReceiverThread()
{
}

void MessageReceiverThread::start()
{
    AfxBeginThread(receiveUdpLoop, NULL);
    AfxBeginThread(acceptTcpLoop, NULL);
}

namespace {

// Errors after which the socket will never deliver again.
bool socketIsGone(int error)
{
    return error == WSAENOTSOCK || error == WSANOTINITIALISED || error == WSAEINVAL || error == WSAEINTR ||
        error == WSAESHUTDOWN;
}

// Waits until a datagram can be read from socket; false when the socket is
// gone. The socket is non-blocking, so that no send on it waits either.
bool waitReadable(SOCKET socket)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    if (select(0, &readable, NULL, NULL, NULL) != SOCKET_ERROR)
        return true;
    return !socketIsGone(WSAGetLastError());
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
            int error = WSAGetLastError();
            if (socketIsGone(error) || (error == WSAEWOULDBLOCK && !waitReadable(socket)))
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

namespace {

// Pause before the next accept when accepting failed more than once in a row,
// so that a lasting shortage (no buffers, no sockets) does not spin.
const DWORD REPEATED_FAILURE_PAUSE_MS = 100;

// Serving threads hold a few small objects on the stack; their buffers live
// on the heap. A small reservation lets hundreds of connections fit in the
// address space of the 32-bit program.
const UINT SERVING_STACK_SIZE = 128 * 1024;

// Errors after which the listening socket can no longer work. Every other
// error concerns one connection or a passing shortage (a connection reset
// before it was taken, no buffer space, too many sockets).
bool listeningSocketIsGone(int error)
{
    switch (error) {
    case WSANOTINITIALISED:
    case WSAENOTSOCK:
    case WSAEINVAL:
    case WSAEOPNOTSUPP:
    case WSAEFAULT:
        return true;
    default:
        return false;
    }
}

// Every serving thread holds its stack and buffers whatever the peer sends:
// a flood of idle connections once filled the 32-bit program's address space
// at about 600 threads. A downloader fetches a few items of an offer at a
// time, so sixteen per address leave a peer room for several offers and
// shares at once; sixty-four in all stay a small part of what fills the
// address space, and take more than one host to fill.
ServingSlots& servingSlots()
{
    // Made on first use and never destroyed: serving threads may still run
    // while the process ends.
    static ServingSlots* slots =
        new ServingSlots(MessageReceiverThread::CONNECTIONS_PER_ADDRESS, MessageReceiverThread::CONNECTIONS_IN_ALL);
    return *slots;
}

}  // namespace

MessageReceiverThread::AcceptCall MessageReceiverThread::acceptCall = accept;

UINT MessageReceiverThread::acceptTcpLoop(LPVOID)
{
    if (listen(tcpSocket, 200) != 0) {
        AfxMessageBox("错误...\n", MB_OK);
        return 0;
    }
    int failuresInRow = 0;
    for (;;) {
        sockaddr_in peer;
        int peerLength = sizeof peer;
        SOCKET connection = acceptCall(tcpSocket, (sockaddr*)&peer, &peerLength);
        if (connection == INVALID_SOCKET) {
            if (listeningSocketIsGone(WSAGetLastError())) {
                // Nothing more is served until the program starts again.
                closesocket(tcpSocket);
                return 0;
            }
            if (++failuresInRow > 1)
                Sleep(REPEATED_FAILURE_PAUSE_MS);
            continue;
        }
        failuresInRow = 0;
        ULONG address = peer.sin_addr.s_addr;
        if (!servingSlots().take(address)) {
            closesocket(connection);
            continue;
        }
        TcpConnectionInfo* info = new TcpConnectionInfo;
        info->socket = connection;
        info->peerAddress = address;
        info->holdsSlot = true;
        if (AfxBeginThread(serveTcpConnection, info, THREAD_PRIORITY_NORMAL, SERVING_STACK_SIZE,
                           STACK_SIZE_PARAM_IS_A_RESERVATION) == NULL) {
            closesocket(connection);
            servingSlots().give(address);
            delete info;
        }
    }
}

// A downloader sends its request right after connecting; a peer that has sent
// nothing for half a minute is not going to. A send that moves no data for a
// minute has a reader that stopped reading.
DWORD MessageReceiverThread::requestTimeoutMs = 30000;
DWORD MessageReceiverThread::sendTimeoutMs = 60000;

UINT MessageReceiverThread::serveTcpConnection(LPVOID parameter)
{
    TcpConnectionInfo* info = (TcpConnectionInfo*)parameter;
    serveConnection(info->socket, requestTimeoutMs, sendTimeoutMs);
    if (info->holdsSlot)
        servingSlots().give(info->peerAddress);
    delete info;
    return 0;
}
