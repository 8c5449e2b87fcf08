#pragma once
// The view: a child window of the frame that draws its document. Printing is
// never used here; its members are empty.

#include "classlib/CWnd.h"
#include "classlib/DocTemplate.h"
#include "classlib/Types.h"

class CDC;

struct CPrintInfo {};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    virtual ~CView();

    CDocument* GetDocument() const { return m_pDocument; }
    virtual void OnDraw(CDC* pDC) = 0;
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void OnInitialUpdate() {}
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo)
    {
        (void)pInfo;
        return FALSE;
    }
    BOOL DoPreparePrinting(CPrintInfo* pInfo)
    {
        (void)pInfo;
        return FALSE;
    }
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
    {
        (void)pDC;
        (void)pInfo;
    }
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
    {
        (void)pDC;
        (void)pInfo;
    }
    // Views are made with new by the frame: they delete themselves.
    virtual void PostNcDestroy();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnFilePrint() {}
    afx_msg void OnFilePrintPreview() {}

protected:
    CDocument* m_pDocument;

    DECLARE_MESSAGE_MAP()
};
