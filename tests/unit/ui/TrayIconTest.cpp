// The tray icon through the real shell: added by the first icon call, changed
// in place by later ones, removed once; the two mouse actions its owner
// reacts to; texts cut to their fields at a character boundary.
#include "tests/unit/support/UiTestSupport.h"

#include "shell/MainFrame.h"
#include "shell/TrayIcon.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class TrayIcon : public testing::Test {
protected:
    void SetUp() override
    {
        owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
        ASSERT_NE(owner, nullptr);
        tray.setNotificationWnd(CWnd::FromHandle(owner), WM_USER_TRAY_NOTIFY);
    }

    void TearDown() override
    {
        tray.removeIcon();
        DestroyWindow(owner);
    }

    HWND owner = NULL;
    HICON normal = LoadIconA(NULL, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    HICON newMessage = LoadIconA(NULL, MAKEINTRESOURCEA(32516));  // IDI_INFORMATION
    CTrayIcon tray;
};

// The shell refuses to add an icon twice and to change or delete one it does
// not show, so every step below only succeeds with the right operation.
TEST_F(TrayIcon, AddedOnceChangedInPlaceRemovedOnce)
{
    EXPECT_TRUE(tray.setIcon(NULL, "VU Raruvada")) << "no icon to remove";
    EXPECT_EQ(tray.removeIcon(), FALSE);

    ASSERT_TRUE(tray.setIcon(normal, "VU Raruvada")) << "the first icon, with the welcome balloon";
    tray.setBalloonEnabled(FALSE);
    EXPECT_TRUE(tray.setIcon(newMessage, "VU Raruvada"));
    EXPECT_TRUE(tray.setIcon(normal, "VU Raruvada"));
    EXPECT_EQ(tray.iconData.hIcon, normal);

    EXPECT_TRUE(tray.removeIcon());
    EXPECT_EQ(tray.iconData.hIcon, nullptr);
    EXPECT_EQ(tray.removeIcon(), FALSE);

    EXPECT_TRUE(tray.setIcon(normal, "VU Raruvada")) << "shown again after removal";
    EXPECT_TRUE(tray.setIcon(NULL, NULL)) << "a null icon removes it";
    EXPECT_EQ(tray.iconData.hIcon, nullptr);
}

TEST_F(TrayIcon, OnlyRightButtonUpAndLeftDoubleClickOnThisIconCount)
{
    const struct {
        WPARAM id;
        LPARAM mouse;
        BOOL counts;
    } cases[] = {
        {0, WM_RBUTTONUP, TRUE},    {0, WM_LBUTTONDBLCLK, TRUE}, {0, WM_LBUTTONUP, FALSE},
        {0, WM_RBUTTONDOWN, FALSE}, {0, WM_MOUSEMOVE, FALSE},    {1, WM_RBUTTONUP, FALSE},
    };
    for (const auto& one : cases) {
        EXPECT_EQ(tray.onTrayNotification(one.id, one.mouse), one.counts) << one.id << ", " << one.mouse;
    }
}

TEST_F(TrayIcon, LongTextsAreCutAtACharacterBoundary)
{
    std::string chinese;
    for (int i = 0; i < 200; ++i) {
        chinese += "好";  // two bytes each
    }
    tray.setBalloon(chinese.c_str(), chinese.c_str(), 1000);
    ASSERT_TRUE(tray.setIcon(normal, chinese.c_str()));
    EXPECT_EQ(std::string(tray.iconData.szTip), chinese.substr(0, 126));
    EXPECT_EQ(std::string(tray.iconData.szInfoTitle), chinese.substr(0, 62));
    EXPECT_EQ(std::string(tray.iconData.szInfo), chinese.substr(0, 254));
}

}  // namespace
