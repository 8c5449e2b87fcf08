#include "classlib/DataExchange.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "classlib/CWnd.h"
#include "classlib/Prompts.h"

namespace {

// Thrown by Fail, caught by UpdateData: ends the exchange at the bad field.
struct DataExchangeFailure {};

CString controlText(HWND control)
{
    CString text;
    AfxGetWindowText(control, text);
    return text;
}

}  // namespace

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate),
      m_pDlgWnd(pDlgWnd),
      m_hWndLastControl(NULL)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    return m_hWndLastControl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw DataExchangeFailure();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (control)
        rControl.SubclassWindow(control);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = controlText(control);
    else
        ::SetWindowTextA(control, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!control)
        return;
    if (!pDX->m_bSaveAndValidate) {
        char text[16];
        snprintf(text, sizeof text, "%d", value);
        ::SetWindowTextA(control, text);
        return;
    }
    CString text = controlText(control);
    text.Trim();
    const char* begin = text;
    char* end = NULL;
    errno = 0;
    long parsed = strtol(begin, &end, 10);
    if (text.IsEmpty() || *end != '\0' || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) {
        AfxMessageBox("请输入一个整数。", MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    value = (int)parsed;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(control, BM_GETCHECK, 0, 0);
    else
        ::SendMessageA(control, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate) {
        // The edit field's text, or the selected item's for a drop-down list.
        value = controlText(control);
        return;
    }
    if ((::GetWindowLongA(control, GWL_STYLE) & (CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST)) == CBS_DROPDOWNLIST) {
        ::SendMessageA(control, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(const char*)value);
        return;
    }
    // With an edit field the text is shown exactly: selecting by prefix would
    // show "DevOps" for "Dev", and reading it back would store that.
    ::SendMessageA(control, CB_SETCURSEL,
                   ::SendMessageA(control, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(const char*)value), 0);
    ::SetWindowTextA(control, value);
}
