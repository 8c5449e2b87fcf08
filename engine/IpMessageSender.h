#pragma once

#include "classlib/CString.h"

class IpMessage;

// Sends our own header packets (entry, answer, exit) to port 2425. The
// message stays the caller's.
//
// Our factory writes an entry's nickname and group as "nick;group"; on the
// wire IPMSG wants "nick\0group". So after serialising, the last ';' that
// follows the last ':' becomes a NUL, and the datagram keeps its full length
// so the group travels behind the NUL.
class IpMessageSender {
public:
    virtual ~IpMessageSender();

    int broadcast(IpMessage* message);
    int sendTo(IpMessage* message, CString ip);
    // sendTo as a reply to what came from ip: within its reply budget
    // (UdpPacketSender::sendReply).
    int answer(IpMessage* message, CString ip);

    // The fix-up above, on the length bytes of text.
    static void separateNicknameFromGroup(char* text, int length);
};
