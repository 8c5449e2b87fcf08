#pragma once

#include "classlib/CString.h"

// Handles one share-folder command ("ZQMSG=ZQMSG&COMMAND=..."), received on
// the UDP receive thread. Keeps nothing between datagrams.
class ShareCommandProcessor {
public:
    // data: the datagram followed by a NUL; ip, port: its sender. Returns 0.
    int handleShareCommand(const char* data, int length, CString ip, CString port);
};
