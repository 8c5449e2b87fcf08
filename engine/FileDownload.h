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

// The full-width colon (code page 936 bytes A3 BA).
const char* const FULL_WIDTH_COLON = "\xA3\xBA";

// Starts receiveTcpData for the parameter, which it then owns.
void startReceiveThread(CString* parameter);

// The thread procedure; reports to receiveProgressWindow(). Returns 0.
UINT receiveTcpData(LPVOID parameter);

// A peer that stays silent this long while a download waits for data ends
// the download in the error state (five minutes; tests make it shorter).
const DWORD DEFAULT_DOWNLOAD_IDLE_TIMEOUT_MS = 5 * 60 * 1000;
void setDownloadIdleTimeout(DWORD milliseconds);

// The receive buffer asked for on each download connection; 0 leaves the
// system's own, which grows with the link. A fixed 32 KiB buffer holds a
// download to a fraction of what a fast link carries, so none is asked for.
const int DEFAULT_DOWNLOAD_RECEIVE_BUFFER = 0;
void setDownloadReceiveBuffer(int bytes);
