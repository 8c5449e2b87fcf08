#include "classlib/CWnd.h"

#include <cstdio>
#include <set>
#include <string>

#include "classlib/CDC.h"
#include "classlib/CMenu.h"
#include "classlib/CWinApp.h"
#include "classlib/Gdi.h"
#include "classlib/Prompts.h"
#include "classlib/TempObjects.h"

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_CTLCOLOR()
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

namespace {

// The window property that confirms a GWLP_USERDATA value is a CWnd of ours.
const char BINDING_PROPERTY[] = "ZQ.CWnd";

struct CurrentMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The message being handled on this thread, for Default().
thread_local CurrentMessage t_current = {NULL, 0, 0, 0};
// The object whose window CreateWindowEx is making right now: bound at the
// window's first message (WM_GETMINMAXINFO or WM_NCCREATE).
thread_local CWnd* t_windowBeingCreated = NULL;

}  // namespace

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd()
    : m_hWnd(NULL),
      m_pfnSuper(NULL),
      m_bPermanent(false),
      m_bOwnsWindow(false),
      m_bRouted(false)
{
}

CWnd::CWnd(HWND hWndSpecial)
    : m_hWnd(hWndSpecial),
      m_pfnSuper(NULL),
      m_bPermanent(false),
      m_bOwnsWindow(false),
      m_bRouted(false)
{
}

CWnd::~CWnd()
{
    if (!m_hWnd || !m_bPermanent)
        return;
    if (m_bOwnsWindow)
        DestroyWindow();
    else
        Detach();
}

// ---- binding ------------------------------------------------------------------

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return NULL;
    LONG_PTR data = ::GetWindowLongPtrA(hWnd, GWLP_USERDATA);
    if (!data)
        return NULL;
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    if (process != ::GetCurrentProcessId())
        return NULL;
    if ((LONG_PTR)::GetPropA(hWnd, BINDING_PROPERTY) != data)
        return NULL;
    return reinterpret_cast<CWnd*>(data);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (CWnd* wnd = FromHandlePermanent(hWnd))
        return wnd;
    return afxTemporaryWrapper<CWnd>(hWnd);
}

void CWnd::bindTo(HWND hWnd)
{
    m_hWnd = hWnd;
    m_bPermanent = true;
    ::SetPropA(hWnd, BINDING_PROPERTY, (HANDLE)this);
    ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)this);
}

void CWnd::unbind()
{
    if (m_hWnd && m_bPermanent && ::GetWindowLongPtrA(m_hWnd, GWLP_USERDATA) == (LONG_PTR)this) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        ::RemovePropA(m_hWnd, BINDING_PROPERTY);
    }
    m_bPermanent = false;
    m_hWnd = NULL;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (!hWndNew || m_hWnd || FromHandlePermanent(hWndNew))
        return FALSE;
    bindTo(hWndNew);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    // A subclassed window gets its own procedure back: without this object
    // nothing would hand its messages on to it.
    if (hWnd && m_pfnSuper)
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = NULL;
    if (m_bPermanent)
        unbind();
    else
        m_hWnd = NULL;  // a temporary wrapper: the window belongs to nobody here
    m_bOwnsWindow = false;
    m_bRouted = false;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    WNDPROC previous = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    m_pfnSuper = previous == AfxWndProc ? NULL : previous;
    m_bRouted = true;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWnd = ::GetDlgItem(AfxSafeHandle(pParent), (int)nID);
    return hWnd && SubclassWindow(hWnd);
}

HWND CWnd::UnsubclassWindow()
{
    return Detach();
}

// ---- the window procedure -------------------------------------------------------

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Every window with this procedure was bound by our code, so its user data
    // is ours (or not set yet).
    CWnd* wnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!wnd && t_windowBeingCreated) {
        wnd = t_windowBeingCreated;
        t_windowBeingCreated = NULL;
        wnd->bindTo(hWnd);
        wnd->m_bOwnsWindow = true;
        wnd->m_bRouted = true;
    }
    if (!wnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return afxCallWndProc(wnd, hWnd, message, wParam, lParam);
}

LRESULT afxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CurrentMessage saved = t_current;
    t_current = CurrentMessage{hWnd, message, wParam, lParam};
    LRESULT result = pWnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        pWnd->onFinalMessage();  // may delete pWnd
    t_current = saved;
    return result;
}

void CWnd::onFinalMessage()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = NULL;
        ::PostQuitMessage(0);
    }
    Detach();
    PostNcDestroy();
}

void CWnd::PostNcDestroy()
{
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    (void)pMsg;
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd;) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(pMsg))
            return TRUE;
        // Stop at the top-level window: an owner is no parent.
        if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
            break;
        hWnd = ::GetParent(hWnd);
    }
    return FALSE;
}

// ---- creation -------------------------------------------------------------------

