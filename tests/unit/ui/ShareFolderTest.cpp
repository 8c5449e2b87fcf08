// The shared-folder browser: the own page built from the shareFolders
// setting, added to through the folder picker and removed from by
// selection, kept in step with the setting, with what peers are served and
// with what a share-list reply offers; the peers' page filled by replies.
#include "tests/unit/support/UiTestSupport.h"

#include "classlib/Prompts.h"
#include "core/CUtils.h"
#include "core/Globals.h"
#include "engine/WindowLinks.h"
#include "dialogs/ShareFloderDlg.h"
#include "core/ShareListReply.h"
#include "shell/UserListDlg.h"
#include "tests/unit/support/RecordingPrompts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

std::string text(const CString& value)
{
    return std::string((const char*)value, value.GetLength());
}

Strings rowsOf(CListCtrl& list, int column)
{
    Strings rows;
    for (int row = 0; row < list.GetItemCount(); ++row)
        rows.push_back(text(list.GetItemText(row, column)));
    return rows;
}

Strings offeredEntries()
{
    SharedStateLock lock;
    Strings entries;
    for (INT_PTR i = 0; i < ownShareEntries.GetSize(); ++i)
        entries.push_back(text(ownShareEntries[i]));
    return entries;
}

bool served(const std::string& entry, CString* path = NULL)
{
    CStringArray fields;
    CUtils::splitToArray(entry.c_str(), ":", &fields);
    CString local;
    SharedStateLock lock;
    BOOL found = shareIdMap.Lookup(fields[0] + "-" + fields[1], local);
    if (path != NULL)
        *path = local;
    return found != FALSE;
}

class SharedFolderBrowser : public testing::Test {
protected:
    void SetUp() override
    {
        settingsFile = CUtils::getSystemDirectory() + "\\ZQ.ini";
        DeleteFileA(settingsFile);
        docs = scratch.folder("docs");
        scratch.file("docs\\a.txt", "12345");
        scratch.folder("docs\\sub");
        scratch.file("docs\\sub\\b.txt", "abc");
        pics = scratch.folder("pics");
        other = scratch.folder("other");
        scratch.file("other\\c.txt", "1234567");
        shareFolders = docs + "," + pics;
        setPromptScript(&answers);
        firstId = nextPacketNo();
        ASSERT_TRUE(dialog.Create(IDD_SHARE_FLODER_DLG, NULL));
    }

    void TearDown() override
    {
        dialog.DestroyWindow();
        setPromptScript(NULL);
        DeleteFileA(settingsFile);
        shareFolders.Empty();
        SharedStateLock lock;
        ownShareEntries.RemoveAll();
        shareIdMap.RemoveAll();
    }

    CListCtrl& own() { return dialog.mySharePage.shareList; }
    CListCtrl& peers() { return dialog.allSharePage.shareList; }

    void click(CWnd& page, int button)
    {
        page.SendMessage(WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)::GetDlgItem(page.m_hWnd, button));
    }

    void select(CListCtrl& list, std::vector<int> rows)
    {
        list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows)
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }

    std::string storedShareFolders()
    {
        char stored[1024] = "";
        GetPrivateProfileStringA("SHARE", "shareFolders", "(none)", stored, sizeof stored, settingsFile);
        return stored;
    }

    void reply(const char* ip, const Strings& entries, int malformed = 0, const char* user = "")
    {
        ShareListReply reply;
        reply.ip = ip;
        reply.userName = user;
        for (const std::string& entry : entries) {
            reply.entries.Add(entry.c_str());
            CStringArray fields;
            CUtils::splitToArray(entry.c_str(), ":", &fields);
            reply.names.Add(fields[2]);
        }
        reply.malformedPieces = malformed;
        peers().GetParent()->SendMessage(WM_USER_ADD_SHARE_ITEMS, 0, (LPARAM)&reply);
    }

    ScratchFolder scratch;
    CString settingsFile, docs, pics, other;
    RecordingPrompts answers;
    int firstId = 0;
    CShareFloderDlg dialog;
};

TEST_F(SharedFolderBrowser, ListsTheStoredFoldersWithFreshIdsAndTheirSizes)
{
    ASSERT_EQ((Strings{text(docs), text(pics)}), rowsOf(own(), 1));
    Strings entries = rowsOf(own(), 0);
    char expected[64];
    snprintf(expected, sizeof expected, "%d:%d:docs:8", firstId + 1, firstId + 2);
    EXPECT_EQ(expected, entries[0]);
    snprintf(expected, sizeof expected, "%d:%d:pics:0", firstId + 3, firstId + 4);
    EXPECT_EQ(expected, entries[1]);
    CString path;
    EXPECT_TRUE(served(entries[0], &path));
    EXPECT_EQ(docs, path);
    EXPECT_TRUE(served(entries[1], &path));
    EXPECT_EQ(pics, path);
    EXPECT_EQ(entries, offeredEntries());
    EXPECT_TRUE(answers.texts.empty());
}

