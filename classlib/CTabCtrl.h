#pragma once
// Tab control: each method one message.

#include "classlib/CWnd.h"

#include <commctrl.h>

class CTabCtrl : public CWnd {
public:
    LONG InsertItem(int nItem, TCITEM* pTabCtrlItem)
    {
        return (LONG)SendMessage(TCM_INSERTITEMA, (WPARAM)nItem, (LPARAM)pTabCtrlItem);
    }
    LONG InsertItem(int nItem, LPCTSTR lpszItem)
    {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPSTR>(lpszItem);
        return InsertItem(nItem, &item);
    }
    int GetCurSel() const { return (int)SendMessage(TCM_GETCURSEL); }
    int SetCurSel(int nItem) { return (int)SendMessage(TCM_SETCURSEL, (WPARAM)nItem); }
    BOOL GetItemRect(int nItem, LPRECT lpRect) const
    {
        return (BOOL)SendMessage(TCM_GETITEMRECT, (WPARAM)nItem, (LPARAM)lpRect);
    }
};
