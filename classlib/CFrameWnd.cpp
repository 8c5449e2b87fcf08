#include "classlib/CFrameWnd.h"

#include "classlib/CView.h"
#include "classlib/CWinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_ACTIVATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_pViewActive(NULL)
{
}
CFrameWnd::~CFrameWnd()
{
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    HINSTANCE instance = AfxGetResourceHandle();
    char text[256] = "";
    ::LoadStringA(instance, nIDResource, text, sizeof text);
    CString title = text;
    int end = title.Find('\n');
    if (end >= 0)
        title = title.Left(end);

    HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(nIDResource));
    const char* windowClass =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1), icon);
    HMENU menu = ::LoadMenuA(instance, MAKEINTRESOURCEA(nIDResource));
    if (!CreateEx(0, windowClass, title, dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  AfxSafeHandle(pParentWnd), menu, pContext)) {
        if (menu)
            ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CCreateContext* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (!OnCreateClient(lpCreateStruct, context))
        return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    (void)lpcs;
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext) != NULL;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CObject* made = pContext->m_pNewViewClass->CreateObject();
    CWnd* view = dynamic_cast<CWnd*>(made);
    if (!view) {
        delete made;
        return NULL;
    }
    // A view whose window failed has deleted itself.
    if (!view->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID, pContext))
        return NULL;
    if (CView* asView = dynamic_cast<CView*>(view))
        m_pViewActive = asView;
    return view;
}

void CFrameWnd::RecalcLayout(BOOL bNotify)
{
    (void)bNotify;
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(client);
    // The common-control bars place themselves along their edge on WM_SIZE.
    if (HWND toolBar = ::GetDlgItem(m_hWnd, AFX_IDW_TOOLBAR)) {
        ::SendMessageA(toolBar, WM_SIZE, 0, 0);
        RECT r;
        if (::IsWindowVisible(toolBar) && ::GetWindowRect(toolBar, &r))
            client.top += r.bottom - r.top;
    }
    if (HWND statusBar = ::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR)) {
        ::SendMessageA(statusBar, WM_SIZE, 0, 0);
        RECT r;
        if (::IsWindowVisible(statusBar) && ::GetWindowRect(statusBar, &r))
            client.bottom -= r.bottom - r.top;
    }
    if (HWND view = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)) {
        client.NormalizeRect();
        ::MoveWindow(view, client.left, client.top, client.Width(), client.Height(), TRUE);
    }
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

void CFrameWnd::OnDestroy()
{
    m_pViewActive = NULL;
    Default();
}

void CFrameWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}
