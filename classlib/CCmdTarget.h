#pragma once
// CCmdTarget: an object with a message map that commands can be routed to
// (windows, the application, documents). CCmdUI: the state of one menu item
// while update handlers (ON_UPDATE_COMMAND_UI) decide it.

#include "classlib/CObject.h"
#include "classlib/MessageMap.h"
#include "classlib/RuntimeClass.h"
#include "classlib/Types.h"

// What OnCmdMsg reports when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// pExtra of a WM_NOTIFY notification routed through OnCmdMsg.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    virtual ~CCmdTarget();

    // Routes a command (nCode CN_COMMAND or a WM_COMMAND notification code),
    // an update request (CN_UPDATE_COMMAND_UI, pExtra = CCmdUI*) or a WM_NOTIFY
    // notification (AFX_NOTIFY_CODE(code), pExtra = AFX_NOTIFY*) to this
    // object's message map. With pHandlerInfo it only tells whether a handler
    // exists. TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The first entry of this object's map chain for (message, code, id).
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

class CMenu;

class CCmdUI {
public:
    UINT m_nID;
    UINT m_nIndex;  // position of the item in m_pMenu
    CMenu* m_pMenu;  // the menu being updated
    BOOL m_bEnableChanged;

    CCmdUI();
    virtual ~CCmdUI() {}
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 unchecked, 1 checked
    virtual void SetText(LPCTSTR lpszText);

    // Asks `target` to update this item. With bDisableIfNoHandler an item
    // without an update handler is enabled when a command handler exists for it
    // and disabled when none does.
    BOOL DoUpdate(CCmdTarget* target, BOOL bDisableIfNoHandler);
};