const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::set<std::string> names;  // node-based: the c_str() of each name stays put
    HINSTANCE instance = AfxGetInstanceHandle();
    char name[96];
    snprintf(name, sizeof name, "ZQ:%p:%x:%p:%p:%p", (void*)instance, nClassStyle, (void*)hCursor, (void*)hbrBackground,
             (void*)hIcon);
    const std::string& stored = *names.insert(name).first;
    WNDCLASSA existing;
    if (!::GetClassInfoA(instance, stored.c_str(), &existing)) {
        WNDCLASSA wc = {};
        wc.style = nClassStyle;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = instance;
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = stored.c_str();
        ::RegisterClassA(&wc);
    }
    return stored.c_str();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd)
        return FALSE;
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    t_windowBeingCreated = this;
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    // A control's class is not ours: nothing took this object while it was made
    // (a window that a handler made meanwhile has used and cleared the slot).
    t_windowBeingCreated = NULL;
    if (!hWnd)
        return FALSE;  // a failed window of ours has already run PostNcDestroy
    if (FromHandlePermanent(hWnd) != this) {
        SubclassWindow(hWnd);
        m_bOwnsWindow = true;
    }
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, AfxSafeHandle(pParentWnd), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, (LPVOID)pContext);
}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (!hWnd)
        return FALSE;
    // A routed window hears its own WM_NCDESTROY (and may delete this object
    // there); any other wrapper forgets the window here.
    bool hearsFinalMessage = m_bPermanent && m_bRouted;
    BOOL done = ::DestroyWindow(hWnd);
    if (!hearsFinalMessage && done)
        Detach();
    return done;
}

// ---- the window -------------------------------------------------------------------

void AfxGetWindowText(HWND hWnd, CString& rString)
{
    // A control that keeps UTF-16 text (the rich edit) counts characters, and
    // a character of code page 936 takes up to two bytes.
    int length = ::GetWindowTextLengthA(hWnd) * 2;
    char* buffer = rString.GetBuffer(length);
    buffer[0] = '\0';
    ::GetWindowTextA(hWnd, buffer, length + 1);
    rString.ReleaseBuffer();
}

void CWnd::GetWindowText(CString& rString) const
{
    AfxGetWindowText(m_hWnd, rString);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    if (HWND item = ::GetDlgItem(m_hWnd, nID))
        AfxGetWindowText(item, rString);
    return rString.GetLength();
}

static BOOL modifyLong(HWND hWnd, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD style = (DWORD)::GetWindowLongA(hWnd, index);
    DWORD changed = (style & ~dwRemove) | dwAdd;
    if (style == changed)
        return FALSE;
    ::SetWindowLongA(hWnd, index, (LONG)changed);
    if (nFlags)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return modifyLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return modifyLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

CFont* CWnd::GetFont() const
{
    return CFont::FromHandle((HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)AfxSafeHandle(pFont), bRedraw);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    bool child = (GetStyle() & WS_CHILD) != 0;
    HWND center =
        pAlternateOwner ? pAlternateOwner->m_hWnd : (child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER));
    RECT area, bounds, self;
    if (child) {
        ::GetClientRect(::GetParent(m_hWnd), &bounds);
        area = bounds;
        if (center && center != ::GetParent(m_hWnd)) {
            ::GetWindowRect(center, &area);
            ::MapWindowPoints(NULL, ::GetParent(m_hWnd), (LPPOINT)&area, 2);
        }
    } else {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        ::GetMonitorInfoA(::MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
        bounds = monitor.rcWork;
        if (center && ::IsWindowVisible(center) && !::IsIconic(center))
            ::GetWindowRect(center, &area);
        else
            area = bounds;
    }
    ::GetWindowRect(m_hWnd, &self);
    int width = self.right - self.left, height = self.bottom - self.top;
    int x = (area.left + area.right - width) / 2;
    int y = (area.top + area.bottom - height) / 2;
    // Keep the whole window on the screen (or in the parent).
    if (x + width > bounds.right)
        x = bounds.right - width;
    if (y + height > bounds.bottom)
        y = bounds.bottom - height;
    if (x < bounds.left)
        x = bounds.left;
    if (y < bounds.top)
        y = bounds.top;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    return promptMessageBox(m_hWnd, lpszText, lpszCaption ? lpszCaption : "ZQ", nType);
}

void CWnd::DoDataExchange(CDataExchange* pDX)
{
    (void)pDX;
}

// ---- default handlers ----------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return (int)Default();
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return (BOOL)Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnHotKey(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnDropFiles(HDROP)
{
    Default();
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CWnd* control = pWnd ? FromHandlePermanent(pWnd->m_hWnd) : NULL;
    if (control && control != this) {
        LRESULT brush = 0;
        if (control->OnChildNotify(WM_CTLCOLORMSGBOX + nCtlColor, (WPARAM)AfxSafeHandle(pDC), (LPARAM)pWnd->m_hWnd,
                                   &brush))
            return (HBRUSH)brush;
    }
    return (HBRUSH)Default();
}

void CWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    (void)nIndex;
    Default();
    if (bSysMenu || !pPopupMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    UINT count = (UINT)pPopupMenu->GetMenuItemCount();
    for (UINT i = 0; i < count; ++i) {
        UINT id = pPopupMenu->GetMenuItemID((int)i);
        // Separators (0), sub-menus (-1) and system commands are left alone.
        if (id == 0 || id == (UINT)-1 || id >= 0xF000)
            continue;
        state.m_nIndex = i;
        state.m_nID = id;
        state.DoUpdate(this, TRUE);
    }
}
