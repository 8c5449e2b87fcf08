#include "engine/MessageReceiverThread.h"

#include "classlib/Thread.h"

MessageReceiverThread::~MessageReceiverThread()
{
}

void MessageReceiverThread::start()
{
    AfxBeginThread(receiveUdpLoop, NULL);
    AfxBeginThread(acceptTcpLoop, NULL);
}
