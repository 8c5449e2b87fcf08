#pragma once

#include "classlib/Types.h"

#include <functional>
#include <string>
#include <vector>

// The test program's udpSocket is bound to port 2425 on every address, so
// whatever our senders send to 127.0.0.1:2425 comes back to it. These
// helpers read it back.

// 127.0.0.1 at port (0: any free port).
sockaddr_in loopbackAddress(int port);

// Every datagram that reaches 127.0.0.1:2425 while action runs, in order.
// A marker datagram sent after the action closes the list, so "nothing was
// sent" is an empty list, not a time-out.
std::vector<std::string> datagramsSentDuring(const std::function<void()>& action);

// True when a datagram is waiting on udpSocket right now.
bool datagramWaiting();

// The ':'-separated header fields of a datagram and its extra (everything
// after the fifth ':'), like an IPMSG reader sees them.
struct WireFields {
    std::string version, packetNo, user, host, command, extra;
};
WireFields splitDatagram(const std::string& datagram);
