#include "engine/IpMessageProcessor.h"

#include "core/IpMessage.h"

IpMessageProcessor::~IpMessageProcessor()
{
}

int IpMessageProcessor::process(const char* data, int length, CString ip, CString port)
{
    IpMessage* message = new IpMessage;
    message->senderIp = ip;

    if (isTextMessage(data, length, ip, port))
        takeTextMessage(data, length, message, ip);
    else if (isBrEntry(data, length, ip, port))
        takeBrEntry(data, length, message, ip);
    else if (isAnsEntry(data, length, ip, port))
        takeAnsEntry(data, length, message);
    else if (isFileAttachMessage(data, length, ip, port))
        takeFileAttachMessage(data, length, message, ip, port);

    delete message;
    return 0;
}
