#pragma once

#include "classlib/CString.h"

// One datagram ready to send: destination and the bytes.
class UdpPacket {
public:
    UdpPacket();
    virtual ~UdpPacket();

    CString ip;
    int port;
    char* data;  // UDP_BUFFER_SIZE bytes, owned; zero-filled when made
    int length;  // bytes of data to send

private:
    UdpPacket(const UdpPacket&);
    UdpPacket& operator=(const UdpPacket&);
};
