// Message-map dispatch through real windows: commands, notifications,
// ON_MESSAGE results, reflection to the control, update handlers on a pop-up
// menu, and the binding of objects to windows.

#include <gtest/gtest.h>

#include "classlib/AfxWin.h"

namespace {

const UINT ID_CMD_HANDLED = 40001;
const UINT ID_CMD_CHECKED = 40002;
const UINT ID_CMD_ORPHAN = 40003;
const UINT ID_CMD_FROM_BASE = 40004;
const int IDC_TEST_EDIT = 1001;
const int IDC_TEST_LIST = 1002;
const UINT WM_TEST_SUM = WM_APP + 1;
const UINT WM_TEST_BASE_ONLY = WM_APP + 2;
const UINT TEST_NOTIFY_CODE = (UINT)NM_CLICK;

// An edit control that colours itself and wants its own EN_UPDATE.
class ReflectingEdit : public CEdit {
public:
    CBrush brush;
    int updates = 0;
    UINT lastColorKind = 99;
    ReflectingEdit() { brush.CreateSolidBrush(RGB(1, 2, 3)); }
    afx_msg void OnReflectedUpdate() { ++updates; }
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        lastColorKind = nCtlColor;
        return pDC ? (HBRUSH)brush : NULL;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingEdit, CEdit)
    ON_CONTROL_REFLECT(EN_UPDATE, &ReflectingEdit::OnReflectedUpdate)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

// The base class's map: the derived map must chain to it.
class BaseWindow : public CWnd {
public:
    int baseCommands = 0;
    afx_msg void OnBaseCommand() { ++baseCommands; }
    afx_msg LRESULT OnBaseOnly(WPARAM, LPARAM) { return 11; }
    afx_msg LRESULT OnOverridden(WPARAM, LPARAM) { return 1; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWindow, CWnd)
    ON_COMMAND(ID_CMD_FROM_BASE, &BaseWindow::OnBaseCommand)
    ON_MESSAGE(WM_TEST_BASE_ONLY, &BaseWindow::OnBaseOnly)
    ON_MESSAGE(WM_TEST_SUM, &BaseWindow::OnOverridden)
END_MESSAGE_MAP()

class TestWindow : public BaseWindow {
public:
    int commands = 0;
    int parentEditUpdates = 0;
    int parentEditChanges = 0;
    NMHDR* lastNotify = NULL;
    int created = 0;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        ++created;
        return CWnd::OnCreate(lpcs);
    }
    afx_msg void OnHandled() { ++commands; }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnParentEditUpdate() { ++parentEditUpdates; }
    afx_msg void OnParentEditChange() { ++parentEditChanges; }
    afx_msg void OnListClick(NMHDR* pNMHDR, LRESULT* pResult)
    {
        lastNotify = pNMHDR;
        *pResult = 7;
    }
    afx_msg LRESULT OnSum(WPARAM wParam, LPARAM lParam) { return (LRESULT)wParam + lParam; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestWindow, BaseWindow)
    ON_WM_CREATE()
    ON_COMMAND(ID_CMD_HANDLED, &TestWindow::OnHandled)
    ON_UPDATE_COMMAND_UI(ID_CMD_CHECKED, &TestWindow::OnUpdateChecked)
    ON_EN_UPDATE(IDC_TEST_EDIT, &TestWindow::OnParentEditUpdate)
    ON_EN_CHANGE(IDC_TEST_EDIT, &TestWindow::OnParentEditChange)
    ON_NOTIFY(TEST_NOTIFY_CODE, IDC_TEST_LIST, &TestWindow::OnListClick)
    ON_MESSAGE(WM_TEST_SUM, &TestWindow::OnSum)
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
protected:
    TestWindow window;
    ReflectingEdit edit;

    void SetUp() override
    {
        ASSERT_TRUE(window.CreateEx(0, NULL, "test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, NULL));
        ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &window, IDC_TEST_EDIT));
    }
    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return ::SendMessageA(window.m_hWnd, message, wParam, lParam);
    }
};

TEST_F(MessageMapTest, WindowsAreBoundToTheirObjects)
{
    EXPECT_EQ(window.created, 1) << "WM_CREATE reaches a window made by CreateEx";
    EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
    EXPECT_EQ(CWnd::FromHandle(edit.m_hWnd), &edit);
    EXPECT_EQ(window.GetDlgItem(IDC_TEST_EDIT), &edit);

    // A window of somebody else: a temporary wrapper, the same one each time.
    HWND foreign = ::CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 10, 10, window.m_hWnd, NULL, NULL, NULL);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    CWnd* wrapper = CWnd::FromHandle(foreign);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(wrapper->m_hWnd, foreign);
    EXPECT_EQ(CWnd::FromHandle(foreign), wrapper);
    AfxDeleteTemporaryObjects();
    EXPECT_TRUE(::IsWindow(foreign)) << "deleting a wrapper leaves the window alone";
}

