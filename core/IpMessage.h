#pragma once

#include "classlib/CString.h"

class UdpPacket;

// One IPMSG datagram in memory. Its text is
//   version:packetNo:user:host:command:extra
// with the command word in decimal; the group is never written.
class IpMessage {
public:
    IpMessage();
    virtual ~IpMessage();

    CString version;
    CString packetNo;
    CString user;
    CString group;  // set only when reading an entry; never sent
    CString host;
    int command;  // mode in the low 8 bits, option bits above
    CString extra;
    CString senderIp;  // where a received datagram came from

    // The full datagram text.
    CString toString();
    // Copies the datagram text and a NUL into buffer (UDP_BUFFER_SIZE bytes)
    // and returns the bytes written before the NUL. A text longer than
    // UDP_BUFFER_SIZE - 1 bytes is cut, never inside a double-byte character.
    int writeTo(char* buffer);
    // The datagram length: exactly what writeTo writes before the NUL.
    int getLength();
    // Fills packet with destination and datagram bytes.
    void toUdpPacket(CString ip, int port, UdpPacket* packet);
};
