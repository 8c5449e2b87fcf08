#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

#include <vector>

class UdpPacket;

// The low-level datagram senders. Each sends one datagram and ignores the
// result. A destination that is not a dotted IPv4 address gets nothing: no
// text can turn a unicast into a broadcast by accident.
//
// The socket is non-blocking, so no send ever waits: a datagram to an address
// whose lookup is pending holds the socket's send buffer for seconds, and a
// thread that waited there would read and answer nothing meanwhile. What the
// socket cannot take at once is dropped, except the user's own datagrams
// (sendOwnToEach), which wait their turn in PendingSends.
class UdpPacketSender {
public:
    virtual ~UdpPacketSender();

    // To 255.255.255.255; switches SO_BROADCAST on first.
    static int broadcast(SOCKET socket, const char* data, int length, int port);
    static int sendTo(SOCKET socket, const char* data, int length, CString ip, int port);
    // The same bytes to every address of ipList (joined by ","); each piece
    // is trimmed of blanks, and blank pieces are skipped.
    static int sendToEach(SOCKET socket, const char* data, int length, CString ipList, int port);
    static int sendPacket(SOCKET socket, const UdpPacket& packet);
    // The text's bytes, without the closing NUL.
    static int sendString(SOCKET socket, CString data, CString ip, int port);
    // The user's own datagram (a text, an offer) to every address of
    // ipList as sendToEach reads it; queued where the socket cannot take it.
    static int sendOwnToEach(SOCKET socket, const char* data, int length, CString ipList, int port);
    // A reply to what arrived from ip (an answer, a share list, a receipt),
    // sent only within the address's budget (REPLY_BURST, REPLIES_PER_SECOND).
    static int sendReply(SOCKET socket, const char* data, int length, CString ip, int port);
    static int sendReplyPacket(SOCKET socket, const UdpPacket& packet);

    // Replies that one address may have at once, and per second after. A
    // person needs a few (an answer, a share list, a receipt per text);
    // clients and scripts on a busy network reach about a hundred a second.
    // Past that an address, forged or not, only makes us send for it: a
    // share list of 2 KB for a request of 40 bytes. The kernel holds at most
    // about 200 KB for one address whose lookup is pending, so no burst of
    // one address fills the send buffer. 1,024 addresses are remembered, the
    // kernel's default number of neighbours: a flood from more addresses than
    // that gets its answers dropped by address resolution anyway.
    static const int REPLY_BURST = 256;
    static const int REPLIES_PER_SECOND = 256;
    static const int REPLY_ADDRESSES = 1024;

    // The destination for a unicast to ip; FALSE when ip is not a dotted
    // IPv4 address (inet_addr gives INADDR_NONE, which is also the answer
    // for 255.255.255.255: only broadcast may send there).
    static BOOL destinationOf(CString ip, int port, sockaddr_in* destination);
    // The destinations of IPs joined by ',': blanks and bad addresses left out.
    static std::vector<sockaddr_in> destinationsOf(CString ipList, int port);
};