TEST_F(MessageMapTest, CommandsRouteByIdAndChainToTheBaseMap)
{
    send(WM_COMMAND, MAKEWPARAM(ID_CMD_HANDLED, 0), 0);  // menu
    send(WM_COMMAND, MAKEWPARAM(ID_CMD_HANDLED, 1), 0);  // accelerator
    send(WM_COMMAND, MAKEWPARAM(ID_CMD_ORPHAN, 0), 0);
    send(WM_COMMAND, MAKEWPARAM(ID_CMD_FROM_BASE, 0), 0);
    EXPECT_EQ(window.commands, 2);
    EXPECT_EQ(window.baseCommands, 1);

    EXPECT_EQ(send(WM_TEST_SUM, 30, 12), 42) << "the derived entry wins over the base's";
    EXPECT_EQ(send(WM_TEST_BASE_ONLY, 0, 0), 11);
}

TEST_F(MessageMapTest, NotificationsReachTheirEntryByCodeAndId)
{
    NMHDR header = {NULL, (UINT_PTR)IDC_TEST_LIST, TEST_NOTIFY_CODE};
    EXPECT_EQ(send(WM_NOTIFY, IDC_TEST_LIST, (LPARAM)&header), 7);
    EXPECT_EQ(window.lastNotify, &header);

    window.lastNotify = NULL;
    NMHDR otherId = {NULL, (UINT_PTR)IDC_TEST_LIST + 1, TEST_NOTIFY_CODE};
    NMHDR otherCode = {NULL, (UINT_PTR)IDC_TEST_LIST, (UINT)NM_DBLCLK};
    EXPECT_EQ(send(WM_NOTIFY, IDC_TEST_LIST + 1, (LPARAM)&otherId), 0);
    EXPECT_EQ(send(WM_NOTIFY, IDC_TEST_LIST, (LPARAM)&otherCode), 0);
    EXPECT_EQ(window.lastNotify, nullptr);
}

TEST_F(MessageMapTest, ControlNotificationsAreOfferedToTheControlFirst)
{
    LPARAM from = (LPARAM)edit.m_hWnd;
    send(WM_COMMAND, MAKEWPARAM(IDC_TEST_EDIT, EN_UPDATE), from);
    send(WM_COMMAND, MAKEWPARAM(IDC_TEST_EDIT, EN_CHANGE), from);
    EXPECT_EQ(edit.updates, 1);
    EXPECT_EQ(window.parentEditUpdates, 0) << "a reflected notification is the control's alone";
    EXPECT_EQ(window.parentEditChanges, 1) << "one the control does not reflect goes to the parent";

    // The real thing: typing into the control.
    edit.updates = 0;
    window.parentEditChanges = 0;
    edit.ReplaceSel("typed");
    EXPECT_EQ(window.parentEditChanges, 1);
}

TEST_F(MessageMapTest, ColourMessagesUseTheControlsReflectedBrush)
{
    HDC dc = ::GetDC(edit.m_hWnd);
    LRESULT brush = send(WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)edit.m_hWnd);
    EXPECT_EQ((HBRUSH)brush, (HBRUSH)edit.brush);
    EXPECT_EQ(edit.lastColorKind, (UINT)CTLCOLOR_EDIT);

    // A control that does not reflect: the window's default answer.
    HWND plain = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 10, 10, window.m_hWnd, NULL, NULL, NULL);
    LRESULT fallback = send(WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)plain);
    EXPECT_EQ(fallback, ::DefWindowProcA(window.m_hWnd, WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)plain));
    ::ReleaseDC(edit.m_hWnd, dc);
}

