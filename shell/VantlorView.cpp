#include "shell/VantlorView.h"

#include "res/resource.h"

IMPLEMENT_DYNCREATE(CVantlorView, CView)

CVantlorView::CVantlorView()
{
}

CVantlorView::~CVantlorView()
{
}

BEGIN_MESSAGE_MAP(CVantlorView, CView)
    ON_COMMAND(ID_FILE_PRINT, &CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, &CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview)
END_MESSAGE_MAP()

BOOL CVantlorView::PreCreateWindow(CREATESTRUCT& cs)
{
    return CView::PreCreateWindow(cs);
}

void CVantlorView::OnDraw(CDC*)
{
}

BOOL CVantlorView::OnPreparePrinting(CPrintInfo* info)
{
    return DoPreparePrinting(info);
}

void CVantlorView::OnBeginPrinting(CDC*, CPrintInfo*)
{
}

void CVantlorView::OnEndPrinting(CDC*, CPrintInfo*)
{
}
