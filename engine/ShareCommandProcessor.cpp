#include "engine/ShareCommandProcessor.h"

int ShareCommandProcessor::handleShareCommand(const char* data, int length, CString ip, CString port)
{
    // Requests and replies are not answered yet.
    (void)data;
    (void)length;
    (void)ip;
    (void)port;
    return 0;
}
