#pragma once
// The frame's tool bar and status bar: the common controls, created as
// children of the frame. Docking is not done.

#include "classlib/CWnd.h"
#include "classlib/StandardIds.h"
#include "classlib/Types.h"

#include <commctrl.h>

// Bar styles. Only WS_VISIBLE of a bar's style is used: bars are not docked
// and have no gripper; the docking sides are accepted and ignored.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_TOP CBRS_ALIGN_TOP
#define CBRS_BOTTOM CBRS_ALIGN_BOTTOM
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_SIZE_DYNAMIC 0x0040L
#define CBRS_GRIPPER 0x00400000L

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    void EnableDocking(DWORD dwDockStyle) { (void)dwDockStyle; }
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    // dwStyle may hold CBRS_ bits; they are dropped (no docking, no gripper).
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);
    // Buttons from the TOOLBAR resource and the bitmap of the same id. A
    // program without that resource gets an empty bar (TRUE as well).
    BOOL LoadToolBar(UINT nIDResource);
};

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id; a pane's text is the string resource of its id
    // (ID_SEPARATOR: an empty, stretching first pane).
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText);
};
