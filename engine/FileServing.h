#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

// The serving side of a file transfer: the steps of one serving thread.

// Reads one file request from the connection s and answers it with the file's
// bytes or the folder stream of what shareIdMap holds under the request's key,
// then closes s. An item offered to other addresses (shareRecipients) is not
// served to this peer. A request that cannot be served gets no answer and the
// peer may send another, until requestTimeoutMs after the start: then s is
// closed, whatever the peer sent meanwhile. A send that moves nothing for
// sendTimeoutMs is given up.
void serveConnection(SOCKET s, DWORD requestTimeoutMs, DWORD sendTimeoutMs);

// Sends the file's content from offset (read as an unsigned 32-bit position)
// to its end. FALSE when the file cannot be opened or the connection fails.
// The socket stays open.
BOOL sendFileData(SOCKET s, CString path, int offset);

// Sends the folder stream of the folder at path, announced as name. FALSE
// when the connection fails. The socket stays open.
BOOL sendFolderByTcp(SOCKET s, CString name, CString path);
