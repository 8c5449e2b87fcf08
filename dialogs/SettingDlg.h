#pragma once

#include "classlib/AfxWin.h"
#include "dialogs/SettingPrintScreenDlg.h"
#include "dialogs/SettingSystemDlg.h"
#include "dialogs/SettingUserDlg.h"
#include "res/resource.h"

// The settings dialog: a list of three pages at its left (own name and
// group, starting with Windows, screen capture). OK stores what the pages
// hold and switches the Ctrl+P hot key of the buddy list at once; Cancel,
// Esc and the close box store nothing.
class CSettingDlg : public CDialogEx {
public:
    enum { IDD = IDD_SETTING_DLG };

    explicit CSettingDlg(CWnd* parent = NULL);
    virtual ~CSettingDlg();

    // Makes the screen-capture hot key follow the stored setting; FALSE when
    // capture is on and another program holds Ctrl+P. The buddy list owns
    // the key, and the shell sets this when it makes that window; NULL while
    // there is none.
    static BOOL (*applyHotKeySetting)();
    // Shows the stored own name and group wherever the shell shows them (the
    // buddy list's edits, which store what they show when left); NULL while
    // there is no such window.
    static void (*showOwnNameAndGroup)();

    CListCtrl pageList;
    CSettingUserDlg userPage;
    CSettingSystemDlg systemPage;
    CSettingPrintScreenDlg printScreenPage;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    void OnItemChangedPageList(NMHDR* notify, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void createPage(CDialog& page, UINT templateId, const CRect& area, int show);
    void showOnly(CDialog& page);
    void applyPrintScreenHotKey();
};
