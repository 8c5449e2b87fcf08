#include "classlib/ControlBars.h"

#include <vector>

#include "classlib/CWinApp.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
  (void)rcBorders;
  DWORD style = WS_CHILD | (dwStyle & WS_VISIBLE) | dwCtrlStyle | CCS_TOP;
  if (dwStyle & CBRS_TOOLTIPS) style |= TBSTYLE_TOOLTIPS;
  if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, NULL, style, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                      (HMENU)(UINT_PTR)nID))
    return FALSE;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  return TRUE;
}

// The TOOLBAR resource: version 1, the button size, then one id per button
// (0 for a separator).
struct ToolBarResource {
  WORD version;
  WORD width;
  WORD height;
  WORD count;
  WORD ids[1];
};

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
  HINSTANCE instance = AfxGetResourceHandle();
  HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(241));
  if (!found) return TRUE;
  HGLOBAL loaded = ::LoadResource(instance, found);
  const ToolBarResource* data = loaded ? (const ToolBarResource*)::LockResource(loaded) : NULL;
  DWORD size = ::SizeofResource(instance, found);
  if (!data || size < 8 || data->version != 1 || size < 8u + 2u * data->count) return FALSE;

  std::vector<TBBUTTON> buttons(data->count);
  int images = 0;
  for (WORD i = 0; i < data->count; ++i) {
    TBBUTTON& b = buttons[i];
    b = TBBUTTON();
    b.idCommand = data->ids[i];
    if (b.idCommand == 0) {
      b.fsStyle = TBSTYLE_SEP;
    } else {
      b.iBitmap = images++;
      b.fsState = TBSTATE_ENABLED;
      b.fsStyle = TBSTYLE_BUTTON;
    }
  }
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(data->width, data->height));
  if (images > 0) {
    TBADDBITMAP bitmap = {instance, nIDResource};
    SendMessage(TB_ADDBITMAP, (WPARAM)images, (LPARAM)&bitmap);
  }
  if (!buttons.empty()) SendMessage(TB_ADDBUTTONSA, buttons.size(), (LPARAM)buttons.data());
  SendMessage(TB_AUTOSIZE);
  return TRUE;
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  DWORD style = WS_CHILD | (dwStyle & WS_VISIBLE) | CCS_BOTTOM;
  return CWnd::CreateEx(0, STATUSCLASSNAMEA, NULL, style, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                        (HMENU)(UINT_PTR)nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (nIDCount <= 0 || nIDCount > 255) return FALSE;
  HINSTANCE instance = AfxGetResourceHandle();
  std::vector<CString> texts(nIDCount);
  std::vector<int> edges(nIDCount);
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ oldFont = ::SelectObject(dc, (HGDIOBJ)SendMessage(WM_GETFONT));
  // The first pane takes what the fixed panes after it leave; they are as
  // wide as their texts. Laid out for a nominal width: the bar is not shown.
  int right = 0;
  for (int i = 0; i < nIDCount; ++i) {
    char text[128] = "";
    if (lpIDArray[i] != ID_SEPARATOR) ::LoadStringA(instance, lpIDArray[i], text, sizeof text);
    texts[i] = text;
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(dc, text, texts[i].GetLength(), &extent);
    right += i == 0 ? 200 : extent.cx + 12;
    edges[i] = right;
  }
  edges[nIDCount - 1] = -1;
  ::SelectObject(dc, oldFont);
  ::ReleaseDC(m_hWnd, dc);
  if (!SendMessage(SB_SETPARTS, (WPARAM)nIDCount, (LPARAM)edges.data())) return FALSE;
  for (int i = 0; i < nIDCount; ++i) SetPaneText(i, texts[i]);
  return TRUE;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText) {
  return (BOOL)SendMessage(SB_SETTEXTA, (WPARAM)nIndex, (LPARAM)lpszNewText);
}
