#pragma once
// Message maps: each class that handles messages has a static table of
// entries (message, notification code, control-id range, handler signature,
// member pointer), ending in an empty entry, and a link to its base class's
// table. The window procedure walks the tables from the most derived class up
// and calls the first matching handler according to its signature.
//
//   BEGIN_MESSAGE_MAP(CChatDlg, CDialog)
//     ON_WM_TIMER()
//     ON_BN_CLICKED(IDC_BUTTON_SEND, &CChatDlg::OnSend)
//     ON_MESSAGE(WM_USER_RECEIVE_MESSAGE, &CChatDlg::OnReceive)
//   END_MESSAGE_MAP()
//
// Handlers are named as member pointers (&CClass::OnThing). A handler whose
// type does not fit its entry is a compile error.

#include "classlib/Types.h"

class CCmdTarget;
class CCmdUI;
class CDC;
class CMenu;
class CWnd;
class CPoint;

typedef void (CCmdTarget::*AFX_PMSG)();

// Marks message handlers in class declarations; expands to nothing.
#define afx_msg

// How the window procedure calls a handler and turns its result into the
// message's result: one kind per handler shape.
enum AfxSig : UINT_PTR {
    AfxSig_end = 0,  // end of a table
    AfxSig_v_v,  // void f()                              commands, notifications, plain messages
    AfxSig_i_CREATE,  // int f(LPCREATESTRUCT)                 WM_CREATE
    AfxSig_v_u_W_b,  // void f(UINT, CWnd*, BOOL)             WM_ACTIVATE
    AfxSig_b_D,  // BOOL f(CDC*)                          WM_ERASEBKGND
    AfxSig_v_up,  // void f(UINT_PTR)                      WM_TIMER
    AfxSig_v_u_p,  // void f(UINT, CPoint)                  mouse messages
    AfxSig_v_W,  // void f(CWnd*)                         WM_KILLFOCUS
    AfxSig_h_D_W_u,  // HBRUSH f(CDC*, CWnd*, UINT)           WM_CTLCOLOR
    AfxSig_h_D_u,  // HBRUSH f(CDC*, UINT)                  reflected WM_CTLCOLOR
    AfxSig_v_u_u_u,  // void f(UINT, UINT, UINT)              WM_HOTKEY
    AfxSig_v_HDROP,  // void f(HDROP)                         WM_DROPFILES
    AfxSig_v_u_i_i,  // void f(UINT, int, int)                WM_SIZE
    AfxSig_v_MENU_u_b,  // void f(CMenu*, UINT, BOOL)            WM_INITMENUPOPUP
    AfxSig_l_w_l,  // LRESULT f(WPARAM, LPARAM)             ON_MESSAGE
    AfxSig_v_CMDUI,  // void f(CCmdUI*)                       ON_UPDATE_COMMAND_UI
    AfxSig_v_NMHDR_l,  // void f(NMHDR*, LRESULT*)              ON_NOTIFY
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND / WM_NOTIFY for commands and notifications
    UINT nCode;  // notification code (CN_COMMAND for commands)
    UINT nID;  // first control or command id
    UINT nLastID;  // last id of the range (== nID for one id)
    UINT_PTR nSig;  // an AfxSig
    AFX_PMSG pfn;  // the handler, cast back to its shape by nSig
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Command codes as OnCmdMsg sees them.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
// A WM_NOTIFY notification reaches OnCmdMsg as MAKELONG(code, WM_NOTIFY).
#define AFX_NOTIFY_CODE(code) ((int)MAKELONG((WORD)(int)(code), WM_NOTIFY))

// Notifications a parent hands back to the child control that sent them
// arrive in the child's map as WM_REFLECT_BASE + the message.
#define WM_REFLECT_BASE 0xBC00
// MFC's single colour message: every WM_CTLCOLOR* is looked up as this one.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// Handler member pointers of any class derived from CCmdTarget are stored as
// AFX_PMSG and cast back to their real shape by the dispatcher. Both casts
// go through CCmdTarget-member pointers of the exact shape, so the round trip
// is the one the language allows.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
template <class To, class From> inline To afxMemberCast(From member)
{
    return reinterpret_cast<To>(member);
}
#pragma GCC diagnostic pop

template <class Sig, class Derived> inline AFX_PMSG afxHandler(Sig Derived::*handler)
{
    return afxMemberCast<AFX_PMSG>(static_cast<Sig CCmdTarget::*>(handler));
}

#define DECLARE_MESSAGE_MAP()                                                                                          \
protected:                                                                                                             \
    static const AFX_MSGMAP* GetThisMessageMap();                                                                      \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                                                  \
    {                                                                                                                  \
        return GetThisMessageMap();                                                                                    \
    }                                                                                                                  \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                                    \
    {                                                                                                                  \
        AFX_MSGMAP_ENTRIES(theClass, baseClass)

// The same for a class template of one type parameter: each instance gets
// the table, linked to the map of its own base (baseClass may name the
// parameter).
//
//   BEGIN_TEMPLATE_MESSAGE_MAP(CChatDialogBase, Base, Base)
//     ON_WM_DROPFILES()
//   END_MESSAGE_MAP()
#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, typeName, baseClass)                                                      \
    template <class typeName> const AFX_MSGMAP* theClass<typeName>::GetMessageMap() const                              \
    {                                                                                                                  \
        return GetThisMessageMap();                                                                                    \
    }                                                                                                                  \
    template <class typeName> const AFX_MSGMAP* theClass<typeName>::GetThisMessageMap()                                \
    {                                                                                                                  \
        AFX_MSGMAP_ENTRIES(theClass<typeName>, baseClass)

#define AFX_MSGMAP_ENTRIES(theClass, baseClass)                                                                        \
    typedef theClass ThisClass;                                                                                        \
    typedef baseClass TheBaseClass;                                                                                    \
    (void)sizeof(ThisClass*);                                                                                          \
    static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                                                              \
    {                                                                                                                  \
        0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0                                                                            \
    }                                                                                                                  \
    }                                                                                                                  \
    ;                                                                                                                  \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, &entries[0]};                                     \
    return &map;                                                                                                       \
    }

