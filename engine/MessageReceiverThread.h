#pragma once

#include "classlib/Types.h"

class MessageDispatcher;

// One accepted TCP connection, handed from the accept thread to its serving
// thread, which owns it: it closes the socket, gives back the serving slot
// the accept thread took for it, if any, and deletes the record.
struct TcpConnectionInfo {
    SOCKET socket = INVALID_SOCKET;
    ULONG peerAddress = 0;  // IPv4, network order
    bool holdsSlot = false;
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
    // Listens on tcpSocket and starts a serving thread for every accepted
    // connection, as long as its peer address holds fewer than
    // CONNECTIONS_PER_ADDRESS of them and all together fewer than
    // CONNECTIONS_IN_ALL; a connection past either bound is closed at once.
    // A failed accept is passed over (with a short pause when it repeats);
    // returns 0 when listening fails or the listening socket can no longer
    // work.
    static UINT acceptTcpLoop(LPVOID parameter);
    // Serves the file requests of one connection (parameter: a
    // TcpConnectionInfo the thread takes over). A connection that has sent
    // no request that can be served requestTimeoutMs after its start, or
    // takes none of the data for sendTimeoutMs, is closed.
    static UINT serveTcpConnection(LPVOID parameter);

    // The accept call of acceptTcpLoop; tests put one in that fails first.
    typedef SOCKET(WSAAPI* AcceptCall)(SOCKET, sockaddr*, int*);
    static AcceptCall acceptCall;
    // The bounds of the connections served at once. Each holds a thread and
    // up to 1 MiB of send buffer, so 64 cost at most about 64 MiB and 64
    // threads even in the 32-bit program. One honest downloader needs a few
    // at a time (three items of an offer, a share or two), so 16 from one
    // address leave room for four such hosts that a flood cannot take.
    static const int CONNECTIONS_PER_ADDRESS = 16;
    static const int CONNECTIONS_IN_ALL = 64;

    // The serving threads' time limits (values and reasons beside their
    // definitions); tests shorten them.
    static DWORD requestTimeoutMs;
    static DWORD sendTimeoutMs;

    // Hands every datagram that arrives on socket to dispatcher, one after
    // the other, until the socket cannot be read any more (closed, or the
    // sockets layer stopped). Receive errors of single datagrams (too long,
    // port unreachable after an earlier send) are skipped.
    static void receiveDatagrams(SOCKET socket, MessageDispatcher& dispatcher);
};
