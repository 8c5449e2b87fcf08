#include "engine/FileBlocks.h"

#include <cstring>

BlockSender::BlockSender(SOCKET s)
    : m_socket(s),
      m_area((size_t)FILE_BLOCK_SIZE * BLOCKS_PER_SEND),
      m_count(0),
      m_failed(false)
{
}

char* BlockSender::freeBlock()
{
    return &m_area[(size_t)m_count * FILE_BLOCK_SIZE];
}

BOOL BlockSender::queueBlock(UINT length)
{
    if (m_failed)
        return FALSE;
    if (length == 0)
        return TRUE;
    m_queued[m_count].buf = freeBlock();
    m_queued[m_count].len = length;
    ++m_count;
    return m_count == BLOCKS_PER_SEND ? flush() : TRUE;
}

BOOL BlockSender::queueText(const char* text, int length)
{
    while (length > 0) {
        UINT part = length < FILE_BLOCK_SIZE ? (UINT)length : (UINT)FILE_BLOCK_SIZE;
        memcpy(freeBlock(), text, part);
        if (!queueBlock(part))
            return FALSE;
        text += part;
        length -= (int)part;
    }
    return m_failed ? FALSE : TRUE;
}

BOOL BlockSender::flush()
{
    int first = 0;
    while (!m_failed && first < m_count) {
        DWORD sent = 0;
        if (WSASend(m_socket, &m_queued[first], (DWORD)(m_count - first), &sent, 0, NULL, NULL) != 0 || sent == 0) {
            m_failed = true;
            break;
        }
        // A blocking socket normally takes everything; step over what it took.
        while (sent > 0 && first < m_count) {
            if (sent >= m_queued[first].len) {
                sent -= m_queued[first].len;
                ++first;
            } else {
                m_queued[first].buf += sent;
                m_queued[first].len -= sent;
                sent = 0;
            }
        }
    }
    m_count = 0;
    return m_failed ? FALSE : TRUE;
}

BOOL sendToEnd(BlockSender& sender, CFile& file)
{
    for (;;) {
        UINT read = file.Read(sender.freeBlock(), FILE_BLOCK_SIZE);
        if (read == 0)
            return TRUE;
        if (!sender.queueBlock(read))
            return FALSE;
    }
}

BOOL sendExactly(BlockSender& sender, CFile& file, ULONGLONG count)
{
    bool fileEnded = false;
    while (count > 0) {
        UINT wanted = count < (ULONGLONG)FILE_BLOCK_SIZE ? (UINT)count : (UINT)FILE_BLOCK_SIZE;
        char* block = sender.freeBlock();
        UINT read = fileEnded ? 0 : file.Read(block, wanted);
        if (read == 0) {
            fileEnded = true;
            memset(block, 0, wanted);
            read = wanted;
        }
        if (!sender.queueBlock(read))
            return FALSE;
        count -= read;
    }
    return TRUE;
}
