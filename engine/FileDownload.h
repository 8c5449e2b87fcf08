#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

#include <vector>

// The receiving side of a file transfer: the offered files and folders that
// the user accepted, and the shared folders the user downloads.

// One file or folder to fetch, read once from the offer (or the share list)
// that the user was shown.
struct DownloadItem {
    CString packetNo;  // of the offer; for a share, the first number of its entry
    CString ip;
    CString port;  // carried to the progress window, never used: always 2425
    CString fileId;  // for a share, the second number of its entry
    CString name;  // the name the user was shown, and the one written
    CString size;  // decimal
    CString attr;  // "1" a file, "2" a folder; anything else ends in the error state
};

// Downloads of one accepted offer (or one choice of shares) that run at once;
// the others follow in turn as these end. Every running download holds a
// connection, a thread and a 1 MiB receive buffer, and a few connections
// already keep a link busy while small files start and end.
const int MAX_DOWNLOADS_AT_ONCE = 3;

// Fetches the items into saveDir, exactly the folder the user picked; a
// folder arrives as saveDir\<its name>. Each item gets its row in the
// receive-progress window when it starts. A message box (a peer that cannot
// be reached, an entry of an unknown type, ...) is shown once for all the
// items, not once per item, and only after the item's row shows its end.
void startDownloads(const std::vector<DownloadItem>& items, const CString& saveDir);

// A peer that stays silent this long while a download waits for data ends
// the download in the error state (five minutes; tests make it shorter).
const DWORD DEFAULT_DOWNLOAD_IDLE_TIMEOUT_MS = 5 * 60 * 1000;
void setDownloadIdleTimeout(DWORD milliseconds);

// The receive buffer asked for on each download connection; 0 leaves the
// system's own, which grows with the link. A fixed 32 KiB buffer holds a
// download to a fraction of what a fast link carries, so none is asked for.
const int DEFAULT_DOWNLOAD_RECEIVE_BUFFER = 0;
void setDownloadReceiveBuffer(int bytes);
