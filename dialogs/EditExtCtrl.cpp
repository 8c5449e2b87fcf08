#include "dialogs/EditExtCtrl.h"

CEditExtCtrl::CEditExtCtrl()
    : textColor(GetSysColor(COLOR_WINDOWTEXT)),
      backColor(GetSysColor(COLOR_WINDOW))
{
    backBrush.CreateSolidBrush(GetSysColor(COLOR_WINDOW));
}

CEditExtCtrl::~CEditExtCtrl()
{
}

BEGIN_MESSAGE_MAP(CEditExtCtrl, CEdit)
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT(EN_UPDATE, &CEditExtCtrl::OnUpdate)
END_MESSAGE_MAP()

void CEditExtCtrl::setTextColor(COLORREF color)
{
    textColor = color;
    InvalidateRect(NULL, TRUE);
}

HBRUSH CEditExtCtrl::CtlColor(CDC* dc, UINT)
{
    dc->SetTextColor(textColor);
    dc->SetBkColor(backColor);
    return (HBRUSH)backBrush.GetSafeHandle();
}

void CEditExtCtrl::OnUpdate()
{
    // The parent paints the background under the text: let it repaint that
    // part before the changed text is drawn over it.
    CWnd* parent = GetParent();
    if (parent == NULL) {
        return;
    }
    CRect area;
    GetWindowRect(&area);
    parent->ScreenToClient(&area);
    parent->InvalidateRect(&area, TRUE);
}
