#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

// The receiving side of a file transfer: one download thread per offered file
// or folder, and per shared folder the user downloads.
//
// A download parameter is a heap CString of eight fields joined by ':':
//   packetNo:ip:port:fileId:name:size:attr:saveDir
// attr "1" is a file, "2" a folder; every ':' of saveDir is written as the
// full-width colon "：" and turned back by the download.

// Starts receiveTcpData for the parameter, which it then owns.
void startReceiveThread(CString* parameter);

// The thread procedure; reports to receiveProgressWindow(). Returns 0.
UINT receiveTcpData(LPVOID parameter);
