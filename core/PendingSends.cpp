#include "core/PendingSends.h"

#include "classlib/Thread.h"

namespace {

// How long the sending thread waits for the socket to become writable before
// it tries again anyway (select may miss a buffer that frees only a little).
const long WRITABLE_WAIT_US = 100000;

// Up to 1,024 datagrams of at most 2 KB: a text to a group of that many
// peers, or many texts, while the send buffer is held.
const int OWN_DATAGRAMS_WAITING = 1024;

// 0 when sent, otherwise the socket's error.
int trySend(SOCKET socket, const std::vector<char>& data, const sockaddr_in& destination)
{
    int sent = sendto(socket, data.empty() ? "" : &data[0], (int)data.size(), 0, (const sockaddr*)&destination,
                      sizeof destination);
    return sent == SOCKET_ERROR ? WSAGetLastError() : 0;
}

void waitWritable(SOCKET socket)
{
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(socket, &writable);
    timeval wait = {0, WRITABLE_WAIT_US};
    if (select(0, NULL, &writable, NULL, &wait) == SOCKET_ERROR)
        Sleep(WRITABLE_WAIT_US / 1000);
}

}  // namespace

PendingSends::PendingSends(int limit)
    : m_limit((size_t)limit),
      m_threadStarted(false)
{
}

PendingSends& PendingSends::own()
{
    // Made on first use and never destroyed: its thread may still run while
    // the process ends.
    static PendingSends* queue = new PendingSends(OWN_DATAGRAMS_WAITING);
    return *queue;
}

bool PendingSends::send(SOCKET socket, const char* data, int length, const sockaddr_in& destination)
{
    if (length < 0)
        return false;
    Datagram datagram;
    datagram.socket = socket;
    datagram.destination = destination;
    datagram.data.assign(data, data + length);

    bool behindOthers;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        behindOthers = !m_waiting.empty();
    }
    // Behind others it waits its turn, or it would overtake them.
    if (!behindOthers && trySend(socket, datagram.data, destination) != WSAEWOULDBLOCK)
        return true;

    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_waiting.size() >= m_limit)
        return false;
    m_waiting.push_back(datagram);
    if (!m_threadStarted)
        m_threadStarted = AfxBeginThread(sendLoop, this) != NULL;
    m_queued.notify_one();
    return true;
}

UINT PendingSends::sendLoop(LPVOID parameter)
{
    ((PendingSends*)parameter)->sendQueued();
    return 0;
}

void PendingSends::sendQueued()
{
    for (;;) {
        Datagram front;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_queued.wait(lock, [this] { return !m_waiting.empty(); });
            front = m_waiting.front();
        }
        // Any other error will not pass by waiting: the datagram is dropped
        // as a blocking send would have lost it.
        if (trySend(front.socket, front.data, front.destination) == WSAEWOULDBLOCK) {
            waitWritable(front.socket);
            continue;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.pop_front();
    }
}
