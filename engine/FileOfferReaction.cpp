#include "engine/IpMessageProcessor.h"

void IpMessageProcessor::takeFileAttachMessage(const char*, int, IpMessage*, CString, CString)
{
    // File offers are recognised but not taken yet.
}
