#pragma once
// The main frame: a top-level window made by the document template from the
// resources of one id (title string, icon, menu). Ours is never shown; it
// holds the tool bar, the status bar and the view.

#include "classlib/CWnd.h"
#include "classlib/ControlBars.h"
#include "classlib/DocTemplate.h"
#include "classlib/StandardIds.h"
#include "classlib/Types.h"

class CControlBar;
class CView;

// Frame styles (MFC's values; FWS_ADDTOTITLE shares its bit with WS_MAXIMIZEBOX).
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    virtual ~CFrameWnd();

    // Title from string nIDResource (up to its first '\n'), icon and menu of the
    // same id when present; pContext travels to OnCreate, which makes the view.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // The view (when the context names one) fills the client area.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    void EnableDocking(DWORD dwDockStyle) { (void)dwDockStyle; }
    void DockControlBar(CControlBar* pBar) { (void)pBar; }
    // Bars along their edges, the view in what is left.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    CView* GetActiveView() const { return m_pViewActive; }

    // Commands go to the view, the frame, then the application.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    // Frames are made with new by the template: they delete themselves.
    virtual void PostNcDestroy();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnSize(UINT nType, int cx, int cy);

protected:
    CView* m_pViewActive;

    DECLARE_MESSAGE_MAP()
};
