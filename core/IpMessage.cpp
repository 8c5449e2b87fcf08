#include "core/IpMessage.h"

#include "core/IpmsgProtocol.h"
#include "core/TextCut.h"
#include "core/UdpPacket.h"

#include <cstring>

namespace {

// What fits in a datagram buffer together with its closing NUL.
const int MAX_TEXT_LENGTH = UDP_BUFFER_SIZE - 1;

int sendableLength(const CString& text)
{
    return characterBoundaryLength(text, text.GetLength(), MAX_TEXT_LENGTH);
}

}  // namespace

IpMessage::IpMessage()
    : command(0)
{
}

IpMessage::~IpMessage()
{
}

CString IpMessage::toString()
{
    CString commandText;
    commandText.Format("%d", command);
    return version + ":" + packetNo + ":" + user + ":" + host + ":" + commandText + ":" + extra;
}

int IpMessage::writeTo(char* buffer)
{
    CString text = toString();
    int length = sendableLength(text);
    memcpy(buffer, (const char*)text, length);
    buffer[length] = '\0';
    return length;
}

int IpMessage::getLength()
{
    return sendableLength(toString());
}

void IpMessage::toUdpPacket(CString ip, int port, UdpPacket* packet)
{
    packet->ip = ip;
    packet->port = port;
    packet->length = writeTo(packet->data);
}
