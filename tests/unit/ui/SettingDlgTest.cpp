// The settings dialog: its pages show the stored settings, the group list
// holds the known peers' groups once each and sorted, the list switches the
// pages, OK stores every value as typed and switches the Ctrl+P hot key of
// the buddy list at once (telling the user when another program holds it),
// and Cancel, Esc and the close box store nothing.
#include "tests/unit/support/UiTestSupport.h"

#include "classlib/Prompts.h"
#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/User.h"
#include "dialogs/SettingDlg.h"
#include "shell/UserListDlg.h"
#include "tests/unit/support/RecordingPrompts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const RUN_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

bool autoStartValueExists()
{
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RUN_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    bool found = RegQueryValueExA(key, "VURaruvada", NULL, NULL, NULL, NULL) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

void removeAutoStartValue()
{
    HKEY key = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RUN_KEY, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "VURaruvada");
        RegCloseKey(key);
    }
}

std::string fileBytes(const CString& path)
{
    std::ifstream file(path.GetString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void addPeer(const char* ip, const char* group)
{
    User* user = new User;
    user->ip = ip;
    user->nickname = ip;
    user->group = group;
    SharedStateLock lock;
    userMap.SetAt(ip, user);
}

// Ctrl+P as the keyboard gives it: through the system's input queue, where
// hot keys are recognised.
void pressCtrlP()
{
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, 'P', 'P', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, keys, sizeof(INPUT));
}

// Handles this thread's messages, the hot key's among them: the system
// posts WM_HOTKEY while it takes the input, before SendInput returns.
std::set<std::string> bitmapsAfterPumping(const CString& folder)
{
    pumpMessages();
    return bitmapsIn(folder);
}

std::vector<std::string> comboItems(CComboBox& combo)
{
    std::vector<std::string> items;
    for (int i = 0; i < combo.GetCount(); ++i) {
        CString text;
        combo.GetLBText(i, text);
        items.push_back(text.GetString());
    }
    return items;
}

CString controlText(CWnd& page, int id)
{
    CString text;
    page.GetDlgItemText(id, text);
    return text;
}

bool checked(CWnd& page, int id)
{
    return ::SendMessageA(::GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Shown by its own style: a page of a hidden dialog counts as shown here.
bool shown(CWnd& window)
{
    return (window.GetStyle() & WS_VISIBLE) != 0;
}

void setChecked(CWnd& page, int id, bool on)
{
    ::SendMessageA(::GetDlgItem(page, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The buddy list that owns the hot key, made with screen capture off (it
// reads the settings file, absent here); the globals are set after it, so
// the dialog starts from the test's values.
class SettingsDialog : public testing::Test {
protected:
    void SetUp() override
    {
        settingsFile = CUtils::getSystemDirectory() + "\\ZQ.ini";
        DeleteFileA(settingsFile);
        removeAutoStartValue();
        removeAllUsers();
        setPromptScript(&prompts);
        ASSERT_TRUE(buddyList.Create(IDD_USER_LIST_DLG, NULL));
        userListDlg = &buddyList;
        CSettingDlg::applyHotKeySetting = [] { return userListDlg->applyPrintScreenHotKey(); };
        CSettingDlg::showOwnNameAndGroup = [] { userListDlg->showOwnNameAndGroup(); };
        ASSERT_FALSE(ctrlPIsTaken());

        {
            SharedStateLock lock;
            userName = "小李";
            userGroupName = "Dev";
        }
        isAutoStart = FALSE;
        isOpenPrintScreen = FALSE;
        captureFolderName.Format("抓图-%lu", GetCurrentProcessId());
        captureFolder = CUtils::getExeDirectory() + "\\" + captureFolderName;
        screenImageSavePath = captureFolderName;
    }

    void TearDown() override
    {
        if (dialog.m_hWnd != NULL) {
            dialog.DestroyWindow();
        }
        CSettingDlg::applyHotKeySetting = NULL;
        CSettingDlg::showOwnNameAndGroup = NULL;
        userListDlg = NULL;
        buddyList.DestroyWindow();
        setPromptScript(NULL);
        removeAllUsers();
        for (const std::string& name : bitmapsIn(captureFolder)) {
            DeleteFileA(captureFolder + "\\" + name.c_str());
        }
        RemoveDirectoryA(captureFolder);
        DeleteFileA(settingsFile);
        removeAutoStartValue();
        SharedStateLock lock;
        userName.Empty();
        userGroupName.Empty();
        isAutoStart = FALSE;
        isOpenPrintScreen = FALSE;
        screenImageSavePath = "ZQScreenImages";
    }

    void open() { openDialog(dialog); }

    void openDialog(CSettingDlg& each)
    {
        ASSERT_TRUE(each.Create(IDD_SETTING_DLG, NULL));
        each.ShowWindow(SW_SHOW);
    }

    void ok(CSettingDlg& each)
    {
        each.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(each, IDOK));
    }

    // A key as the message loop hands it over: offered to the windows from
    // the focused control up before it is dispatched.
    void key(HWND target, UINT virtualKey)
    {
        MSG message = {target, WM_KEYDOWN, virtualKey, 1, 0, {0, 0}};
        if (!CWnd::WalkPreTranslateTree(&message)) {
            DispatchMessageA(&message);
        }
    }

    void selectPage(int index)
    {
        for (int i = 0; i < dialog.pageList.GetItemCount(); ++i) {
            dialog.pageList.SetItemState(i, i == index ? LVIS_SELECTED : 0, LVIS_SELECTED);
        }
    }

    std::vector<bool> visiblePages()
    {
        return {shown(dialog.userPage), shown(dialog.systemPage), shown(dialog.printScreenPage)};
    }

    void changeEveryPage()
    {
        dialog.userPage.SetDlgItemText(IDC_EDIT_USER_NAME, " Tom Lee ");
        dialog.userPage.groupCombo.SetWindowText("  QA-Web ");
        setChecked(dialog.systemPage, IDC_CHECK_AUTO_START, true);
        setChecked(dialog.printScreenPage, IDC_CHECK_PRINT_SCREEN, true);
    }

    std::string storedValue(const char* section, const char* key)
    {
        char value[256] = {0};
        GetPrivateProfileStringA(section, key, "(none)", value, sizeof(value), settingsFile);
        return value;
    }

    CString settingsFile;
    CString captureFolderName;
    CString captureFolder;
    RecordingPrompts prompts;
    CUserListDlg buddyList;
    CSettingDlg dialog;
};

TEST_F(SettingsDialog, PagesShowTheStoredSettingsUserPageFirst)
{
    isAutoStart = TRUE;
    isOpenPrintScreen = TRUE;
    open();

    EXPECT_EQ(controlText(dialog.userPage, IDC_EDIT_USER_NAME), "小李");
    EXPECT_EQ(controlText(dialog.userPage, IDC_COMBO_GROUP_NAME), "Dev");
    EXPECT_TRUE(checked(dialog.systemPage, IDC_CHECK_AUTO_START));
    EXPECT_TRUE(checked(dialog.printScreenPage, IDC_CHECK_PRINT_SCREEN));
    EXPECT_EQ(controlText(dialog.printScreenPage, IDC_EDIT_IMAGE_SAVE_PATH), captureFolderName);
    EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(dialog.printScreenPage, IDC_EDIT_IMAGE_SAVE_PATH), GWL_STYLE) &
                ES_READONLY);

    ASSERT_EQ(dialog.pageList.GetItemCount(), 3);
    EXPECT_EQ(dialog.pageList.GetItemText(0, 0), "用户资料");
    EXPECT_EQ(dialog.pageList.GetItemText(1, 0), "系统设置");
    EXPECT_EQ(dialog.pageList.GetItemText(2, 0), "抓屏设置");
    EXPECT_EQ(dialog.pageList.GetSelectedCount(), 0u);
    EXPECT_EQ(visiblePages(), std::vector<bool>({true, false, false}));

    // The pages stand right of the list.
    CRect list;
    CRect page;
    dialog.pageList.GetWindowRect(&list);
    dialog.userPage.GetWindowRect(&page);
    EXPECT_GE(page.left, list.right);
}

TEST_F(SettingsDialog, GroupListHoldsEachPeersGroupOnceSorted)
{
    // "Dev" is a prefix of "DevOps": still listed whatever the map's order.
    addPeer("10.0.0.1", "Ops");
    addPeer("10.0.0.2", "DevOps");
    addPeer("10.0.0.3", "Dev");
    addPeer("10.0.0.4", "Dev");
    addPeer("10.0.0.5", "Ops");
    open();
    EXPECT_EQ(comboItems(dialog.userPage.groupCombo), std::vector<std::string>({"Dev", "DevOps", "Ops"}));
    EXPECT_EQ(controlText(dialog.userPage, IDC_COMBO_GROUP_NAME), "Dev") << "the stored group exactly";
}

TEST_F(SettingsDialog, TheListSwitchesThePages)
{
    open();
    const struct {
        int item;
        std::vector<bool> shown;
    } steps[] = {
        {2, {false, false, true}}, {0, {true, false, false}},
        {1, {false, true, false}}, {-1, {false, true, false}},  // nothing selected: the page stays
        {2, {false, false, true}},
    };
    for (const auto& step : steps) {
        selectPage(step.item);
        EXPECT_EQ(visiblePages(), step.shown) << "item " << step.item;
    }
}

TEST_F(SettingsDialog, OkStoresEveryValueAsTypedAndRegistersTheHotKey)
{
    open();
    changeEveryPage();
    ok(dialog);

    EXPECT_FALSE(dialog.IsWindowVisible()) << "the dialog ended";
    {
        SharedStateLock lock;
        EXPECT_EQ(userName, " Tom Lee ");
        EXPECT_EQ(userGroupName, "  QA-Web ");
    }
    EXPECT_TRUE(isAutoStart);
    EXPECT_TRUE(isOpenPrintScreen);
    EXPECT_EQ(screenImageSavePath, captureFolderName);

    // The file keeps the texts; its reader trims them, as the next start does.
    EXPECT_EQ(storedValue("USER", "userName"), "Tom Lee");
    EXPECT_EQ(storedValue("USER", "userGroupName"), "QA-Web");
    std::string file = fileBytes(settingsFile);
    EXPECT_NE(file.find("isAutoStart=true\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("isOpenPrintScreen=true\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find(std::string("screenImageSavePath=") + captureFolderName.GetString() + "\r\n"),
              std::string::npos)
        << file;
    EXPECT_TRUE(autoStartValueExists());
    EXPECT_TRUE(ctrlPIsTaken()) << "registered at once";
    EXPECT_TRUE(prompts.texts.empty());

    // Again, everything off and an empty group: the hot key goes at once.
    CSettingDlg second;
    openDialog(second);
    EXPECT_TRUE(checked(second.printScreenPage, IDC_CHECK_PRINT_SCREEN));
    second.userPage.groupCombo.SetWindowText("");
    setChecked(second.systemPage, IDC_CHECK_AUTO_START, false);
    setChecked(second.printScreenPage, IDC_CHECK_PRINT_SCREEN, false);
    ok(second);
    second.DestroyWindow();

    file = fileBytes(settingsFile);
    EXPECT_NE(file.find("userGroupName=\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("isOpenPrintScreen=false\r\n"), std::string::npos) << file;
    EXPECT_FALSE(autoStartValueExists());
    EXPECT_FALSE(ctrlPIsTaken()) << "unregistered at once";
}

// The buddy list's edits store what they show when the user leaves them: after
// OK they show the new name and group, so leaving them keeps what OK stored.
TEST_F(SettingsDialog, OkShowsTheNewNameInTheBuddyListWhoseEditsThenKeepIt)
{
    open();
    dialog.userPage.SetDlgItemText(IDC_EDIT_USER_NAME, "王五");
    dialog.userPage.groupCombo.SetWindowText("测试部-质量组");
    ok(dialog);
    EXPECT_EQ(controlText(buddyList, IDC_EDIT_OWN_NAME), "王五");
    EXPECT_EQ(controlText(buddyList, IDC_EDIT_OWN_GROUP), "测试部-质量组");

    for (int edit : {IDC_EDIT_OWN_NAME, IDC_EDIT_OWN_GROUP}) {
        buddyList.SendMessage(WM_COMMAND, MAKEWPARAM(edit, EN_KILLFOCUS), (LPARAM)::GetDlgItem(buddyList, edit));
    }
    EXPECT_EQ(storedValue("USER", "userName"), "王五");
    EXPECT_EQ(storedValue("USER", "userGroupName"), "测试部-质量组");
    SharedStateLock lock;
    EXPECT_EQ(userName, "王五");
    EXPECT_EQ(userGroupName, "测试部-质量组");
}

TEST_F(SettingsDialog, OkWithCaptureOnWhileItIsOnKeepsTheHotKey)
{
    isOpenPrintScreen = TRUE;
    ASSERT_TRUE(RegisterHotKey(buddyList, ID_HOTKEY_PRINT_SCREEN, MOD_CONTROL, 'P'));
    open();
    ok(dialog);
    EXPECT_TRUE(ctrlPIsTaken());
    EXPECT_TRUE(prompts.texts.empty()) << "our own registration is no conflict";
}

TEST_F(SettingsDialog, AHotKeyHeldByAnotherProgramIsReported)
{
    CtrlPHolder other;
    ASSERT_TRUE(other.holds());
    open();
    setChecked(dialog.printScreenPage, IDC_CHECK_PRINT_SCREEN, true);
    ok(dialog);

    ASSERT_EQ(prompts.texts.size(), 1u);
    EXPECT_NE(prompts.texts[0].find("Ctrl+P"), std::string::npos) << prompts.texts[0];
    EXPECT_TRUE(isOpenPrintScreen) << "the setting is stored all the same";
    EXPECT_FALSE(dialog.IsWindowVisible());

    // Switching capture off tells nothing.
    prompts.texts.clear();
    CSettingDlg second;
    openDialog(second);
    setChecked(second.printScreenPage, IDC_CHECK_PRINT_SCREEN, false);
    ok(second);
    second.DestroyWindow();
    EXPECT_TRUE(prompts.texts.empty());
}

TEST_F(SettingsDialog, CtrlPCapturesTheScreenRightAfterOkSwitchedItOnAndNotAfterOff)
{
    open();
    setChecked(dialog.printScreenPage, IDC_CHECK_PRINT_SCREEN, true);
    ok(dialog);
    pressCtrlP();
    std::set<std::string> written = bitmapsAfterPumping(captureFolder);
    EXPECT_EQ(written.size(), 1u);

    CSettingDlg second;
    openDialog(second);
    setChecked(second.printScreenPage, IDC_CHECK_PRINT_SCREEN, false);
    ok(second);
    second.DestroyWindow();
    pressCtrlP();
    EXPECT_EQ(bitmapsAfterPumping(captureFolder), written);
}

// Every way out but OK: the Cancel button, the close box, Esc in a page.
TEST_F(SettingsDialog, CancelEscAndTheCloseBoxStoreNothing)
{
    enum Way { CANCEL_BUTTON, CLOSE_BOX, ESCAPE_IN_PAGE };
    for (Way way : {CANCEL_BUTTON, CLOSE_BOX, ESCAPE_IN_PAGE}) {
        SCOPED_TRACE(way);
        CSettingDlg each;
        openDialog(each);
        each.userPage.SetDlgItemText(IDC_EDIT_USER_NAME, "Tom");
        each.userPage.groupCombo.SetWindowText("QA");
        setChecked(each.systemPage, IDC_CHECK_AUTO_START, true);
        setChecked(each.printScreenPage, IDC_CHECK_PRINT_SCREEN, true);
        if (way == CANCEL_BUTTON) {
            each.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)::GetDlgItem(each, IDCANCEL));
        } else if (way == CLOSE_BOX) {
            each.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
            key(::GetDlgItem(each.userPage, IDC_EDIT_USER_NAME), VK_ESCAPE);
        }
        pumpMessages();  // the close box's Cancel comes posted
        EXPECT_FALSE(each.IsWindowVisible()) << "the dialog ended";
        EXPECT_TRUE(shown(each.userPage)) << "not the page alone";
        each.DestroyWindow();
    }
    SharedStateLock lock;
    EXPECT_EQ(userName, "小李");
    EXPECT_EQ(userGroupName, "Dev");
    EXPECT_FALSE(isAutoStart);
    EXPECT_FALSE(isOpenPrintScreen);
    EXPECT_EQ(GetFileAttributesA(settingsFile), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(autoStartValueExists());
    EXPECT_FALSE(ctrlPIsTaken());
}

// Enter in a page is the dialog's OK, not the page's (which would only hide
// the page and store nothing).
TEST_F(SettingsDialog, EnterInAPageIsTheDialogsOk)
{
    open();
    dialog.userPage.SetDlgItemText(IDC_EDIT_USER_NAME, "Tom");
    key(::GetDlgItem(dialog.userPage, IDC_EDIT_USER_NAME), VK_RETURN);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(shown(dialog.userPage));
    SharedStateLock lock;
    EXPECT_EQ(userName, "Tom");
}

}  // namespace
