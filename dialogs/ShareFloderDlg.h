#pragma once

#include "classlib/AfxWin.h"
#include "dialogs/ShareFloderDlgAllSharePage.h"
#include "dialogs/ShareFloderDlgMySharePage.h"
#include "res/resource.h"

// The shared-folder browser: a tab control with the peers' page (tab 0) and
// the own page (tab 1). Made once, hidden, by the buddy list before the
// messenger starts; closing it only hides it.
class CShareFloderDlg : public CDialogEx {
    DECLARE_DYNAMIC(CShareFloderDlg)
public:
    enum { IDD = IDD_SHARE_FLODER_DLG };

    explicit CShareFloderDlg(CWnd* parent = NULL);
    virtual ~CShareFloderDlg();

    // The window the browser first opens beside (the buddy list); NULL: where
    // the system puts it.
    HWND openBeside = NULL;

    CTabCtrl tabCtrl;
    CShareFloderDlgAllSharePage allSharePage;
    CShareFloderDlgMySharePage mySharePage;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();

    void OnTabSelChange(NMHDR* notify, LRESULT* result);
    LRESULT OnShowWindowMessage(WPARAM shown, LPARAM status);
    DECLARE_MESSAGE_MAP()

private:
    void showPage(int tab);
    bool placed = false;
};
