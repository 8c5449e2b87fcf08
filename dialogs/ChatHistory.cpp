#include "dialogs/ChatHistory.h"

#include "core/CUtils.h"
#include "core/Globals.h"

CString historyEntry(const CString& sender, const CString& time, const CString& text)
{
    return sender + " " + time + "：\r\n" + text;
}

void appendHistoryEntry(CString& history, const CString& entry)
{
    if (!history.IsEmpty()) {
        history += "\r\n";
    }
    history += entry;
}

CString historyEntryNow(const CString& sender, const CString& text)
{
    return historyEntry(sender, CUtils::getCurrentTime("%H:%M:%S"), text);
}

CString ownSenderName()
{
    CString name;
    {
        SharedStateLock lock;
        name = userName;
    }
    return name.IsEmpty() ? CUtils::getLoginUserName() : name;
}
