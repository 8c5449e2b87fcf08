#include "core/CUtils.h"

#include "core/IpmsgProtocol.h"
#include "engine/Messenger.h"
#include "engine/UdpPacketSender.h"

// The share-folder commands are plain "key=value&key=value" text behind the
// marker "ZQMSG=ZQMSG", sent without a closing NUL.

int CUtils::requestShareLists()
{
    CString request = "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST";
    UdpPacketSender::broadcast(udpSocket, request, request.GetLength(), IPMSG_PORT);
    return 1;
}

int CUtils::sendShareListReply(CString ip, CString list)
{
    CString reply = "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE=" + list;
    UdpPacketSender::sendTo(udpSocket, reply, reply.GetLength(), ip, IPMSG_PORT);
    return 1;
}
