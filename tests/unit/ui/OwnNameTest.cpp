// The own name and group edits of the buddy list: leaving either of them
// stores both texts as typed when one of them changed, and nothing otherwise.
#include "tests/unit/support/UiTestSupport.h"

#include "core/CUtils.h"
#include "core/Globals.h"
#include "shell/UserListDlg.h"

#include <gtest/gtest.h>

namespace {

// The buddy list reads the settings file when it starts: the prefix's real
// settings file, removed before and after the test.
class OwnNameAndGroup : public testing::Test {
protected:
    void SetUp() override
    {
        settingsFile = CUtils::getSystemDirectory() + "\\ZQ.ini";
        DeleteFileA(settingsFile);
        WritePrivateProfileStringA("USER", "userName", "小李", settingsFile);
        WritePrivateProfileStringA("USER", "userGroupName", "Dev", settingsFile);
        ASSERT_TRUE(dialog.Create(IDD_USER_LIST_DLG, NULL));
    }

    void TearDown() override
    {
        dialog.DestroyWindow();
        DeleteFileA(settingsFile);
        SharedStateLock lock;
        userName.Empty();
        userGroupName.Empty();
    }

    void leave(int editId)
    {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(editId, EN_KILLFOCUS), (LPARAM)::GetDlgItem(dialog.m_hWnd, editId));
    }

    bool settingsSaved() const { return GetFileAttributesA(settingsFile) != INVALID_FILE_ATTRIBUTES; }

    CString settingsFile;
    CUserListDlg dialog;
};

TEST_F(OwnNameAndGroup, LeavingAnEditSavesBothTextsOnlyWhenOneChanged)
{
    CString name;
    CString group;
    dialog.nameEdit.GetWindowText(name);
    dialog.groupEdit.GetWindowText(group);
    EXPECT_EQ(name, "小李");
    EXPECT_EQ(group, "Dev");

    DeleteFileA(settingsFile);  // a save shows as the file coming back
    leave(IDC_EDIT_OWN_NAME);
    leave(IDC_EDIT_OWN_GROUP);
    EXPECT_FALSE(settingsSaved()) << "nothing changed, nothing saved";

    dialog.groupEdit.SetWindowText(" QA ");
    leave(IDC_EDIT_OWN_GROUP);
    EXPECT_TRUE(settingsSaved());
    SharedStateLock lock;
    EXPECT_EQ(userName, "小李");
    EXPECT_EQ(userGroupName, " QA ") << "kept as typed";
}

}  // namespace
