#pragma once

#include "classlib/AfxWin.h"
#include "shell/TrayIcon.h"

// Messages the main frame takes from the tray icon and the other windows.
const UINT WM_USER_TRAY_NOTIFY = WM_USER + 1;  // the tray icon's callback message
const UINT WM_USER_NEW_MESSAGE_NOTICE = WM_USER + 101;
const UINT WM_USER_RESTORE_TRAY_ICON = WM_USER + 102;
const UINT WM_USER_EXIT = WM_USER + 106;  // ends the program as the tray menu's Exit does

class CSettingDlg;
class CUserListDlg;

// The hidden main window: owns the tray icon and its menu, creates the
// buddy-list window and starts the messenger's receive side. Its exit
// command is the only way the program ends.
class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    virtual ~CMainFrame();

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    // Shows the buddy list in front and the normal icon without balloon.
    void showBuddyList();

    CUserListDlg* userList;
    HICON normalIcon;
    HICON newMessageIcon;
    CTrayIcon trayIcon;
    // The settings dialog while it is open. The tray menu still works then,
    // and a second dialog would store over the first one's values.
    CSettingDlg* openSettings;

protected:
    int OnCreate(LPCREATESTRUCT create);
    void OnDestroy();
    void OnClose();
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);
    void OnAutoStart();
    void OnUpdateAutoStart(CCmdUI* command);
    void OnBuddyList();
    void OnSystemSettings();
    void OnAbout();
    void OnExit();
    void OnTestNoticeMessage();
    void OnTestShowMessage();
    void OnTestTrayNoMessage();
    void OnTestTrayHasMessage();
    LRESULT OnNewMessageNotice(WPARAM wParam, LPARAM lParam);
    LRESULT OnRestoreTrayIcon(WPARAM wParam, LPARAM lParam);
    LRESULT OnExitMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
