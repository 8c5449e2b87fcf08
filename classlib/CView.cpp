#include "classlib/CView.h"

#include "classlib/CDC.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CView::CView()
    : m_pDocument(NULL)
{
}
CView::~CView()
{
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CCreateContext* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams))
        m_pDocument = context->m_pCurrentDoc;
    return CWnd::OnCreate(lpCreateStruct);
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

void CView::PostNcDestroy()
{
    delete this;
}
