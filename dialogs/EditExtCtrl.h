#pragma once

#include "classlib/AfxWin.h"

// An edit that colours its own text; the buddy list draws its name and
// group edits with it over its patterned background.
class CEditExtCtrl : public CEdit {
public:
    CEditExtCtrl();
    virtual ~CEditExtCtrl();

    // Redraws the whole control in the new colour at once.
    void setTextColor(COLORREF color);

    COLORREF textColor;
    COLORREF backColor;
    CBrush backBrush;

protected:
    HBRUSH CtlColor(CDC* dc, UINT controlType);
    void OnUpdate();
    DECLARE_MESSAGE_MAP()
};
