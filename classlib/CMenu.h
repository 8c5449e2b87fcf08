#pragma once
// Menus. A CMenu owns its menu (DestroyMenu when destroyed) unless detached;
// GetSubMenu gives a temporary wrapper of the sub-menu.

#include "classlib/HandleObject.h"
#include "classlib/Types.h"

class CWnd;

class CMenu : public CHandleObject<CMenu, HMENU> {
public:
    HMENU& m_hMenu = m_handle;

    static BOOL destroyHandle(HMENU h) { return ::DestroyMenu(h); }
    HMENU GetSafeHmenu() const { return m_handle; }

    BOOL LoadMenu(UINT nIDResource);
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL DestroyMenu() { return destroy(); }
    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
    // Pop-up at (x, y) in screen coordinates; the owner gets WM_INITMENUPOPUP
    // (its update handlers run) and the chosen command.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = NULL);

    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return (UINT)::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL)
    {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = NULL)
    {
        return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    }
};
