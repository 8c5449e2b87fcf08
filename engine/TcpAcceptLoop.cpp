#include "engine/MessageReceiverThread.h"

#include "classlib/Prompts.h"
#include "classlib/Thread.h"
#include "engine/Messenger.h"

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
        TcpConnectionInfo* info = new TcpConnectionInfo;
        info->socket = connection;
        if (AfxBeginThread(serveTcpConnection, info, THREAD_PRIORITY_NORMAL, SERVING_STACK_SIZE,
                           STACK_SIZE_PARAM_IS_A_RESERVATION) == NULL) {
            closesocket(connection);
            delete info;
        }
    }
}
