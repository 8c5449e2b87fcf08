#pragma once

#include "classlib/CFile.h"
#include "classlib/Types.h"

#include <string>

// Moving file content to a socket in blocks, never holding more than one
// block of it in memory.

const int kFileBlockSize = 32768;

// A file opened for serving: read-only, and others may read, write, rename
// or delete it meanwhile (files in use by other programs can be served).
class ServedFile : public CFile {
public:
    // longPath as made by longPathW. FALSE when it cannot be opened.
    BOOL openForServing(const std::wstring& longPath);
};

// Sends all length bytes; FALSE when the connection fails.
BOOL sendAll(SOCKET s, const char* data, int length);

// Sends the file from its current position to its end, block by block;
// FALSE when the connection fails (a read error just ends the data).
BOOL sendToEnd(SOCKET s, CFile& file, char* block);

// Sends exactly count bytes from the file's current position. A file that
// ends early (it shrank, or a read failed) is made up with zero bytes, and a
// longer one is cut at count, so that a reader counting the announced bytes
// stays in step. FALSE when the connection fails.
BOOL sendExactly(SOCKET s, CFile& file, ULONGLONG count, char* block);
