#pragma once
// CWnd: a window of ours or a wrapper of any window.
//
// A window made or subclassed by our code is bound to its object: the
// object's address is in the window's GWLP_USERDATA (and in a window property
// that proves the value is ours), and its window procedure is AfxWndProc,
// which hands every message to the object's WindowProc -> message map. There
// is no global window map. FromHandle of a window that is not ours gives a
// temporary wrapper (see TempObjects.h).

#include "classlib/CCmdTarget.h"
#include "classlib/CString.h"
#include "classlib/Geometry.h"
#include "classlib/MessageMap.h"
#include "classlib/Types.h"

class CDataExchange;
class CDC;
class CFont;
class CMenu;
struct CCreateContext;

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class whose procedure is AfxWndProc; returns its
// name. The pointer stays valid for the life of the program.
const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = NULL, HBRUSH hbrBackground = NULL,
                                HICON hIcon = NULL);

// The whole text of any window, also of a control that keeps UTF-16 text.
void AfxGetWindowText(HWND hWnd, CString& rString);

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    HWND m_hWnd;

    CWnd();
    // A window we created is destroyed with its object; a subclassed control is
    // handed back to its own window procedure.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    // Our object for the window, else a temporary wrapper; NULL for NULL.
    static CWnd* FromHandle(HWND hWnd);
    // Our object for the window, or NULL.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Insert-after values for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // ---- creation and binding ----
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                          int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Called after the window's last message; an object that lives on the heap
    // for its window's sake deletes itself here.
    virtual void PostNcDestroy();

    BOOL Attach(HWND hWndNew);  // binds without taking over the window procedure
    // Unbinds; a subclassed window gets its own procedure back.
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);  // binds and routes the window's messages to this object
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();  // the same as Detach
    void AttachTemporary(HWND hWnd) { m_hWnd = hWnd; }

    // ---- the window ----
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void SetWindowText(LPCTSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, CString& rString) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE); }
    // With nFlags, SetWindowPos(nFlags | SWP_NOSIZE | SWP_NOMOVE | ...) makes the
    // change visible (SWP_FRAMECHANGED for frame styles).
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
    {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
    {
        return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : NULL, x, y, cx, cy, nFlags);
    }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)lpRect, 2); }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, NULL, (LPPOINT)lpRect, 2); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, NULL, bErase); }
    void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = NULL)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    CFont* GetFont() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return (HICON)::SendMessageA(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)hIcon);
    }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    // Centres on the owner (or pAlternateOwner); a window without a visible
    // owner is centred on the work area of its monitor.
    void CenterWindow(CWnd* pAlternateOwner = NULL);
    // Through the prompt seam (classlib/Prompts.h); caption NULL = "ZQ".
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = NULL, UINT nType = MB_OK);

    // ---- data exchange ----
    // Runs DoDataExchange; FALSE when a field failed validation (the user has
    // been told, and the focus is on the field).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // ---- messages ----
    // Offered every message of the message loop that is meant for this window
    // or one of its children, before it is dispatched; TRUE = consumed.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message map dispatch: TRUE when a handler took the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The window's own procedure for messages the map leaves (the window class's,
    // or the one a subclassed control had).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc for the message being handled right now.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification the parent received from this control, offered back to it
    // (ON_CONTROL_REFLECT, ON_WM_CTLCOLOR_REFLECT).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Offers pMsg to PreTranslateMessage of the window it is for and then of
    // each parent up to its top-level window; TRUE = consumed.
    static BOOL WalkPreTranslateTree(MSG* pMsg);

    // ---- default message handlers (call them from overriding handlers) ----
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    // Asks the control to reflect the colour message (ON_WM_CTLCOLOR_REFLECT);
    // its brush, if any, wins; else the window's default.
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnHotKey(UINT nHotKeyId, UINT nKey1, UINT nKey2);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // Runs the ON_UPDATE_COMMAND_UI handlers for the items of a pop-up menu
    // this window owns; items without any handler are disabled.
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

protected:
    WNDPROC m_pfnSuper;  // the procedure a subclassed window had, else NULL
    bool m_bPermanent;  // bound: GWLP_USERDATA points here
    bool m_bOwnsWindow;  // made by our code: destroyed with the object
    bool m_bRouted;  // its messages reach AfxWndProc (our class or subclassed)

    explicit CWnd(HWND hWndSpecial);  // for wndTop and friends
    void bindTo(HWND hWnd);
    void unbind();
    // Where a window procedure call for this object ends.
    void onFinalMessage();

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT afxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// Hands one message to pWnd->WindowProc, recording it for Default().
LRESULT afxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The window of a CWnd that may be missing: NULL for a NULL pointer.
inline HWND AfxSafeHandle(const CWnd* wnd)
{
    return wnd ? wnd->m_hWnd : NULL;
}
