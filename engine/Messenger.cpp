#include "engine/Messenger.h"

#include "classlib/Prompts.h"
#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/Settings.h"
#include "engine/MessageReceiverThread.h"

namespace {

const char PORT_BUSY_TEXT[] =
    "错误：UDP端口被其它程序占用!\r\n"
    "您可能已经开启了飞鸽（IPMsg）、飞秋（FeiQ）或ZQ。\r\n"
    "如果要开启新程序，请先关闭原程序。";
const char AUTO_START_QUESTION[] = "是否在开机时自动启动ZQ？";
const char AUTO_START_CAPTION[] = "ZQ 开机启动设置";

// No settings file yet means this is the first run: the host name becomes
// the user name, and the user decides once about starting with Windows.
void settleFirstRun()
{
    CString directory = CUtils::getSystemDirectory();
    directory.Trim();
    if (directory.IsEmpty() || hasSettingsFile())
        return;

    CString hostName = CUtils::getHostName();
    {
        SharedStateLock lock;
        userName = hostName;
    }
    int answer = promptMessageBox(NULL, AUTO_START_QUESTION, AUTO_START_CAPTION, MB_YESNO);
    isAutoStart = answer == IDYES ? TRUE : FALSE;
    saveConfig();
}

}  // namespace

int initMessenger()
{
    loadConfig();

    WSADATA details;
    WSAStartup(MAKEWORD(1, 1), &details);

    // Port 2425 taken almost always means another messenger runs here. We
    // never announced ourselves, so we say no goodbye either: an exit with
    // the same user, host and address would sign the running copy off.
    if (!createUdpSocket() || !createTcpSocket()) {
        AfxMessageBox(PORT_BUSY_TEXT, MB_OK);
        WSACleanup();
        PostQuitMessage(0);
        return -1;
    }

    settleFirstRun();
    return 1;
}

int startMessenger()
{
    // Our entry is the first datagram we send; answers wait in the socket
    // until the receive thread runs.
    sendBrEntry();
    CUtils::requestShareLists();
    MessageReceiverThread* receiver = new MessageReceiverThread;   // lives for the whole run
    receiver->start();
    return 0;
}

void stopMessenger()
{
    sendBrExit();
    WSACleanup();
}
