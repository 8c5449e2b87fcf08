#include "classlib/DocTemplate.h"

#include "classlib/CFrameWnd.h"
#include "classlib/CView.h"
#include "classlib/CWinApp.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocument::CDocument()
{
}
CDocument::~CDocument()
{
}

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource),
      m_pDocClass(pDocClass),
      m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass)
{
}

CDocTemplate::~CDocTemplate()
{
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass),
      m_pOnlyDoc(NULL)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    delete m_pOnlyDoc;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    (void)lpszPathName;
    (void)bMakeVisible;
    if (!m_pOnlyDoc) {
        CObject* made = m_pDocClass ? m_pDocClass->CreateObject() : NULL;
        m_pOnlyDoc = dynamic_cast<CDocument*>(made);
        if (!m_pOnlyDoc) {
            delete made;
            return NULL;
        }
    }

    CObject* made = m_pFrameClass ? m_pFrameClass->CreateObject() : NULL;
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(made);
    if (!frame) {
        delete made;
        return NULL;
    }
    CCreateContext context = {m_pViewClass, m_pOnlyDoc, this, NULL};
    // A frame whose window failed has deleted itself.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, NULL, &context))
        return NULL;

    CWinApp* app = AfxGetApp();
    if (app && !app->m_pMainWnd)
        app->m_pMainWnd = frame;
    if (!m_pOnlyDoc->OnNewDocument()) {
        frame->DestroyWindow();
        return NULL;
    }
    if (CView* view = frame->GetActiveView())
        view->OnInitialUpdate();
    return m_pOnlyDoc;
}
