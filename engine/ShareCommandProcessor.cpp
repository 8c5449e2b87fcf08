#include "engine/ShareCommandProcessor.h"

#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/ShareListReply.h"
#include "engine/WindowLinks.h"

BOOL ShareCommandProcessor::isShareListRequest(const char* data, int length, CString, CString)
{
    return ShareListReply::hasCommand(data, length, "GET_SHARE_FLODER_LIST");
}

BOOL ShareCommandProcessor::isShareListReply(const char* data, int length, CString, CString)
{
    return ShareListReply::hasCommand(data, length, "GET_SHARE_FLODER_LIST_REPLY");
}

int ShareCommandProcessor::handleShareCommand(const char* data, int length, CString ip, CString port)
{
    if (isShareListRequest(data, length, ip, port))
        answerRequest(ip);
    else if (isShareListReply(data, length, ip, port))
        takeReply(data, length, ip);
    return 0;
}

void ShareCommandProcessor::answerRequest(CString ip)
{
    // Every request is answered, an empty list included.
    CStringArray entries;
    {
        SharedStateLock lock;
        for (INT_PTR i = 0; i < ownShareEntries.GetSize(); ++i)
            entries.Add(ownShareEntries[i]);
    }
    CUtils::sendShareListReply(ip, ShareListReply::joinWithinOneDatagram(entries));
}

void ShareCommandProcessor::takeReply(const char* data, int length, CString ip)
{
    ShareListReply reply;
    reply.read(data, length);
    if (reply.entries.IsEmpty() && reply.malformedPieces == 0)
        return;
    reply.ip = ip;
    lookUpNickname(ip, &reply.userName);
    // The page copies what it keeps before the call returns.
    HWND page = peerSharesWindow();
    if (page != NULL)
        SendMessageA(page, WM_USER_ADD_SHARE_ITEMS, 0, (LPARAM)&reply);
}
