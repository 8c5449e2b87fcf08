// Where the windows of the program open and what they show in their captions:
// every window that stands alone carries the program's icon, big and small,
// and the receive-progress window and the shared-folder browser open beside
// the buddy list, wholly inside the work area.
#include "tests/unit/support/UiTestSupport.h"

#include "core/Globals.h"
#include "dialogs/ChartAllDlg.h"
#include "dialogs/ChartDlg.h"
#include "dialogs/ReceiveProgressDlg.h"
#include "dialogs/SettingDlg.h"
#include "dialogs/ShareFloderDlg.h"
#include "shell/AboutDlg.h"
#include "shell/ShowMsgDlg.h"
#include "shell/UserListDlg.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

HICON captionIcon(HWND window, WPARAM size)
{
    return (HICON)::SendMessageA(window, WM_GETICON, size, 0);
}

HICON programSmallIcon()
{
    int size = GetSystemMetrics(SM_CXSMICON);
    return (HICON)LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size,
                             LR_SHARED);
}

struct TopLevel {
    const char* name;
    UINT templateId;
    std::unique_ptr<CDialog> (*make)();
};

template <class Dialog> std::unique_ptr<CDialog> make()
{
    return std::unique_ptr<CDialog>(new Dialog);
}

const TopLevel TOP_LEVELS[] = {
    {"buddy list", IDD_USER_LIST_DLG, make<CUserListDlg>},
    {"chat", IDD_CHART_DLG, make<CChartDlg>},
    {"group send", IDD_CHART_ALL_DLG, make<CChartAllDlg>},
    {"receive progress", IDD_RECEIVE_PROGRESS_DLG, make<CReceiveProgressDlg>},
    {"shared folders", IDD_SHARE_FLODER_DLG, make<CShareFloderDlg>},
    {"settings", IDD_SETTING_DLG, make<CSettingDlg>},
    {"about", IDD_ABOUTBOX, make<CAboutDlg>},
    {"message list", IDD_SHOW_MSG_DLG, make<CShowMsgDlg>},
};

TEST(TopLevelWindows, EveryOneShowsTheProgramsIconBigAndSmall)
{
    ASSERT_NE(programSmallIcon(), (HICON)NULL);
    for (const TopLevel& each : TOP_LEVELS) {
        SCOPED_TRACE(each.name);
        std::unique_ptr<CDialog> dialog = each.make();
        ASSERT_TRUE(dialog->Create(each.templateId, NULL));
        EXPECT_NE(captionIcon(dialog->m_hWnd, ICON_BIG), (HICON)NULL);
        EXPECT_EQ(captionIcon(dialog->m_hWnd, ICON_SMALL), programSmallIcon());
        dialog->DestroyWindow();
    }
    removeAllUsers();
}

TEST(TopLevelWindows, APageInsideAWindowHasNoIconOfItsOwn)
{
    CShareFloderDlg browser;
    ASSERT_TRUE(browser.Create(IDD_SHARE_FLODER_DLG, NULL));
    EXPECT_EQ(captionIcon(browser.mySharePage.m_hWnd, ICON_SMALL), (HICON)NULL);
    browser.DestroyWindow();
}

RECT workArea()
{
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

RECT rectOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

bool inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
        inner.bottom <= outer.bottom;
}

bool overlap(const RECT& a, const RECT& b)
{
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
}

std::string text(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.right) + "," +
        std::to_string(rect.bottom);
}

// The buddy list where the user put it, at one edge of the work area or the
// other; both windows open beside it, once, and stay where the user moves
// them afterwards.
TEST(TopLevelWindows, ProgressAndSharedFoldersOpenBesideTheBuddyListInTheWorkArea)
{
    const RECT work = workArea();
    enum Edge { LEFT, RIGHT, TOP_RIGHT_CORNER };
    for (Edge edge : {LEFT, RIGHT, TOP_RIGHT_CORNER}) {
        SCOPED_TRACE(edge);
        CUserListDlg buddyList;
        ASSERT_TRUE(buddyList.Create(IDD_USER_LIST_DLG, NULL));
        buddyList.createHiddenWindows();
        RECT list = rectOf(buddyList.m_hWnd);
        int width = list.right - list.left;
        int left = edge == LEFT ? work.left + 20 : work.right - width - 20;
        int top = edge == TOP_RIGHT_CORNER ? work.top : work.top + 30;
        buddyList.SetWindowPos(NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        buddyList.ShowWindow(SW_SHOW);
        list = rectOf(buddyList.m_hWnd);

        CWnd* opened[] = {&buddyList.receiveProgressDlg, &buddyList.shareFolderDlg};
        for (CWnd* window : opened) {
            window->ShowWindow(SW_SHOW);
            RECT rect = rectOf(window->m_hWnd);
            EXPECT_TRUE(inside(rect, work)) << text(rect) << " in " << text(work);
            EXPECT_FALSE(overlap(rect, list)) << text(rect) << " over " << text(list);

            // Moved by the user, hidden and shown again: it stays.
            window->SetWindowPos(NULL, work.left, work.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            window->ShowWindow(SW_HIDE);
            window->ShowWindow(SW_SHOW);
            EXPECT_EQ(rectOf(window->m_hWnd).left, work.left);
            EXPECT_EQ(rectOf(window->m_hWnd).top, work.top);
        }
        buddyList.DestroyWindow();
    }
    removeAllUsers();
}

}  // namespace
