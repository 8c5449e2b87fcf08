// How the buddy list opens chats: from the tree (double-click and the
// tree menu's commands) and for every chat text the engine hands over.
#include "HistoryExpectations.h"
#include "tests/unit/support/BuddyListFixture.h"

#include "core/Globals.h"
#include "core/IpMessage.h"
#include "engine/WindowLinks.h"
#include "dialogs/ChartAllDlg.h"
#include "dialogs/ChartDlg.h"
#include "shell/UserListDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// What a modal group dialog showed while it was open.
struct GroupDialogSeen {
    bool shown = false;
    std::string filter;
    BOOL includeSubGroups = FALSE;
    std::vector<std::string> ips;  // sorted
};

GroupDialogSeen* recording = nullptr;

BOOL CALLBACK findGroupDialog(HWND window, LPARAM)
{
    CWnd* object = CWnd::FromHandlePermanent(window);
    if (object == NULL || !::IsWindowVisible(window) || object->GetRuntimeClass() != RUNTIME_CLASS(CChartAllDlg)) {
        return TRUE;
    }
    CChartAllDlg* dialog = static_cast<CChartAllDlg*>(object);
    recording->shown = true;
    recording->filter = dialog->groupFilter.GetString();
    recording->includeSubGroups = dialog->includeSubGroups;
    for (int row = 0; row < dialog->userList.GetItemCount(); ++row) {
        recording->ips.push_back(dialog->userList.GetItemText(row, 2).GetString());
    }
    std::sort(recording->ips.begin(), recording->ips.end());
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

void CALLBACK lookForGroupDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (!recording->shown) {
        EnumThreadWindows(GetCurrentThreadId(), findGroupDialog, 0);
    }
}

// Runs action; a group dialog that it runs modally is recorded and closed.
GroupDialogSeen whileGroupDialogRuns(const std::function<void()>& action)
{
    GroupDialogSeen seen;
    recording = &seen;
    UINT_PTR timer = SetTimer(NULL, 0, 20, lookForGroupDialog);
    action();
    KillTimer(NULL, timer);
    recording = nullptr;
    return seen;
}

class ChatOpening : public BuddyListFixture {
protected:
    void select(const char* itemText)
    {
        HTREEITEM item = itemNamed(itemText);
        ASSERT_NE(item, nullptr) << itemText;
        dialog->userTree.SelectItem(item);
    }

    void doubleClickSelection()
    {
        NMHDR notify = {dialog->userTree.m_hWnd, IDC_TREE_USERS, (UINT)NM_DBLCLK};
        dialog->SendMessage(WM_NOTIFY, IDC_TREE_USERS, (LPARAM)&notify);
    }

