#include "tests/net/driver/RecordingWindow.h"

#include "core/FileSystem.h"
#include "core/IpMessage.h"
#include "engine/WindowLinks.h"
#include "tests/net/driver/DriverLog.h"

namespace {

HWND recordingWindow = NULL;
CString holdIp;
CString releaseFile;
CString stopFile;
DWORD giveUpMilliseconds = 0;
int heldCount = 0;

void record(const char* kind, const IpMessage* message)
{
    LogLine(kind)
        .field("senderIp", message->senderIp)
        .field("version", message->version)
        .field("packetNo", message->packetNo)
        .field("user", message->user)
        .field("host", message->host)
        .field("command", message->command)
        .field("extra", message->extra)
        .field("group", message->group)
        .write();
}

void holdIfAsked(const IpMessage* message)
{
    if (holdIp.IsEmpty() || message->senderIp != holdIp)
        return;
    int number = ++heldCount;
    CString release;
    release.Format("%s.%d", (const char*)releaseFile, number);
    LogLine("HOLD").field("n", number).field("packetNo", message->packetNo).write();
    DWORD start = GetTickCount();
    while (!isFileExists(release) && !isFileExists(stopFile) && GetTickCount() - start < giveUpMilliseconds)
        Sleep(20);
    LogLine("RELEASE").field("n", number).field("packetNo", message->packetNo).write();
}

const char* downloadKind(UINT message)
{
    switch (message) {
    case WM_USER_RECEIVE_START:
        return "RECEIVE_START";
    case WM_USER_RECEIVE_PROGRESS:
        return "RECEIVE_PROGRESS";
    case WM_USER_RECEIVE_FINISH:
        return "RECEIVE_FINISH";
    case WM_USER_RECEIVE_ERROR:
        return "RECEIVE_ERROR";
    default:
        return NULL;
    }
}

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const char* kind = downloadKind(message)) {
        CString* text = (CString*)lParam;
        LogLine(kind).field("text", *text).write();
        if (message != WM_USER_RECEIVE_START)
            delete text;  // the start's parameter stays the download's
        return 0;
    }
    if (message == WM_SHOWWINDOW && wParam) {
        LogLine("SHOWN").write();
        return 0;
    }
    if (message == WM_USER_REMOVE_BUDDY) {
        record("REMOVE_BUDDY", (const IpMessage*)lParam);
        return 0;
    }
    if (message == WM_USER_ADD_BUDDY || message == WM_USER_RECEIVE_MESSAGE) {
        const IpMessage* received = (const IpMessage*)lParam;
        record(message == WM_USER_ADD_BUDDY ? "ADD_BUDDY" : "RECEIVE_MESSAGE", received);
        holdIfAsked(received);
        return message == WM_USER_RECEIVE_MESSAGE ? CHAT_TEXT_TAKEN : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND receiveProgressWindow()
{
    return recordingWindow;
}

HWND buddyListWindow()
{
    return recordingWindow;
}

HWND peerSharesWindow()
{
    return NULL;
}

BOOL createRecordingWindow()
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = recordingProcedure;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "ZQNetDriverBuddyList";
    if (!RegisterClassA(&windowClass))
        return FALSE;
    recordingWindow =
        CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, windowClass.hInstance, NULL);
    return recordingWindow != NULL;
}

void holdMessagesFrom(const CString& ip, const CString& release, const CString& stop, DWORD giveUp)
{
    holdIp = ip;
    releaseFile = release;
    stopFile = stop;
    giveUpMilliseconds = giveUp;
}
