#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

// Routes every received datagram: share-folder commands to the share
// handler, IPMSG packets to a fresh datagram processor, the rest nowhere.
class MessageDispatcher {
public:
    enum Route { shareCommandRoute, ipMessageRoute, droppedRoute };

    virtual ~MessageDispatcher();

    // data: the length received bytes followed by a NUL; ip and port: the
    // sender's address texts. Runs on the UDP receive thread.
    virtual void dispatch(const char* data, int length, CString ip, CString port);

    static Route routeOf(const char* data, int length);
    // The first 11 bytes are "ZQMSG=ZQMSG".
    static BOOL isShareCommand(const char* data, int length);
    // Five ':' in the text before its first NUL and within its first 300
    // bytes, and not one of the "zqMsgVersion=" datagrams.
    static BOOL isIpMessage(const char* data, int length);
};
