#include "shell/MainFrame.h"

#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/IpMessage.h"
#include "core/Settings.h"
#include "dialogs/SettingDlg.h"
#include "engine/Messenger.h"
#include "res/resource.h"
#include "shell/MsgWnd.h"
#include "shell/ShowMsgDlg.h"
#include "shell/UserListDlg.h"
#include "shell/VantlorApp.h"

#include <cstdio>

CUserListDlg* userListDlg = NULL;

namespace {

CString trayTip()
{
    CUtils utils;
    return utils.appName;
}

}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

CMainFrame::CMainFrame()
    : userList(NULL),
      normalIcon(NULL),
      newMessageIcon(NULL),
      openSettings(NULL)
{
}

CMainFrame::~CMainFrame()
{
}

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_USER_TRAY_NOTIFY, &CMainFrame::OnTrayNotification)
    ON_COMMAND(ID_AUTO_START, &CMainFrame::OnAutoStart)
    ON_UPDATE_COMMAND_UI(ID_AUTO_START, &CMainFrame::OnUpdateAutoStart)
    ON_COMMAND(ID_BUDDY_LIST, &CMainFrame::OnBuddyList)
    ON_COMMAND(ID_SYSTEM_SETTINGS, &CMainFrame::OnSystemSettings)
    ON_COMMAND(ID_TRAY_ABOUT, &CMainFrame::OnAbout)
    ON_COMMAND(ID_APP_EXIT, &CMainFrame::OnExit)
    ON_COMMAND(ID_TEST_NOTICE_MESSAGE, &CMainFrame::OnTestNoticeMessage)
    ON_COMMAND(ID_TEST_SHOW_MESSAGE, &CMainFrame::OnTestShowMessage)
    ON_COMMAND(ID_TEST_TRAY_NO_MESSAGE, &CMainFrame::OnTestTrayNoMessage)
    ON_COMMAND(ID_TEST_TRAY_HAS_MESSAGE, &CMainFrame::OnTestTrayHasMessage)
    ON_MESSAGE(WM_USER_NEW_MESSAGE_NOTICE, &CMainFrame::OnNewMessageNotice)
    ON_MESSAGE(WM_USER_RESTORE_TRAY_ICON, &CMainFrame::OnRestoreTrayIcon)
    ON_MESSAGE(WM_USER_EXIT, &CMainFrame::OnExitMessage)
END_MESSAGE_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs)) {
        return FALSE;
    }
    // Never seen: no caption, no task-bar button.
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    cs.style = WS_POPUP;
    return TRUE;
}

namespace {

BOOL applyBuddyListHotKey()
{
    return userListDlg == NULL || userListDlg->GetSafeHwnd() == NULL || userListDlg->applyPrintScreenHotKey();
}

void showBuddyListOwnName()
{
    if (userListDlg != NULL && userListDlg->GetSafeHwnd() != NULL)
        userListDlg->showOwnNameAndGroup();
}

void createBuddyListHiddenWindows()
{
    userListDlg->createHiddenWindows();
}

}  // namespace

int CMainFrame::OnCreate(LPCREATESTRUCT create)
{
    // The frame is never seen: no tool bar or status bar is made for it.
    if (CFrameWnd::OnCreate(create) == -1) {
        return -1;
    }

    normalIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_TRAY_NORMAL));
    newMessageIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_TRAY_NEW_MESSAGE));

    // The welcome balloon is still on: the first icon comes with it.
    trayIcon.setNotificationWnd(this, WM_USER_TRAY_NOTIFY);
    trayIcon.setIcon(normalIcon, trayTip());

    userList = new CUserListDlg;
    userList->Create(IDD_USER_LIST_DLG, this);
    userList->ModifyStyleEx(0, WS_EX_APPWINDOW);  // a task-bar button although its owner is hidden
    userList->ShowWindow(SW_SHOW);
    userListDlg = userList;
    CSettingDlg::applyHotKeySetting = applyBuddyListHotKey;
    CSettingDlg::showOwnNameAndGroup = showBuddyListOwnName;

    // The buddy list has just read the settings. It is all that must exist
    // before our entry goes out; the hidden windows follow the entry and come
    // before the first datagram is taken in.
    return startMessenger(createBuddyListHiddenWindows) != 0 ? -1 : 0;
}

void CMainFrame::OnDestroy()
{
    CFrameWnd::OnDestroy();
    if (userList != NULL) {
        delete userList;
        userList = NULL;
    }
}

