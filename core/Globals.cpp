#include "core/Globals.h"

#include "core/User.h"

#include <atomic>
#include <mutex>

CMapStringToOb userMap;
CMapStringToOb chatDialogMap;
CMapStringToString shareIdMap;
CMapStringToString shareRecipients;
CStringArray ownShareEntries;

CString userName;
CString userGroupName;
CString shareFolders;
CString screenImageSavePath("ZQScreenImages");
BOOL isAutoStart = FALSE;
BOOL isOpenPrintScreen = FALSE;

namespace {

// Constant-initialised, so it is ready before any static constructor runs.
std::atomic<int> packetCounter(0);

// Made on first use and never destroyed: threads still running while the
// process ends must not meet a destroyed mutex.
std::recursive_mutex& sharedStateMutex()
{
    static std::recursive_mutex* mutex = new std::recursive_mutex;
    return *mutex;
}

}  // namespace

int nextPacketNo()
{
    return ++packetCounter;
}

SharedStateLock::SharedStateLock()
{
    sharedStateMutex().lock();
}

SharedStateLock::~SharedStateLock()
{
    sharedStateMutex().unlock();
}

void removeAllUsers()
{
    SharedStateLock lock;
    POSITION position = userMap.GetStartPosition();
    while (position != NULL) {
        CString ip;
        CObject* user = NULL;
        userMap.GetNextAssoc(position, ip, user);
        delete user;
    }
    userMap.RemoveAll();
}

BOOL lookUpNickname(const CString& ip, CString* nickname)
{
    SharedStateLock lock;
    CObject* user = NULL;
    if (!userMap.Lookup(ip, user) || user == NULL)
        return FALSE;
    *nickname = static_cast<User*>(user)->nickname;
    return TRUE;
}

SOCKET udpSocket = INVALID_SOCKET;
SOCKET tcpSocket = INVALID_SOCKET;
