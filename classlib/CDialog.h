#pragma once
// Dialogs from resource templates. One dialog procedure serves both kinds:
// it binds the object to its window at WM_INITDIALOG and subclasses it, so
// that from then on every message goes through the message map like any
// other window of ours (the template's dialog procedure stays the default).
//
//   modeless:  dlg->Create(IDD_X, parent); dlg->ShowWindow(SW_SHOW);
//              OK/Cancel hide it.
//   modal:     CXDlg dlg(parent); if (dlg.DoModal() == IDOK) ...
//              Our own loop runs it, so PreTranslateMessage works as in the
//              main loop; the owner (without a parent: the window the user
//              works in) is disabled meanwhile.

#include "classlib/CWnd.h"
#include "classlib/Types.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    virtual ~CDialog();

    // Modeless, from a template resource.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    // Modeless, from a template in memory.
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);
    // A template in memory for the next DoModal.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);

    // Runs the dialog modally; returns what EndDialog was given, or -1 when the
    // dialog could not be made.
    virtual INT_PTR DoModal();
    // Modal: ends the loop with nResult. Modeless: hides the dialog.
    void EndDialog(int nResult);

    // UpdateData(FALSE) (which binds DDX_Control members); TRUE = focus the
    // first control.
    virtual BOOL OnInitDialog();
    // UpdateData(TRUE), then EndDialog(IDOK).
    virtual void OnOK();
    // EndDialog(IDCANCEL). Esc, the close box and WM_CLOSE come here too.
    virtual void OnCancel();

    // Dialog keys (Tab, Enter, Esc, mnemonics) through IsDialogMessage; a
    // child dialog (a page) leaves them to the dialog it sits in.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    LPCTSTR m_lpszTemplateName;
    LPCDLGTEMPLATE m_lpDialogTemplate;
    CWnd* m_pParentWnd;
    BOOL m_bModal;
    BOOL m_bEndModal;
    int m_nModalResult;

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    BOOL createModeless(LPCDLGTEMPLATE lpTemplate, HWND hWndParent);
    LPCDLGTEMPLATE findTemplate() const;
    HWND modalOwner() const;
    void runModalLoop();

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The same dialog; MFC's newer name.
class CDialogEx : public CDialog {
    DECLARE_DYNAMIC(CDialogEx)
public:
    CDialogEx() {}
    explicit CDialogEx(UINT nIDTemplate, CWnd* pParentWnd = NULL)
        : CDialog(nIDTemplate, pParentWnd)
    {
    }
};