void CMainFrame::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CFrameWnd::OnActivate(state, other, minimized);
}

LRESULT CMainFrame::OnTrayNotification(WPARAM wParam, LPARAM lParam)
{
    if (!trayIcon.onTrayNotification(wParam, lParam)) {
        return 0;
    }
    CMenu menu;
    if (!menu.LoadMenu(IDR_MAINFRAME)) {
        return 0;
    }
    if (lParam == WM_RBUTTONUP) {
        SetForegroundWindow();
        CPoint cursor;
        GetCursorPos(&cursor);
        CMenu* trayMenu = menu.GetSubMenu(ZQ_SUBMENU_TRAY);
        if (trayMenu != NULL) {
            // Tracked with the frame as owner, so the commands and the check
            // mark's update come to this window.
            trayMenu->TrackPopupMenu(0, cursor.x, cursor.y, this);
        }
    } else if (lParam == WM_LBUTTONDBLCLK) {
        showBuddyList();
    }
    menu.DestroyMenu();
    return 1;
}

void CMainFrame::showBuddyList()
{
    if (userListDlg != NULL) {
        userListDlg->ShowWindow(SW_SHOW);
        ::BringWindowToTop(userListDlg->GetSafeHwnd());
        ::SetForegroundWindow(userListDlg->GetSafeHwnd());
    }
    OnTestTrayNoMessage();
}

void CMainFrame::OnAutoStart()
{
    isAutoStart = !isAutoStart;
    saveConfig();
}

void CMainFrame::OnUpdateAutoStart(CCmdUI* command)
{
    command->SetCheck(isAutoStart ? 1 : 0);
}

void CMainFrame::OnBuddyList()
{
    if (userList != NULL) {
        userList->ShowWindow(SW_SHOW);
    }
}

void CMainFrame::OnSystemSettings()
{
    if (openSettings != NULL) {
        ::SetForegroundWindow(openSettings->GetSafeHwnd());
        return;
    }
    CSettingDlg dialog;
    openSettings = &dialog;
    dialog.DoModal();
    openSettings = NULL;
}

void CMainFrame::OnAbout()
{
    theApp.OnAppAbout();
}

// Closing the hidden frame from outside (a task manager, the end of a
// session) takes the one way out the program has: the exit broadcast, then
// the end of the process. Destroying the frame instead would delete the buddy
// list while the receive thread still hands messages to it.
void CMainFrame::OnClose()
{
    OnExit();
}

void CMainFrame::OnExit()
{
    if (userListDlg != NULL) {
        userListDlg->ShowWindow(SW_HIDE);
    }
    stopMessenger();
    trayIcon.removeIcon();
    PostQuitMessage(0);
    // The receive threads are still running and use the process's global
    // objects: end at once, without running the global destructors under
    // their feet.
    fflush(NULL);
    ExitProcess(0);
}

void CMainFrame::OnTestNoticeMessage()
{
    // The notice closes and deletes itself.
    CMsgWnd* notice = new CMsgWnd;
    if (notice->createPopup()) {
        notice->ShowWindow(SW_SHOW);
        notice->UpdateWindow();
    }
}

void CMainFrame::OnTestShowMessage()
{
    CShowMsgDlg dialog;
    dialog.DoModal();
}

void CMainFrame::OnTestTrayNoMessage()
{
    trayIcon.setBalloonEnabled(FALSE);
    trayIcon.setIcon(normalIcon, trayTip());
}

void CMainFrame::OnTestTrayHasMessage()
{
    trayIcon.setIcon(newMessageIcon, trayTip());
}

LRESULT CMainFrame::OnNewMessageNotice(WPARAM, LPARAM lParam)
{
    const IpMessage* message = reinterpret_cast<const IpMessage*>(lParam);
    trayIcon.setBalloonEnabled(TRUE);
    if (message != NULL) {
        trayIcon.setBalloon("新消息", message->user + ":\n" + message->extra, 1000);
    }
    trayIcon.setIcon(newMessageIcon, trayTip());
    return 0;
}

LRESULT CMainFrame::OnRestoreTrayIcon(WPARAM, LPARAM)
{
    OnTestTrayNoMessage();
    return 0;
}

LRESULT CMainFrame::OnExitMessage(WPARAM, LPARAM)
{
    OnExit();
    return 0;
}
