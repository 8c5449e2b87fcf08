// The message map dispatch of CWnd: finding the entry for a message and
// calling its handler with the message's parameters unpacked according to the
// handler's signature kind.

#include "classlib/CDC.h"
#include "classlib/CMenu.h"
#include "classlib/CWnd.h"

namespace {

bool isColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

template <class Shape> Shape CCmdTarget::*handlerOf(const AFX_MSGMAP_ENTRY* entry)
{
    return afxMemberCast<Shape CCmdTarget::*>(entry->pfn);
}

// Calls the entry's handler for (message, wParam, lParam). FALSE when the
// handler declined (a reflected colour handler that gave no brush).
BOOL dispatchWindowMessage(CCmdTarget* target, const AFX_MSGMAP_ENTRY* entry, UINT message, WPARAM wParam,
                           LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    UINT colorKind = isColorMessage(message) ? message - WM_CTLCOLORMSGBOX : 0;
    switch (entry->nSig) {
    case AfxSig_v_v:
        (target->*entry->pfn)();
        break;
    case AfxSig_i_CREATE:
        result = (target->*handlerOf<int(LPCREATESTRUCT)>(entry))(reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case AfxSig_v_u_W_b:
        (target->*handlerOf<void(UINT, CWnd*, BOOL)>(entry))(LOWORD(wParam), CWnd::FromHandle((HWND)lParam),
                                                             (BOOL)HIWORD(wParam));
        break;
    case AfxSig_b_D:
        result = (target->*handlerOf<BOOL(CDC*)>(entry))(CDC::FromHandle((HDC)wParam));
        break;
    case AfxSig_v_up:
        (target->*handlerOf<void(UINT_PTR)>(entry))((UINT_PTR)wParam);
        break;
    case AfxSig_v_u_p:
        (target->*handlerOf<void(UINT, CPoint)>(entry))((UINT)wParam,
                                                        CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
        break;
    case AfxSig_v_W:
        (target->*handlerOf<void(CWnd*)>(entry))(CWnd::FromHandle((HWND)wParam));
        break;
    case AfxSig_h_D_W_u:
        result = (LRESULT)(target->*handlerOf<HBRUSH(CDC*, CWnd*, UINT)>(entry))(
            CDC::FromHandle((HDC)wParam), CWnd::FromHandle((HWND)lParam), colorKind);
        break;
    case AfxSig_h_D_u: {
        HBRUSH brush = (target->*handlerOf<HBRUSH(CDC*, UINT)>(entry))(CDC::FromHandle((HDC)wParam), colorKind);
        if (!brush)
            return FALSE;
        result = (LRESULT)brush;
        break;
    }
    case AfxSig_v_u_u_u:
        (target->*handlerOf<void(UINT, UINT, UINT)>(entry))((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_v_HDROP:
        (target->*handlerOf<void(HDROP)>(entry))((HDROP)wParam);
        break;
    case AfxSig_v_u_i_i:
        (target->*handlerOf<void(UINT, int, int)>(entry))((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_v_MENU_u_b:
        (target->*handlerOf<void(CMenu*, UINT, BOOL)>(entry))(CMenu::FromHandle((HMENU)wParam), LOWORD(lParam),
                                                              (BOOL)HIWORD(lParam));
        break;
    case AfxSig_l_w_l:
        result = (target->*handlerOf<LRESULT(WPARAM, LPARAM)>(entry))(wParam, lParam);
        break;
    default:
        return FALSE;
    }
    *pResult = result;
    return TRUE;
}

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        if (!lParam)
            return FALSE;
        LRESULT result = 0;
        if (!OnNotify(wParam, lParam, &result))
            return FALSE;
        *pResult = result;
        return TRUE;
    }
    // Every WM_CTLCOLOR* is looked up as the one WM_CTLCOLOR entry.
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(isColorMessage(message) ? WM_CTLCOLOR : message, 0, 0);
    return entry && dispatchWindowMessage(this, entry, message, wParam, lParam, pResult);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    HWND control = (HWND)lParam;
    int code = HIWORD(wParam);
    if (control) {
        // The control's own ON_CONTROL_REFLECT entry comes first.
        CWnd* child = FromHandlePermanent(control);
        LRESULT ignored = 0;
        if (child && child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, &ignored))
            return TRUE;
    } else {
        code = CN_COMMAND;  // a menu item (0) or an accelerator (1)
    }
    return OnCmdMsg(id, code, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    AFX_NOTIFY notify = {pResult, header};
    return OnCmdMsg((UINT)header->idFrom, AFX_NOTIFY_CODE(header->code), &notify, NULL);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* entry = NULL;
    if (message == WM_COMMAND)
        entry = FindMessageEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
    else if (isColorMessage(message))
        entry = FindMessageEntry(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
    return entry && dispatchWindowMessage(this, entry, message, wParam, lParam, pResult);
}
