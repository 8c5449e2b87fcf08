#pragma once

#include "classlib/CFile.h"
#include "classlib/Types.h"

#include <string>
#include <vector>

// Moving file content to a socket in blocks, never holding more than a few
// blocks of it in memory.

const int FILE_BLOCK_SIZE = 32768;
const int BLOCKS_PER_SEND = 8;

// How a file is opened for serving: read-only, and others may read, write,
// rename or delete it meanwhile (files in use by other programs can be
// served). With CFile::OpenLong and a path made by longPathW.
const UINT SERVED_FILE_FLAGS = CFile::modeRead | CFile::shareDenyNone | CFile::osSequentialScan;

// The blocks on their way to one connection. Every block is read on its
// own, and up to BLOCKS_PER_SEND of them leave with one gathering send: each
// call into the sockets layer has a fixed cost that, paid per 32 KiB block,
// would cap the rate far below what the link carries. One heap area per
// connection holds the blocks.
class BlockSender {
public:
    explicit BlockSender(SOCKET s);

    // The free block to fill next, FILE_BLOCK_SIZE bytes.
    char* freeBlock();
    // Queues the first length bytes of the block from freeBlock(); sends the
    // queue when it is full. FALSE once the connection has failed.
    BOOL queueBlock(UINT length);
    // Queues a copy of text.
    BOOL queueText(const char* text, int length);
    // Sends what is queued. FALSE once the connection has failed.
    BOOL flush();

private:
    SOCKET m_socket;
    std::vector<char> m_area;
    WSABUF m_queued[BLOCKS_PER_SEND];
    int m_count;
    bool m_failed;
};

// Queues the file from its current position to its end; FALSE when the
// connection fails (a read error just ends the data).
BOOL sendToEnd(BlockSender& sender, CFile& file);

// Queues exactly count bytes from the file's current position. A file that
// ends early (it shrank, or a read failed) is made up with zero bytes, and a
// longer one is cut at count, so that a reader counting the announced bytes
// stays in step. FALSE when the connection fails.
BOOL sendExactly(BlockSender& sender, CFile& file, ULONGLONG count);
