// The screen-capture hot key of the buddy list: registered with screen
// capture on, and Ctrl+P alone writes a bitmap into the capture folder.
#include "tests/unit/support/UiTestSupport.h"

#include "core/CUtils.h"
#include "core/Globals.h"
#include "shell/UserListDlg.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// The buddy list reads the settings file when it starts, so the tests set
// the screen-capture switch there: the prefix's real settings file, removed
// before and after each test (and never used by two test programs at once).
class ScreenCaptureHotKey : public testing::Test {
protected:
    void SetUp() override
    {
        settingsFile = CUtils::getSystemDirectory() + "\\ZQ.ini";
        DeleteFileA(settingsFile);
        savedFolderName = screenImageSavePath;
        savedSwitch = isOpenPrintScreen;
        folderName.Format("zq-ui-captures-%lu", GetCurrentProcessId());
        folder = CUtils::getExeDirectory() + "\\" + folderName;
    }

    void TearDown() override
    {
        for (const std::string& name : bitmapsIn(folder)) {
            DeleteFileA(folder + "\\" + name.c_str());
        }
        RemoveDirectoryA(folder);
        DeleteFileA(settingsFile);
        screenImageSavePath = savedFolderName;
        isOpenPrintScreen = savedSwitch;
    }

    void storeSettings(const char* captureOn)
    {
        WritePrivateProfileStringA("PRINTSCREEN", "isOpenPrintScreen", captureOn, settingsFile);
        WritePrivateProfileStringA("PRINTSCREEN", "screenImageSavePath", folderName, settingsFile);
    }

    void press(CWnd* window, UINT modifiers, UINT key)
    {
        window->SendMessage(WM_HOTKEY, ID_HOTKEY_PRINT_SCREEN, MAKELPARAM(modifiers, key));
    }

    CString settingsFile;
    CString savedFolderName;
    BOOL savedSwitch = FALSE;
    CString folderName;
    CString folder;
};

TEST_F(ScreenCaptureHotKey, CtrlPWritesABitmapIntoANewFolderOtherKeysNothing)
{
    storeSettings("false");
    CUserListDlg dialog;
    ASSERT_TRUE(dialog.Create(IDD_USER_LIST_DLG, NULL));
    ASSERT_EQ(screenImageSavePath, folderName);
    ASSERT_EQ(GetFileAttributesA(folder), INVALID_FILE_ATTRIBUTES);

    press(&dialog, MOD_CONTROL, 'P');
    std::set<std::string> written = bitmapsIn(folder);
    ASSERT_EQ(written.size(), 1u);
    const std::string& name = *written.begin();
    EXPECT_EQ(name.find_first_not_of("-0123456789"), name.size() - 4) << name;

    const struct {
        UINT modifiers, key;
    } others[] = {{MOD_CONTROL | MOD_SHIFT, 'P'}, {MOD_ALT, 'P'}, {0, 'P'}, {MOD_CONTROL, 'Q'}};
    for (const auto& other : others) {
        press(&dialog, other.modifiers, other.key);
    }
    EXPECT_EQ(bitmapsIn(folder), written);
    dialog.DestroyWindow();
}

TEST_F(ScreenCaptureHotKey, RegisteredWhileTheWindowLivesWithCaptureOn)
{
    ASSERT_FALSE(ctrlPIsTaken());
    {
        storeSettings("false");
        CUserListDlg dialog;
        ASSERT_TRUE(dialog.Create(IDD_USER_LIST_DLG, NULL));
        EXPECT_FALSE(ctrlPIsTaken());
        dialog.DestroyWindow();
    }
    {
        storeSettings("true");
        CUserListDlg dialog;
        ASSERT_TRUE(dialog.Create(IDD_USER_LIST_DLG, NULL));
        EXPECT_TRUE(ctrlPIsTaken());
        dialog.DestroyWindow();
    }
    EXPECT_FALSE(ctrlPIsTaken());
}

}  // namespace