TEST_F(MessageMapTest, UpdateHandlersSetPopupMenuItemsOnInitMenuPopup)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING | MF_GRAYED, ID_CMD_HANDLED, "handled");
    menu.AppendMenu(MF_STRING, ID_CMD_CHECKED, "checked");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_CMD_ORPHAN, "orphan");
    menu.AppendMenu(MF_STRING | MF_GRAYED, ID_CMD_FROM_BASE, "base");

    send(WM_INITMENUPOPUP, (WPARAM)menu.m_hMenu, MAKELPARAM(0, FALSE));

    EXPECT_TRUE(menu.GetMenuState(ID_CMD_CHECKED, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(menu.GetMenuState(ID_CMD_CHECKED, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(menu.GetMenuState(ID_CMD_HANDLED, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED))
        << "an item with a command handler is enabled";
    EXPECT_FALSE(menu.GetMenuState(ID_CMD_FROM_BASE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(menu.GetMenuState(ID_CMD_ORPHAN, MF_BYCOMMAND) & MF_GRAYED) << "no handler at all: disabled";
}

TEST(WindowBinding, AControlOutlivingItsObjectGetsItsOwnProcedureBack)
{
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    LONG_PTR ownProcedure = ::GetWindowLongPtrA(edit, GWLP_WNDPROC);
    {
        CEdit wrapper;
        ASSERT_TRUE(wrapper.SubclassWindow(edit));
        EXPECT_EQ(::GetWindowLongPtrA(edit, GWLP_WNDPROC), (LONG_PTR)AfxWndProc);
        wrapper.SetWindowText("kept");
    }
    EXPECT_EQ(::GetWindowLongPtrA(edit, GWLP_WNDPROC), ownProcedure);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    char text[16] = "";
    ::GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "kept");
    ::DestroyWindow(edit);
}

TEST(WindowBinding, LettingGoOfASubclassedControlGivesItsProcedureBack)
{
    for (bool unsubclass : {false, true}) {
        SCOPED_TRACE(unsubclass ? "UnsubclassWindow" : "Detach");
        HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        HWND label = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        LONG_PTR editProcedure = ::GetWindowLongPtrA(edit, GWLP_WNDPROC);
        LONG_PTR labelProcedure = ::GetWindowLongPtrA(label, GWLP_WNDPROC);
        {
            CEdit wrapper;
            ASSERT_TRUE(wrapper.SubclassWindow(edit));
            EXPECT_EQ(unsubclass ? wrapper.UnsubclassWindow() : wrapper.Detach(), edit);
            EXPECT_EQ(::GetWindowLongPtrA(edit, GWLP_WNDPROC), editProcedure);
            EXPECT_EQ(::SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 1) << "the edit control still answers";
            // Attached to another window later, the object leaves that one's procedure alone.
            ASSERT_TRUE(wrapper.Attach(label));
        }
        EXPECT_EQ(::GetWindowLongPtrA(label, GWLP_WNDPROC), labelProcedure);
        ::DestroyWindow(edit);
        ::DestroyWindow(label);
    }
}

// A parent that makes a window of its own while a child control is being
// created (WM_PARENTNOTIFY arrives before CreateWindowEx returns).
class SpawningParent : public CWnd {
public:
    CWnd spawned;
    afx_msg LRESULT OnParentNotify(WPARAM wParam, LPARAM)
    {
        if (LOWORD(wParam) == WM_CREATE && !spawned.m_hWnd)
            spawned.CreateEx(0, NULL, "spawned", WS_POPUP, 0, 0, 10, 10, NULL, NULL);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SpawningParent, CWnd)
    ON_MESSAGE(WM_PARENTNOTIFY, &SpawningParent::OnParentNotify)
END_MESSAGE_MAP()

TEST(WindowBinding, AControlMadeWhileItsParentMakesAWindowIsStillBound)
{
    SpawningParent parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL));
    CEdit edit;
    ASSERT_TRUE(edit.CreateEx(0, "EDIT", "", WS_CHILD, CRect(0, 0, 50, 20), &parent, 1));
    ASSERT_NE(parent.spawned.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(parent.spawned.m_hWnd), &parent.spawned);
    ASSERT_NE(edit.m_hWnd, nullptr);
    EXPECT_EQ(edit.m_hWnd, ::GetDlgItem(parent.m_hWnd, 1));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit.m_hWnd), &edit);
    EXPECT_EQ(::GetWindowLongPtrA(edit.m_hWnd, GWLP_WNDPROC), (LONG_PTR)AfxWndProc);
}

TEST(WindowBinding, DestroyingTheWindowUnbindsTheObject)
{
    TestWindow window;
    ASSERT_TRUE(window.CreateEx(0, NULL, "gone", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL));
    HWND hWnd = window.m_hWnd;
    EXPECT_TRUE(window.DestroyWindow());
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(hWnd));
}

}  // namespace
