#pragma once

#include "classlib/AfxWin.h"
#include "shell/TrayIcon.h"

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
    CStatusBar statusBar;
    CToolBar toolBar;
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
