#include "dialogs/XProgressCtrl.h"

IMPLEMENT_DYNAMIC(CXProgressCtrl, CProgressCtrl)

CXProgressCtrl::CXProgressCtrl()
    : barColor(RGB(128, 128, 255)),
      bgColor(RGB(235, 235, 235)),
      textColor(RGB(0, 0, 0)),
      textOnBarColor(RGB(255, 255, 255)),
      textAlign(1),
      showPercent(TRUE)
{
}

CXProgressCtrl::~CXProgressCtrl()
{
    if (verticalFont.GetSafeHandle() != NULL) {
        verticalFont.DeleteObject();
    }
}

BEGIN_MESSAGE_MAP(CXProgressCtrl, CProgressCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_PRINTCLIENT, &CXProgressCtrl::OnPrintClient)
END_MESSAGE_MAP()

CString CXProgressCtrl::captionText(const CString& windowText, double fraction, BOOL showPercent)
{
    CString caption = windowText;
    if (showPercent) {
        caption.AppendFormat("%d%% ", (int)(fraction * 100 + 0.5));
    }
    return caption;
}

int CXProgressCtrl::barLength(int length, double fraction)
{
    return (int)(length * fraction);
}

void CXProgressCtrl::OnPaint()
{
    CPaintDC dc(this);
    paint(&dc);
}

BOOL CXProgressCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

LRESULT CXProgressCtrl::OnPrintClient(WPARAM wParam, LPARAM)
{
    paint(CDC::FromHandle((HDC)wParam));
    return 0;
}

void CXProgressCtrl::paint(CDC* dc)
{
    int lower = 0;
    int upper = 0;
    GetRange(lower, upper);
    int position = GetPos();
    BOOL vertical = (GetStyle() & PBS_VERTICAL) != 0;

    CRect client;
    GetClientRect(&client);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, client.Width(), client.Height());
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);

    HFONT parentFont = NULL;
    if (GetParent() != NULL) {
        parentFont = (HFONT)GetParent()->SendMessage(WM_GETFONT, 0, 0);
    }
    if (vertical && verticalFont.GetSafeHandle() == NULL && parentFont != NULL) {
        LOGFONTA font;
        GetObjectA(parentFont, sizeof(font), &font);
        font.lfEscapement = 900;  // runs bottom to top
        verticalFont.CreateFontIndirect(&font);
    }
    HFONT chosenFont = vertical ? (HFONT)verticalFont.GetSafeHandle() : parentFont;
    HGDIOBJ oldFont = NULL;
    if (chosenFont != NULL) {
        oldFont = SelectObject(memory.GetSafeHdc(), chosenFont);
    }

    // A range without length has no fraction; it shows as empty.
    double fraction = upper == lower ? 0.0 : (double)(position - lower) / (double)(upper - lower);

    memory.DrawEdge(&client, EDGE_SUNKEN, BF_RECT | BF_FLAT);
    CRect inner = client;
    inner.InflateRect(-2, -2);
    memory.FillSolidRect(&inner, bgColor);

    CString windowText;
    GetWindowText(windowText);
    CString caption = captionText(windowText, fraction, showPercent);

    memory.SetBkMode(TRANSPARENT);
    memory.SetTextColor(textColor);
    CSize extent = memory.GetTextExtent(caption, caption.GetLength());

    int x;
    int y;
    CRect bar;
    if (!vertical) {
        if (textAlign == 0) {
            x = inner.left;
        } else if (textAlign == 2) {
            x = inner.right - extent.cx;
        } else {
            x = inner.left + (inner.right - extent.cx - inner.left) / 2;
        }
        y = inner.top + (inner.bottom - extent.cy - inner.top) / 2;
        bar.SetRect(inner.left, inner.top, inner.left + barLength(inner.Width(), fraction), inner.bottom);
    } else {
        if (textAlign == 0) {
            y = inner.bottom;
        } else if (textAlign == 2) {
            y = inner.top + extent.cx;
        } else {
            y = inner.bottom - (inner.bottom - extent.cx - inner.top) / 2;
        }
        x = inner.left + (inner.right - extent.cy - inner.left) / 2;
        bar.SetRect(inner.left, inner.bottom - barLength(inner.Height(), fraction), inner.right, inner.bottom);
    }

    // The second pass redraws, clipped to the bar, the part of the caption
    // that lies over it.
    memory.FillSolidRect(&bar, barColor);
    memory.SetBkColor(barColor);  // ETO_OPAQUE fills the bar with it again
    memory.SetTextColor(textColor);
    memory.ExtTextOut(x, y, ETO_OPAQUE, &bar, caption, caption.GetLength(), NULL);
    memory.SetTextColor(textOnBarColor);
    memory.ExtTextOut(x, y, ETO_CLIPPED, &bar, caption, caption.GetLength(), NULL);

    dc->BitBlt(client.left, client.top, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);

    if (oldFont != NULL) {
        SelectObject(memory.GetSafeHdc(), oldFont);
    }
    memory.SelectObject(oldBitmap);
    bitmap.DeleteObject();
    memory.DeleteDC();
}
