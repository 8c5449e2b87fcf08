#pragma once

#include "classlib/CMapStringToOb.h"
#include "classlib/CMapStringToString.h"
#include "classlib/CString.h"
#include "classlib/CStringArray.h"
#include "classlib/Types.h"

// Process-wide state. It lives from before start-up until the process ends.

extern CMapStringToOb userMap;  // peer IP -> User* (the map owns the records)
extern CMapStringToOb chatDialogMap;  // peer IP -> CChartDlg* (user-interface thread only)
extern CMapStringToString shareIdMap;  // "%d-%d" of packet number and file id -> local path
// Who may fetch an offered item: the key of shareIdMap -> ",ip,ip," of the
// dotted addresses it was offered to. A key without an entry here (a shared
// folder, whose list every peer may ask for) is served to every peer.
extern CMapStringToString shareRecipients;
// The share entries "firstId:secondId:name:size" that a share-list reply
// offers, in the own page's row order; the own page keeps them in step.
extern CStringArray ownShareEntries;

// Settings, loaded by loadConfig and stored by saveConfig.
extern CString userName;  // own nickname
extern CString userGroupName;  // own work-group path, levels joined by "-"
extern CString shareFolders;  // own shared folders joined by ","
extern CString screenImageSavePath;  // folder of screen captures below the program's folder
extern BOOL isAutoStart;
extern BOOL isOpenPrintScreen;

// Empties userMap and deletes its User records, under the shared-state lock.
void removeAllUsers();
// Copies the nickname of the peer at ip under the shared-state lock; FALSE,
// with nickname left alone, when userMap knows no such peer.
BOOL lookUpNickname(const CString& ip, CString* nickname);

// The next packet number of this process: 1, 2, 3, ... Safe on every thread;
// no two calls ever return the same number.
int nextPacketNo();

// Guard of the state that more than one thread touches: userMap, shareIdMap,
// shareRecipients, ownShareEntries, userName and userGroupName. The
// user-interface thread writes them; the UDP receive thread reads userMap and
// ownShareEntries and trims the two names when it answers an entry; the TCP
// serving threads read shareIdMap and shareRecipients.
//
// Rules:
//   - Take it with a local guard object around the few lines that read or
//     write those globals, e.g.
//         CString name;
//         { SharedStateLock lock; name = userName; }
//   - Never hold it across SendMessage/PostMessage to a window, a modal box,
//     a socket call or file I/O: the user-interface thread may be waiting for
//     it, and the receive thread is blocked inside SendMessage on that window.
//   - Copy what you need (a User's nickname, a path) under the lock and use
//     the copy after releasing it; never keep a User* past the guarded lines,
//     a refresh may delete it.
//   - The lock is recursive, so a guarded block may call a helper that
//     takes it again on the same thread.
class SharedStateLock {
public:
    SharedStateLock();
    ~SharedStateLock();

private:
    SharedStateLock(const SharedStateLock&);
    SharedStateLock& operator=(const SharedStateLock&);
};

// The two sockets of the process, both bound to port 2425 on every local
// address once the messenger has started. Every datagram we send leaves
// through udpSocket; the UDP receive thread reads from it. The TCP accept
// thread listens on tcpSocket.
extern SOCKET udpSocket;
extern SOCKET tcpSocket;