// ---- window messages -------------------------------------------------------
#define AFX_WM_ENTRY(msg, sig, shape, name) {msg, 0, 0, 0, sig, afxHandler<shape>(&ThisClass::name)},

#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, AfxSig_i_CREATE, int(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, AfxSig_v_v, void(), OnDestroy)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY(WM_ACTIVATE, AfxSig_v_u_W_b, void(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, AfxSig_v_v, void(), OnClose)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, AfxSig_v_v, void(), OnPaint)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, AfxSig_b_D, BOOL(CDC*), OnEraseBkgnd)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, AfxSig_v_up, void(UINT_PTR), OnTimer)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, AfxSig_v_u_p, void(UINT, CPoint), OnMouseMove)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, AfxSig_v_W, void(CWnd*), OnKillFocus)
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY(WM_CTLCOLOR, AfxSig_h_D_W_u, HBRUSH(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_HOTKEY() AFX_WM_ENTRY(WM_HOTKEY, AfxSig_v_u_u_u, void(UINT, UINT, UINT), OnHotKey)
#define ON_WM_DROPFILES() AFX_WM_ENTRY(WM_DROPFILES, AfxSig_v_HDROP, void(HDROP), OnDropFiles)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, AfxSig_v_u_i_i, void(UINT, int, int), OnSize)
#define ON_WM_INITMENUPOPUP()                                                                                          \
    AFX_WM_ENTRY(WM_INITMENUPOPUP, AfxSig_v_MENU_u_b, void(CMenu*, UINT, BOOL), OnInitMenuPopup)

// LRESULT f(WPARAM, LPARAM) for any message, usually a private WM_USER + n.
#define ON_MESSAGE(message, memberFxn)                                                                                 \
    {(UINT)(message), 0, 0, 0, AfxSig_l_w_l, afxHandler<LRESULT(WPARAM, LPARAM)>(memberFxn)},

// ---- commands and control notifications ------------------------------------
#define ON_COMMAND(id, memberFxn)                                                                                      \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSig_v_v, afxHandler<void()>(memberFxn)},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                            \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), AfxSig_v_CMDUI, afxHandler<void(CCmdUI*)>(memberFxn)},
#define ON_CONTROL(code, id, memberFxn)                                                                                \
    {WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), AfxSig_v_v, afxHandler<void()>(memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn)                                                                                 \
    {WM_NOTIFY,  (UINT)(WORD)(int)(code), (UINT)(id),                                                                  \
     (UINT)(id), AfxSig_v_NMHDR_l,        afxHandler<void(NMHDR*, LRESULT*)>(memberFxn)},

// ---- notifications reflected to the control that sent them -----------------
#define ON_CONTROL_REFLECT(code, memberFxn)                                                                            \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0, AfxSig_v_v, afxHandler<void()>(memberFxn)},
// HBRUSH CtlColor(CDC*, UINT): a non-NULL brush paints the control.
#define ON_WM_CTLCOLOR_REFLECT()                                                                                       \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, AfxSig_h_D_u, afxHandler<HBRUSH(CDC*, UINT)>(&ThisClass::CtlColor)},
