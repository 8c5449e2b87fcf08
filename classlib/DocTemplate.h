#pragma once
// Document/view, as thin as our program needs: one empty document, one
// hidden frame and its view, made by the single-document template.

#include "classlib/CCmdTarget.h"
#include "classlib/CString.h"
#include "classlib/Types.h"

class CDocTemplate;
class CDocument;
class CFrameWnd;
class CView;

// Never used for files: a document here is never saved or loaded.
class CArchive {};

// What the template hands the frame it creates (and the frame its view).
struct CCreateContext {
    CRuntimeClass* m_pNewViewClass;
    CDocument* m_pCurrentDoc;
    CDocTemplate* m_pNewDocTemplate;
    CFrameWnd* m_pCurrentFrame;
};

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    virtual ~CDocument();
    virtual BOOL OnNewDocument() { return TRUE; }
    virtual void Serialize(CArchive& ar) { (void)ar; }
};

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    virtual ~CDocTemplate();
    // Makes the document, the frame (LoadFrame -> its OnCreate -> the view) and
    // runs OnNewDocument. The path is ignored: there are no document files.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    // Deletes the document (the frame and view delete themselves with their windows).
    virtual ~CSingleDocTemplate();
    // The frame is made but not shown (ours stays hidden); it becomes the
    // application's main window if there is none.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE);

protected:
    CDocument* m_pOnlyDoc;
};