TEST_F(SharedFolderBrowser, AddsAPickedFolderAndStoresEveryRow)
{
    answers.folder = other;
    answers.pickedName = "其他";
    click(dialog.mySharePage, IDC_BUTTON_ADD_SHARE);
    ASSERT_EQ(3, own().GetItemCount());
    std::string added = text(own().GetItemText(2, 0));
    EXPECT_NE(std::string::npos, added.find(":其他:7")) << added;
    EXPECT_EQ(text(other), text(own().GetItemText(2, 1)));
    EXPECT_TRUE(served(added));
    EXPECT_EQ(text(docs + "," + pics + "," + other), text(shareFolders));
    EXPECT_EQ(text(shareFolders), storedShareFolders());
    EXPECT_EQ(rowsOf(own(), 0), offeredEntries());

    // A cancelled picker changes nothing.
    answers.folder.Empty();
    DeleteFileA(settingsFile);
    click(dialog.mySharePage, IDC_BUTTON_ADD_SHARE);
    EXPECT_EQ(3, own().GetItemCount());
    EXPECT_EQ("(none)", storedShareFolders());
}

// Windows' picker names the folder; Wine's gives its whole path as the display
// name, and a share must not be refused for the path's drive colon.
TEST_F(SharedFolderBrowser, SharesUnderTheFoldersOwnNameWhateverThePickerCallsIt)
{
    CString picked = scratch.folder("zqshare");
    struct Picked {
        CString displayName;
        const char* sharedAs;
    } cases[] = {{"共享盘", ":共享盘:"},  // Windows: the folder's display name is kept
                 {picked, ":zqshare:"},  // Wine: the whole path
                 {"", ":zqshare:"}};
    int rows = own().GetItemCount();
    for (const Picked& c : cases) {
        SCOPED_TRACE(text(c.displayName));
        answers.folder = picked;
        answers.pickedName = c.displayName;
        answers.texts.clear();
        click(dialog.mySharePage, IDC_BUTTON_ADD_SHARE);
        EXPECT_TRUE(answers.texts.empty()) << (answers.texts.empty() ? "" : answers.texts[0]);
        ASSERT_EQ(++rows, own().GetItemCount());
        std::string added = text(own().GetItemText(rows - 1, 0));
        EXPECT_NE(std::string::npos, added.find(c.sharedAs)) << added;
        EXPECT_EQ(text(picked), text(own().GetItemText(rows - 1, 1)));
        EXPECT_EQ(rowsOf(own(), 0), offeredEntries());
    }
}

TEST_F(SharedFolderBrowser, RefusesFoldersThatNoReplyOrSettingCouldCarry)
{
    struct Refused {
        const char* name;
        const char* folder;
    } cases[] = {{"a;b", "a;b"}, {"a&b", "a&b"}, {"a=b", "a=b"}, {"a:b", "ab"}, {"x", "x,y"}};
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.folder);
        answers.folder = scratch.folder(c.folder);
        answers.pickedName = c.name;
        answers.texts.clear();
        click(dialog.mySharePage, IDC_BUTTON_ADD_SHARE);
        EXPECT_EQ(2, own().GetItemCount());
        EXPECT_EQ(1u, answers.texts.size());
        EXPECT_EQ(text(docs + "," + pics), text(shareFolders));
    }
    EXPECT_EQ(2u, offeredEntries().size());
}

TEST_F(SharedFolderBrowser, RemovesTheSelectedRowsAndStopsServingThem)
{
    answers.folder = other;
    answers.pickedName = "other";
    click(dialog.mySharePage, IDC_BUTTON_ADD_SHARE);
    Strings before = rowsOf(own(), 0);
    ASSERT_EQ(3u, before.size());

    select(own(), {0, 2});
    click(dialog.mySharePage, IDC_BUTTON_REMOVE_SHARE);
    EXPECT_EQ((Strings{text(pics)}), rowsOf(own(), 1));
    EXPECT_EQ(text(pics), text(shareFolders));
    EXPECT_EQ(text(pics), storedShareFolders());
    EXPECT_FALSE(served(before[0]));
    EXPECT_TRUE(served(before[1]));
    EXPECT_FALSE(served(before[2]));
    EXPECT_EQ((Strings{before[1]}), offeredEntries());

    // Nothing selected: nothing removed, the setting saved as it stands.
    DeleteFileA(settingsFile);
    select(own(), {});
    click(dialog.mySharePage, IDC_BUTTON_REMOVE_SHARE);
    EXPECT_EQ(1, own().GetItemCount());
    EXPECT_EQ(text(pics), storedShareFolders());
}

TEST_F(SharedFolderBrowser, AStoredFolderWhoseNameCannotTravelIsListedButNotOffered)
{
    dialog.DestroyWindow();
    CString odd = scratch.folder("odd;name");
    shareFolders = docs + "," + odd;
    ASSERT_TRUE(dialog.Create(IDD_SHARE_FLODER_DLG, NULL));
    EXPECT_EQ((Strings{text(docs), text(odd)}), rowsOf(own(), 1));
    EXPECT_EQ((Strings{rowsOf(own(), 0)[0]}), offeredEntries());
}

