#include "engine/FileDownload.h"

// Downloads are not received yet: the parameter is only released.
void startReceiveThread(CString* parameter)
{
    delete parameter;
}

UINT receiveTcpData(LPVOID parameter)
{
    delete (CString*)parameter;
    return 0;
}
