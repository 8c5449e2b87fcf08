#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

// Handles one share-folder command ("ZQMSG=ZQMSG&COMMAND=..."), received on
// the UDP receive thread. Keeps nothing between datagrams.
//
// A request is answered with the own shares (ownShareEntries) in one reply
// datagram. A reply's entries go to the peers' page of the shared-folder
// browser (peerSharesWindow()) in one synchronous WM_USER_ADD_SHARE_ITEMS;
// the page, on the user-interface thread, tells the user of malformed pieces.
// Nothing here ever shows a box.
class ShareCommandProcessor {
public:
    // data: the datagram followed by a NUL; ip, port: its sender. Returns 0.
    int handleShareCommand(const char* data, int length, CString ip, CString port);

    // A share command whose "COMMAND" is exactly "GET_SHARE_FLODER_LIST".
    BOOL isShareListRequest(const char* data, int length, CString ip, CString port);
    // A share command whose "COMMAND" is exactly "GET_SHARE_FLODER_LIST_REPLY".
    BOOL isShareListReply(const char* data, int length, CString ip, CString port);

private:
    void answerRequest(CString ip);
    void takeReply(const char* data, int length, CString ip);
};
