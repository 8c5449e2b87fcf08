#include "classlib/CListCtrl.h"

#include "classlib/GrowingText.h"

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.fmt = nFormat;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading);
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return (int)SendMessage(LVM_INSERTCOLUMNA, (WPARAM)nCol, (LPARAM)&column);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return InsertItem(&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText)
{
    LVITEMA item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(lpszText);
    return (BOOL)SendMessage(LVM_SETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    return afxReadGrowingText([&](char* buffer, int size) {
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.cchTextMax = size;
        item.pszText = buffer;
        SendMessage(LVM_GETITEMTEXTA, (WPARAM)nItem, (LPARAM)&item);
    });
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMA item = {};
    item.state = nState;
    item.stateMask = nMask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)&item);
}

// A position is the item's index + 1, so that NULL ends the walk.
POSITION CListCtrl::GetFirstSelectedItemPosition() const
{
    int first = GetNextItem(-1, LVNI_SELECTED);
    return (POSITION)(INT_PTR)(first + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    int current = (int)(INT_PTR)pos - 1;
    int next = GetNextItem(current, LVNI_SELECTED);
    pos = (POSITION)(INT_PTR)(next + 1);
    return current;
}