    void command(UINT id) { dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    CChartDlg* chatFor(const char* ip)
    {
        CObject* chat = NULL;
        return chatDialogMap.Lookup(ip, chat) ? static_cast<CChartDlg*>(chat) : nullptr;
    }

    static std::string captionOf(CWnd* window)
    {
        CString text;
        window->GetWindowText(text);
        return text.GetString();
    }
};

const UINT BY_DOUBLE_CLICK = 0;

struct OpeningCase {
    const char* title;
    const char* item;
    UINT command;  // BY_DOUBLE_CLICK or a tree-menu command
    bool groupDialog;
    const char* filter;
    BOOL includeSubGroups;
    std::vector<std::string> listed;  // sorted
    const char* chatIp;  // the one-to-one chat opened, or nullptr
};

const OpeningCase OPENING_CASES[] = {
    {"send to a group: that group alone", "Web(2)", ID_SEND_MESSAGE, true, "Dev-Web", FALSE, {"10.0.0.1"}, nullptr},
    {"send to a group with its sub-groups: a plain prefix test",
     "Web(2)",
     ID_SEND_MESSAGE_WITH_SUBGROUPS,
     true,
     "Dev-Web",
     TRUE,
     {"10.0.0.1", "10.0.0.2", "10.0.0.3"},
     nullptr},
    {"deeper group path", "Mobile(1)", ID_SEND_MESSAGE, true, "Dev-Web-Mobile", FALSE, {"10.0.0.2"}, nullptr},
    {"double-click on the all-peers item: every peer",
     "全部好友(4)",
     BY_DOUBLE_CLICK,
     true,
     "",
     FALSE,
     {"10.0.0.1", "10.0.0.2", "10.0.0.3", "192.168.1.7"},
     nullptr},
    {"menu on the all-peers item: every peer",
     "全部好友(4)",
     ID_SEND_MESSAGE_WITH_SUBGROUPS,
     true,
     "",
     FALSE,
     {"10.0.0.1", "10.0.0.2", "10.0.0.3", "192.168.1.7"},
     nullptr},
    {"double-click on a group opens nothing", "Web(2)", BY_DOUBLE_CLICK, false, "", FALSE, {}, nullptr},
    {"double-click on a user opens the chat", "Ann(10.0.0.1)", BY_DOUBLE_CLICK, false, "", FALSE, {}, "10.0.0.1"},
    {"menu on a user opens the chat", "Cid(10.0.0.3)", ID_SEND_MESSAGE, false, "", FALSE, {}, "10.0.0.3"},
    {"a nickname with parentheses: the IP is in the last ones",
     "Bob(home)(192.168.1.7)",
     BY_DOUBLE_CLICK,
     false,
     "",
     FALSE,
     {},
     "192.168.1.7"},
};

TEST_F(ChatOpening, FromTheTree)
{
    addPeer("10.0.0.1", "Ann", "Dev-Web");
    addPeer("10.0.0.2", "Dan", "Dev-Web-Mobile");
    addPeer("10.0.0.3", "Cid", "Dev-WebSite");
    addPeer("192.168.1.7", "Bob(home)", "Home");
    for (const OpeningCase& one : OPENING_CASES) {
        SCOPED_TRACE(one.title);
        closeChatWindows();
        select(one.item);
        GroupDialogSeen seen = whileGroupDialogRuns([&] {
            if (one.command == BY_DOUBLE_CLICK) {
                doubleClickSelection();
            } else {
                command(one.command);
            }
        });
        EXPECT_EQ(seen.shown, one.groupDialog);
        if (one.groupDialog) {
            EXPECT_EQ(seen.filter, one.filter);
            if (!std::string(one.filter).empty()) {
                EXPECT_EQ(seen.includeSubGroups, one.includeSubGroups);
            }
            EXPECT_EQ(seen.ips, one.listed);
        }
        if (one.chatIp == nullptr) {
            EXPECT_EQ(chatDialogMap.GetCount(), 0);
        } else {
            ASSERT_EQ(chatDialogMap.GetCount(), 1);
            CChartDlg* chat = chatFor(one.chatIp);
            ASSERT_NE(chat, nullptr);
            EXPECT_EQ(chat->peerIp, one.chatIp);
            EXPECT_EQ(captionOf(chat), one.item);
            EXPECT_TRUE(chat->IsWindowVisible());
            EXPECT_TRUE(chat->GetExStyle() & WS_EX_APPWINDOW);
        }
    }
}

TEST_F(ChatOpening, APeerNamedLikeTheAllPeersItemOpensTheGroupDialog)
{
    addPeer("10.0.0.1", "全部好友", "G");
    select("全部好友(10.0.0.1)");
    GroupDialogSeen seen = whileGroupDialogRuns([&] { doubleClickSelection(); });
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(chatDialogMap.GetCount(), 0);
}

TEST_F(ChatOpening, TextFromAnUnknownPeerOpensItsWindow)
{
    receive("10.0.0.9", "stranger", "hi");
    CChartDlg* chat = chatFor("10.0.0.9");
    ASSERT_NE(chat, nullptr);
    EXPECT_TRUE(chat->IsWindowVisible());
    EXPECT_EQ(captionOf(chat), "stranger(10.0.0.9)");
    EXPECT_EQ(chat->peerIp, "10.0.0.9");
    EXPECT_TRUE(isHistoryEntry(chat->history.GetString(), "10.0.0.9", "hi"));
    CString shown;
    chat->historyEdit.GetWindowText(shown);
    EXPECT_EQ(shown, chat->history);
}

TEST_F(ChatOpening, TextsFromAKnownPeerGoToOneWindowUnderItsNickname)
{
    addPeer("10.0.0.1", "Ann", "Dev");
    receive("10.0.0.1", "ann-login", "first");
    CChartDlg* chat = chatFor("10.0.0.1");
    ASSERT_NE(chat, nullptr);
    EXPECT_EQ(captionOf(chat), "Ann(10.0.0.1)");
    std::string first = chat->history.GetString();
    EXPECT_TRUE(isHistoryEntry(first, "Ann", "first"));

    // The user closes the window and starts typing an answer; the next text
    // shows the window again with the whole history, the draft untouched.
    chat->SendMessage(WM_CLOSE);
    EXPECT_FALSE(chat->IsWindowVisible());
    chat->SetDlgItemText(IDC_EDIT_MESSAGE, "draft");
    receive("10.0.0.1", "ann-login", "second\r\nline");
    EXPECT_EQ(chatDialogMap.GetCount(), 1);
    EXPECT_TRUE(chat->IsWindowVisible());
    std::string history = chat->history.GetString();
    ASSERT_EQ(history.compare(0, first.size() + 2, first + "\r\n"), 0) << history;
    EXPECT_TRUE(isHistoryEntry(history.substr(first.size() + 2), "Ann", "second\r\nline"));
    CString draft;
    chat->GetDlgItemText(IDC_EDIT_MESSAGE, draft);
    EXPECT_EQ(draft, "draft");
}

TEST_F(ChatOpening, TextsOpenWindowsUpToTheLimitThenOnlyPeersWithAWindowAreShown)
{
    const int LIMIT = CUserListDlg::CHAT_WINDOW_LIMIT;
    std::vector<std::string> ips;
    for (int i = 0; i < LIMIT; ++i) {
        ips.push_back("10.1." + std::to_string(i / 250) + "." + std::to_string(1 + i % 250));
    }
    for (const std::string& ip : ips) {
        ASSERT_EQ(receive(ip.c_str(), "sender", "hello"), CHAT_TEXT_TAKEN) << ip;
    }
    ASSERT_EQ(chatDialogMap.GetCount(), LIMIT);

    // One more address: the text is neither shown nor taken.
    EXPECT_NE(receive("10.2.0.1", "stranger", "one too many"), CHAT_TEXT_TAKEN);
    EXPECT_EQ(chatFor("10.2.0.1"), nullptr);
    EXPECT_EQ(chatDialogMap.GetCount(), LIMIT);

    // The peers that have a window go on talking, closed windows included.
    CChartDlg* first = chatFor(ips.front().c_str());
    ASSERT_NE(first, nullptr);
    first->SendMessage(WM_CLOSE);
    EXPECT_EQ(receive(ips.front().c_str(), "sender", "still here"), CHAT_TEXT_TAKEN);
    EXPECT_TRUE(first->IsWindowVisible());
    EXPECT_NE(first->history.Find("still here"), -1);
    EXPECT_EQ(receive(ips.back().c_str(), "sender", "me too"), CHAT_TEXT_TAKEN);

    // The user may still open a chat from the tree, and that peer is heard.
    addPeer("10.2.0.2", "Ann", "Dev");
    select("Ann(10.2.0.2)");
    doubleClickSelection();
    ASSERT_NE(chatFor("10.2.0.2"), nullptr);
    EXPECT_EQ(receive("10.2.0.2", "ann", "hi"), CHAT_TEXT_TAKEN);
    EXPECT_NE(receive("10.2.0.1", "stranger", "again"), CHAT_TEXT_TAKEN);
    EXPECT_EQ(chatFor("10.2.0.1"), nullptr);
}

TEST_F(ChatOpening, SendingToAFoldedGroupFindsItsPeer)
{
    // The ninth level and what follows are one item: its path read back from
    // the tree is the peer's group, so the group dialog lists the peer.
    addPeer("10.0.0.1", "Ann", "A-B-C-D-E-F-G-H-I-J");
    addPeer("10.0.0.2", "Bob", "A-B-C-D-E-F-G-H");
    select("H-I-J(1)");
    GroupDialogSeen seen = whileGroupDialogRuns([&] { command(ID_SEND_MESSAGE); });
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.filter, "A-B-C-D-E-F-G-H-I-J");
    EXPECT_EQ(seen.ips, std::vector<std::string>{"10.0.0.1"});
}

