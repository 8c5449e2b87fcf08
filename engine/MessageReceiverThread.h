#pragma once

#include "classlib/Types.h"

class MessageDispatcher;

// One accepted TCP connection, handed from the accept thread to its serving
// thread, which owns it: it closes the socket and deletes the record.
struct TcpConnectionInfo {
    SOCKET socket;
};

// The receiving side of port 2425: one thread reads every datagram from
// udpSocket, one accepts connections on tcpSocket and starts a serving
// thread for each.
class MessageReceiverThread {
public:
    virtual ~MessageReceiverThread();

    // Starts the UDP receive thread, then the TCP accept thread.
    void start();

    // Reads datagrams from udpSocket for the rest of the run.
    static UINT receiveUdpLoop(LPVOID parameter);
    // Listens on tcpSocket; returns 0 when listening or accepting fails.
    static UINT acceptTcpLoop(LPVOID parameter);
    // Serves the file requests of one connection (parameter: a
    // TcpConnectionInfo the thread takes over).
    static UINT serveTcpConnection(LPVOID parameter);

    // Hands every datagram that arrives on socket to dispatcher, one after
    // the other, until the socket cannot be read any more (closed, or the
    // sockets layer stopped). Receive errors of single datagrams (too long,
    // port unreachable after an earlier send) are skipped.
    static void receiveDatagrams(SOCKET socket, MessageDispatcher& dispatcher);
};
