#pragma once

#include "classlib/CString.h"
#include "classlib/CStringArray.h"
#include "classlib/Types.h"

// The offering side of a file transfer.

// Offers the files and folders of paths to every address of ipList (joined
// by ","; blank pieces skipped) in one file-offer datagram carrying text, and
// records each offered item in shareIdMap before the datagram leaves, so that
// peers can ask for it from then on. Paths that no longer exist are left
// out, and so are the items from the first one that no longer fits the
// datagram on. Returns 0.
int sendFileAttachMessage(CString ipList, CString text, CStringArray* paths);

// Sends the file's content from offset (read as an unsigned 32-bit position)
// to its end. FALSE when the file cannot be opened or the connection fails.
// The socket stays open.
BOOL sendFileData(SOCKET s, CString path, int offset);

// Sends the folder stream of the folder at path, announced as name. FALSE
// when the connection fails. The socket stays open.
BOOL sendFolderByTcp(SOCKET s, CString name, CString path);
