#include "classlib/CCmdTarget.h"

#include "classlib/CMenu.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

// The root of every map chain: no entries, no base.
const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0}};
    static const AFX_MSGMAP map = {NULL, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

CCmdTarget::CCmdTarget()
{
}
CCmdTarget::~CCmdTarget()
{
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e)
            if (e->nMessage == message && e->nCode == code && e->nID <= id && id <= e->nLastID)
                return e;
    }
    return NULL;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT message = WM_COMMAND;
    UINT code = (UINT)nCode;
    if (nCode != (int)CN_UPDATE_COMMAND_UI && HIWORD(nCode) == WM_NOTIFY) {
        message = WM_NOTIFY;
        code = LOWORD(nCode);
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, code, nID);
    if (!entry)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = entry->pfn;
        return TRUE;
    }
    switch (entry->nSig) {
    case AfxSig_v_v:
        (this->*entry->pfn)();
        return TRUE;
    case AfxSig_v_CMDUI: {
        CCmdUI* cmdUI = static_cast<CCmdUI*>(pExtra);
        (this->*afxMemberCast<void (CCmdTarget::*)(CCmdUI*)>(entry->pfn))(cmdUI);
        return TRUE;
    }
    case AfxSig_v_NMHDR_l: {
        AFX_NOTIFY* notify = static_cast<AFX_NOTIFY*>(pExtra);
        (this->*afxMemberCast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(entry->pfn))(notify->pNMHDR, notify->pResult);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// ---- CCmdUI -----------------------------------------------------------------

CCmdUI::CCmdUI()
    : m_nID(0),
      m_nIndex(0),
      m_pMenu(NULL),
      m_bEnableChanged(FALSE)
{
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu)
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(LPCTSTR lpszText)
{
    if (!m_pMenu)
        return;
    // ModifyMenu keeps the id; carry the state over, which it would reset.
    UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) & (MF_CHECKED | MF_DISABLED | MF_GRAYED);
    m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL bDisableIfNoHandler)
{
    m_bEnableChanged = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, NULL);
    // An item nobody updates is enabled exactly when some command handler
    // exists for it.
    if (!handled && bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {NULL, NULL};
        BOOL hasHandler = target->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(hasHandler);
    }
    return handled;
}
