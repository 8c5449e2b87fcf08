#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

class UdpPacket;

// The low-level datagram senders. None keeps state; each sends one datagram
// and ignores the result. A destination that is not a dotted IPv4 address
// gets nothing: no text can turn a unicast into a broadcast by accident.
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

    // The destination for a unicast to ip; FALSE when ip is not a dotted
    // IPv4 address (inet_addr gives INADDR_NONE, which is also the answer
    // for 255.255.255.255: only broadcast may send there).
    static BOOL destinationOf(CString ip, int port, sockaddr_in* destination);
};
