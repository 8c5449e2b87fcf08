// The CUtils operations that ask the platform: names, folders, local time,
// and the share-list request and reply datagrams.

#include "core/CUtils.h"

#include "core/Globals.h"
#include "core/IpmsgProtocol.h"
#include "core/UdpPacketSender.h"

#include <ctime>

namespace {

const int HOST_NAME_BUFFER = 80;
const int USER_NAME_BUFFER = 80;
const int PATH_BUFFER = 260;
const int TIME_BUFFER = 128;

}  // namespace

CString CUtils::getHostName()
{
    char name[HOST_NAME_BUFFER] = {0};
    if (gethostname(name, sizeof(name)) != 0) {
        return CString();
    }
    name[sizeof(name) - 1] = '\0';
    return CString(name);
}

CString CUtils::getLoginUserName()
{
    char name[USER_NAME_BUFFER] = {0};
    DWORD size = sizeof(name);
    if (!GetUserNameA(name, &size)) {
        return CString();
    }
    name[sizeof(name) - 1] = '\0';
    return CString(name);
}

CString CUtils::getSystemDirectory()
{
    char path[PATH_BUFFER] = {0};
    UINT length = GetSystemDirectoryA(path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) {
        return CString();
    }
    return CString(path, (int)length);
}

CString CUtils::getExeDirectory()
{
    char path[PATH_BUFFER] = {0};
    DWORD length = GetModuleFileNameA(NULL, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) {
        return CString();
    }
    CString fullPath(path, (int)length);
    int lastSlash = fullPath.ReverseFind('\\');
    if (lastSlash < 0) {
        return CString();
    }
    return fullPath.Left(lastSlash);
}

CString CUtils::getCurrentTime(CString format)
{
    time_t now = time(NULL);
    struct tm local;
    if (localtime_s(&local, &now) != 0) {
        return CString();
    }
    char text[TIME_BUFFER] = {0};
    size_t length = strftime(text, sizeof(text), format, &local);
    if (length == 0) {
        return CString();
    }
    return CString(text, (int)length);
}

// The share-folder commands are plain "key=value&key=value" text behind the
// marker "ZQMSG=ZQMSG", sent without a closing NUL.

int CUtils::requestShareLists()
{
    CString request = "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST";
    UdpPacketSender::broadcast(udpSocket, request, request.GetLength(), IPMSG_PORT);
    return 1;
}

int CUtils::sendShareListReply(CString ip, CString list)
{
    CString reply = "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE=" + list;
    UdpPacketSender::sendReply(udpSocket, reply, reply.GetLength(), ip, IPMSG_PORT);
    return 1;
}
