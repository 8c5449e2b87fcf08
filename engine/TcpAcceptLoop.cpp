#include "engine/MessageReceiverThread.h"

#include "classlib/Prompts.h"
#include "classlib/Thread.h"
#include "engine/Messenger.h"

UINT MessageReceiverThread::acceptTcpLoop(LPVOID)
{
    if (listen(tcpSocket, 200) != 0) {
        AfxMessageBox("错误...\n", MB_OK);
        return 0;
    }
    for (;;) {
        sockaddr_in peer;
        int peerLength = sizeof peer;
        SOCKET connection = accept(tcpSocket, (sockaddr*)&peer, &peerLength);
        if (connection == INVALID_SOCKET) {
            // Nothing more is served until the program starts again.
            closesocket(tcpSocket);
            return 0;
        }
        TcpConnectionInfo* info = new TcpConnectionInfo;
        info->socket = connection;
        if (AfxBeginThread(serveTcpConnection, info) == NULL) {
            closesocket(connection);
            delete info;
        }
    }
}