TEST_F(ChatOpening, RefreshEmptiesTreeAndPeersButKeepsTheChatWindows)
{
    addPeer("10.0.0.1", "Ann", "Dev");
    receive("10.0.0.1", "ann", "hello");
    CChartDlg* chat = chatFor("10.0.0.1");
    ASSERT_NE(chat, nullptr);
    CString history = chat->history;

    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_REFRESH, BN_CLICKED),
                        (LPARAM)::GetDlgItem(dialog->m_hWnd, IDC_BUTTON_REFRESH));

    CTreeCtrl& tree = dialog->userTree;
    EXPECT_EQ(tree.GetItemText(tree.GetRootItem()), "全部好友(0)");
    EXPECT_EQ(tree.GetNextSiblingItem(tree.GetRootItem()), nullptr);
    {
        SharedStateLock lock;
        EXPECT_EQ(userMap.GetCount(), 0);
    }
    EXPECT_EQ(chatFor("10.0.0.1"), chat);
    EXPECT_EQ(chat->history, history);
}

TEST_F(ChatOpening, ClosingOnlyHidesTheBuddyList)
{
    dialog->ShowWindow(SW_SHOW);
    dialog->SendMessage(WM_CLOSE);
    EXPECT_FALSE(dialog->IsWindowVisible());
    EXPECT_TRUE(::IsWindow(dialog->m_hWnd));
}

}  // namespace
