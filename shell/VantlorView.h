#pragma once

#include "classlib/AfxWin.h"

// The empty view the single-document template needs; it draws nothing.
class CVantlorView : public CView {
    DECLARE_DYNCREATE(CVantlorView)
public:
    CVantlorView();
    virtual ~CVantlorView();

    virtual void OnDraw(CDC* dc);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

protected:
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info);
    DECLARE_MESSAGE_MAP()
};
