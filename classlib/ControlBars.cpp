#include "classlib/ControlBars.h"

#include <vector>

#include "classlib/CWinApp.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    (void)rcBorders;
    DWORD style = WS_CHILD | (dwStyle & WS_VISIBLE) | dwCtrlStyle | CCS_TOP;
    if (dwStyle & CBRS_TOOLTIPS)
        style |= TBSTYLE_TOOLTIPS;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, NULL, style, 0, 0, 0, 0, AfxSafeHandle(pParentWnd), (HMENU)(UINT_PTR)nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

// The TOOLBAR resource: the button size, then one id per button (0 for a
// separator). Microsoft's resource compiler writes WORDs after a version 1;
// windres writes DWORDs and no version.
struct ToolBarLayout {
    int width;
    int height;
    std::vector<UINT> ids;
};

static bool readToolBarResource(const BYTE* data, DWORD size, ToolBarLayout* layout)
{
    auto word = [data](DWORD at) { return (UINT)(data[at] | data[at + 1] << 8); };
    auto dword = [data](DWORD at) {
        return (UINT)(data[at] | data[at + 1] << 8 | data[at + 2] << 16 | (UINT)data[at + 3] << 24);
    };
    if (size >= 8 && word(0) == 1 && size == 8u + 2u * word(6)) {
        layout->width = (int)word(2);
        layout->height = (int)word(4);
        for (UINT i = 0; i < word(6); ++i)
            layout->ids.push_back(word(8 + 2 * i));
        return true;
    }
    if (size >= 12 && dword(8) <= (size - 12) / 4 && size == 12u + 4u * dword(8)) {
        layout->width = (int)dword(0);
        layout->height = (int)dword(4);
        for (UINT i = 0; i < dword(8); ++i)
            layout->ids.push_back(dword(12 + 4 * i));
        return true;
    }
    return false;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(241));
    if (!found)
        return TRUE;
    HGLOBAL loaded = ::LoadResource(instance, found);
    const BYTE* data = loaded ? (const BYTE*)::LockResource(loaded) : NULL;
    DWORD size = ::SizeofResource(instance, found);
    ToolBarLayout layout;
    if (!data || !readToolBarResource(data, size, &layout))
        return FALSE;

    std::vector<TBBUTTON> buttons(layout.ids.size());
    int images = 0;
    for (size_t i = 0; i < layout.ids.size(); ++i) {
        TBBUTTON& b = buttons[i];
        b = TBBUTTON();
        b.idCommand = (int)layout.ids[i];
        if (b.idCommand == 0) {
            b.fsStyle = TBSTYLE_SEP;
        } else {
            b.iBitmap = images++;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = TBSTYLE_BUTTON;
        }
    }
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(layout.width, layout.height));
    if (images > 0) {
        TBADDBITMAP bitmap = {instance, nIDResource};
        SendMessage(TB_ADDBITMAP, (WPARAM)images, (LPARAM)&bitmap);
    }
    if (!buttons.empty())
        SendMessage(TB_ADDBUTTONSA, buttons.size(), (LPARAM)buttons.data());
    SendMessage(TB_AUTOSIZE);
    return TRUE;
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    DWORD style = WS_CHILD | (dwStyle & WS_VISIBLE) | CCS_BOTTOM;
    return CWnd::CreateEx(0, STATUSCLASSNAMEA, NULL, style, 0, 0, 0, 0, AfxSafeHandle(pParentWnd),
                          (HMENU)(UINT_PTR)nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount <= 0 || nIDCount > 255)
        return FALSE;
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
        if (lpIDArray[i] != ID_SEPARATOR)
            ::LoadStringA(instance, lpIDArray[i], text, sizeof text);
        texts[i] = text;
        SIZE extent = {0, 0};
        ::GetTextExtentPoint32A(dc, text, texts[i].GetLength(), &extent);
        right += i == 0 ? 200 : extent.cx + 12;
        edges[i] = right;
    }
    edges[nIDCount - 1] = -1;
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(m_hWnd, dc);
    if (!SendMessage(SB_SETPARTS, (WPARAM)nIDCount, (LPARAM)edges.data()))
        return FALSE;
    for (int i = 0; i < nIDCount; ++i)
        SetPaneText(i, texts[i]);
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText)
{
    return (BOOL)SendMessage(SB_SETTEXTA, (WPARAM)nIndex, (LPARAM)lpszNewText);
}
