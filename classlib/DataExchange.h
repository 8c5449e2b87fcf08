#pragma once
// Dialog data exchange: DoDataExchange lists the fields of a dialog with
// DDX_ calls; UpdateData(FALSE) fills the controls from the members,
// UpdateData(TRUE) reads them back (and stops at a field that does not parse,
// telling the user and focusing it).

#include "classlib/CString.h"
#include "classlib/Types.h"

class CWnd;

class CDataExchange {
public:
    BOOL m_bSaveAndValidate;  // TRUE: controls -> members
    CWnd* m_pDlgWnd;

    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    // The control with this id (it must exist); it becomes the field to focus
    // on failure.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC) { return PrepareCtrl(nIDC); }
    // Ends the exchange: focuses the last prepared control; UpdateData returns FALSE.
    [[noreturn]] void Fail();

private:
    HWND m_hWndLastControl;
};

// Binds (subclasses) the control to rControl the first time.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// An integer field: text that is not a whole number fails the exchange.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
// A check box: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// A combo box's text: loading a drop-down list selects the first item
// starting with the text; a combo box with an edit field shows the text
// exactly (and selects the item equal to it, if any).
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
