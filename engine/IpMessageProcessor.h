#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

class IpMessage;

// Decides what one received IPMSG datagram is and reacts to it, on the UDP
// receive thread. Kinds, tried in this order (mode = low byte of the command
// word, options = the rest, compared exactly):
//   chat text   mode 0x20, options 0, 0x100 or 0x100300
//   entry       mode 1, any options
//   answer      mode 3, any options
//   exit        mode 2, any options
//   file offer  mode 0x20, options 0x200000 or 0x200100
// Everything else is ignored without an answer.
class IpMessageProcessor {
public:
    virtual ~IpMessageProcessor();

    // data: the length received bytes followed by a NUL; ip, port: the
    // sender's address texts. Every answer goes to ip, port 2425. Returns 0.
    int process(const char* data, int length, CString ip, CString port);

    BOOL isTextMessage(const char* data, int length, CString ip, CString port);
    BOOL isBrEntry(const char* data, int length, CString ip, CString port);
    BOOL isAnsEntry(const char* data, int length, CString ip, CString port);
    BOOL isBrExit(const char* data, int length, CString ip, CString port);
    BOOL isFileAttachMessage(const char* data, int length, CString ip, CString port);

private:
    // Each reaction fills message (which carries the sender's IP) from the
    // datagram; the buddy-list window only borrows it during SendMessage.
    void takeTextMessage(const char* data, int length, IpMessage* message, CString ip);
    void takeBrEntry(const char* data, int length, IpMessage* message, CString ip);
    void takeAnsEntry(const char* data, int length, IpMessage* message);
    void takeBrExit(IpMessage* message);
    void takeFileAttachMessage(const char* data, int length, IpMessage* message, CString ip, CString port);
};