TEST_F(SharedFolderBrowser, TabsShowOnePageAtATime)
{
    EXPECT_TRUE(dialog.allSharePage.IsWindowVisible() || !dialog.IsWindowVisible());
    dialog.ShowWindow(SW_SHOW);
    EXPECT_TRUE(dialog.allSharePage.IsWindowVisible());
    EXPECT_FALSE(dialog.mySharePage.IsWindowVisible());
    dialog.tabCtrl.SetCurSel(1);
    NMHDR notify = {dialog.tabCtrl.m_hWnd, IDC_TAB_SHARE, TCN_SELCHANGE};
    dialog.SendMessage(WM_NOTIFY, IDC_TAB_SHARE, (LPARAM)&notify);
    EXPECT_FALSE(dialog.allSharePage.IsWindowVisible());
    EXPECT_TRUE(dialog.mySharePage.IsWindowVisible());
}

TEST_F(SharedFolderBrowser, APeersReplyReplacesItsEarlierRows)
{
    reply("10.0.0.5", {"1:2:docs:10", "3:4:pics:20"}, 0, "小王");
    reply("10.0.0.6", {"5:6:music:30"});
    EXPECT_EQ((Strings{"小王", "小王", ""}), rowsOf(peers(), 0));
    EXPECT_EQ((Strings{"10.0.0.5", "10.0.0.5", "10.0.0.6"}), rowsOf(peers(), 1));
    EXPECT_EQ((Strings{"docs", "pics", "music"}), rowsOf(peers(), 2));
    EXPECT_EQ((Strings{"1:2:docs:10", "3:4:pics:20", "5:6:music:30"}), rowsOf(peers(), 3));

    reply("10.0.0.5", {"7:8:docs:10"}, 0, "小王");
    reply("10.0.0.5", {"7:8:docs:10"}, 0, "小王");
    EXPECT_EQ((Strings{"5:6:music:30", "7:8:docs:10"}), rowsOf(peers(), 3));
    pumpMessages();
    EXPECT_TRUE(answers.texts.empty());

    // Only malformed pieces: one notice, the rows stay.
    reply("10.0.0.5", {}, 3);
    EXPECT_EQ((Strings{"5:6:music:30", "7:8:docs:10"}), rowsOf(peers(), 3));
    pumpMessages();
    EXPECT_EQ((Strings{"参数个数不正确！"}), answers.texts);
}

TEST_F(SharedFolderBrowser, AFloodOfRepliesNeitherGrowsTheListWithoutBoundNorStacksBoxes)
{
    for (int i = 0; i < 700; ++i) {
        char ip[32];
        snprintf(ip, sizeof ip, "10.1.%d.%d", i / 250, i % 250 + 1);
        reply(ip, {"1:2:a:1", "3:4:b:1", "5:6:c:1"}, 1);
    }
    EXPECT_EQ(CShareFloderDlgAllSharePage::MAX_ROWS, peers().GetItemCount());
    pumpMessages();
    EXPECT_EQ((Strings{"参数个数不正确！"}), answers.texts);

    // Refresh empties the list at once.
    click(dialog.allSharePage, IDC_BUTTON_REFRESH);
    EXPECT_EQ(0, peers().GetItemCount());
}

TEST_F(SharedFolderBrowser, DownloadAsksWithTheSelectedFolderNames)
{
    reply("10.0.0.5", {"1:2:docs:10", "3:4:pics:20", "5:6:music:1"});
    select(peers(), {0, 2});
    answers.boxAnswer = IDNO;
    click(dialog.allSharePage, IDC_BUTTON_DOWNLOAD);
    EXPECT_EQ((Strings{"是否下载以下文件:\r\ndocs\r\nmusic\r\n"}), answers.texts);
    EXPECT_EQ(0, (int)answers.pickerTitles.size()) << "No asks for no folder";

    answers.boxAnswer = IDYES;
    click(dialog.allSharePage, IDC_BUTTON_DOWNLOAD);
    EXPECT_EQ(1, (int)answers.pickerTitles.size());
}

}  // namespace

namespace {

// The buddy list makes the browser hidden when it starts (the main frame
// asks for it right after the entry broadcast), so that replies find the
// peers' page; its 共享 button shows it.
TEST(BuddyListShareButton, ShowsTheBrowserMadeHiddenAtStart)
{
    CUserListDlg buddyList;
    ASSERT_TRUE(buddyList.Create(IDD_USER_LIST_DLG, NULL));
    buddyList.createHiddenWindows();
    ASSERT_TRUE(::IsWindow(buddyList.shareFolderDlg.m_hWnd));
    EXPECT_FALSE(buddyList.shareFolderDlg.IsWindowVisible());
    EXPECT_TRUE(::IsWindow(buddyList.shareFolderDlg.allSharePage.m_hWnd));
    buddyList.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_SHARE, BN_CLICKED),
                          (LPARAM)::GetDlgItem(buddyList.m_hWnd, IDC_BUTTON_SHARE));
    EXPECT_TRUE(buddyList.shareFolderDlg.IsWindowVisible());
    buddyList.DestroyWindow();
}

}  // namespace
