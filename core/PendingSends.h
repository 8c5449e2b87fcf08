#pragma once

#include "classlib/Types.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

// The user's own datagrams (texts, offers) that the UDP socket cannot take at
// once, in the order given, sent by one thread of their own as the socket's
// send buffer frees: the window thread never waits on a send, and a text is
// not lost because lookups of unreachable addresses hold that buffer for a
// few seconds. The socket is non-blocking. Safe on every thread.
class PendingSends {
public:
    explicit PendingSends(int limit);

    // Sends data to destination now when nothing waits before it and the
    // socket takes it, otherwise queues it; false, and the datagram lost,
    // when the queue already holds limit datagrams.
    bool send(SOCKET socket, const char* data, int length, const sockaddr_in& destination);

    // The process's queue for the user's own datagrams.
    static PendingSends& own();

private:
    PendingSends(const PendingSends&);
    PendingSends& operator=(const PendingSends&);

    struct Datagram {
        SOCKET socket;
        sockaddr_in destination;
        std::vector<char> data;
    };

    static UINT sendLoop(LPVOID parameter);
    void sendQueued();

    const size_t m_limit;
    std::mutex m_mutex;
    std::condition_variable m_queued;
    std::deque<Datagram> m_waiting;  // the front one is being sent
    bool m_threadStarted;
};
