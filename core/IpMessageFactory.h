#pragma once

#include "classlib/CString.h"

class IpMessage;

// Builds the datagrams we send with our own header: version "1-1-ZQ", a
// fresh packet number, the login name and the host name. Every operation
// returns a new message owned by the caller.
class IpMessageFactory {
public:
    IpMessageFactory();
    virtual ~IpMessageFactory();

    IpMessage* createBrEntryMessage();
    IpMessage* createAnsEntryMessage();
    IpMessage* createBrExitMessage();
    IpMessage* createSendMessage(CString text);
    IpMessage* createRecvMessage(CString packetNo);
};
