#include "core/UdpPacket.h"

#include "core/IpmsgProtocol.h"

UdpPacket::UdpPacket()
    : port(0),
      data(new char[UDP_BUFFER_SIZE]()),
      length(0)
{
}

UdpPacket::~UdpPacket()
{
    delete[] data;
}
