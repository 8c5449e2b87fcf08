// The buddy tree as the user sees it after entries arrive: item texts with
// their counts, the nesting of groups, the images and the sibling order.
#include "tests/unit/support/BuddyListFixture.h"

#include "core/Globals.h"
#include "core/IpMessage.h"
#include "core/User.h"
#include "engine/WindowLinks.h"
#include "dialogs/ChartDlg.h"
#include "shell/UserListDlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Entry {
    const char* ip;
    const char* nickname;  // nullptr: the peer's exit
    const char* group;
    const char* version;
};

// One line per item: two blanks per level, the text, " #" and the image.
std::string dumpTree(CTreeCtrl& tree, HTREEITEM first, int depth = 0)
{
    std::string text;
    for (HTREEITEM item = first; item != NULL; item = tree.GetNextSiblingItem(item)) {
        int image = -1;
        int selected = -1;
        tree.GetItemImage(item, image, selected);
        text += std::string(depth * 2, ' ') + tree.GetItemText(item).GetString() + " #" + std::to_string(image);
        if (selected != image) {
            text += "/" + std::to_string(selected);
        }
        text += "\n";
        text += dumpTree(tree, tree.GetChildItem(item), depth + 1);
    }
    return text;
}

class BuddyTree : public BuddyListFixture {
protected:
    void add(const Entry& entry)
    {
        if (entry.nickname == nullptr) {
            removePeer(entry.ip);
        } else {
            addPeer(entry.ip, entry.nickname, entry.group, entry.version);
        }
    }

    std::string tree() { return dumpTree(dialog->userTree, dialog->userTree.GetRootItem()); }
};

struct TreeCase {
    const char* title;
    std::vector<Entry> entries;
    const char* tree;
};

const TreeCase TREE_CASES[] = {
    {"a peer goes under the deepest level of its path; every level counts its children",
     {{"10.0.0.1", "Ann", "Dev-Web-Mobile", "1-1-ZQ"},
      {"10.0.0.2", "Bob", "Dev-Web-Mobile", "1-1-ZQ"},
      {"10.0.0.3", "Cid", "Dev-Web", "1-1-ZQ"}},
     "全部好友(3) #1\n"
     "Dev(1) #1\n"
     "  Web(2) #1\n"
     "    Cid(10.0.0.3) #2\n"
     "    Mobile(2) #1\n"
     "      Ann(10.0.0.1) #2\n"
     "      Bob(10.0.0.2) #2\n"},
    {"top-level groups keep their order of arrival",
     {{"10.0.0.1", "Ann", "Yellow", "1-1-ZQ"}, {"10.0.0.2", "Bob", "Blue", "1-1-ZQ"}},
     "全部好友(2) #1\n"
     "Yellow(1) #1\n"
     "  Ann(10.0.0.1) #2\n"
     "Blue(1) #1\n"
     "  Bob(10.0.0.2) #2\n"},
    {"an empty or blank group is the group 未分组",
     {{"10.0.0.1", "Ann", "", "1-1-ZQ"}, {"10.0.0.2", "Bob", "   ", "1-1-ZQ"}},
     "全部好友(2) #1\n"
     "未分组(2) #1\n"
     "  Ann(10.0.0.1) #2\n"
     "  Bob(10.0.0.2) #2\n"},
    {"blanks next to '-' stay in deeper levels and are ignored when looking up",
     {{"10.0.0.1", "Ann", "Dev - Web", "1-1-ZQ"}, {"10.0.0.2", "Bob", "Dev - Web", "1-1-ZQ"}},
     "全部好友(2) #1\n"
     "Dev(1) #1\n"
     "   Web(2) #1\n"
     "    Ann(10.0.0.1) #2\n"
     "    Bob(10.0.0.2) #2\n"},
    {"a known IP under a new nickname and group moves; groups left empty go, counts follow",
     {{"10.0.0.1", "Ann", "Dev-Web", "1-1-ZQ"},
      {"10.0.0.2", "Bob", "Dev", "1-1-ZQ"},
      {"10.0.0.1", "Zed", "Sales-East", "1"}},
     "全部好友(2) #1\n"
     "Dev(1) #1\n"
     "  Bob(10.0.0.2) #2\n"
     "Sales(1) #1\n"
     "  East(1) #1\n"
     "    Zed(10.0.0.1) #3\n"},
    {"a known IP renamed in its group keeps the group in its place",
     {{"10.0.0.1", "Ann", "Yellow", "1-1-ZQ"},
      {"10.0.0.2", "Bob", "Blue", "1-1-ZQ"},
      {"10.0.0.1", "Amy", "Yellow", "1-1-ZQ"}},
     "全部好友(2) #1\n"
     "Yellow(1) #1\n"
     "  Amy(10.0.0.1) #2\n"
     "Blue(1) #1\n"
     "  Bob(10.0.0.2) #2\n"},
    {"the same entry again changes nothing",
     {{"10.0.0.1", "Ann", "G-H", "1-1-ZQ"}, {"10.0.0.1", "Ann", "G-H", "1-1-ZQ"}},
     "全部好友(1) #1\n"
     "G(1) #1\n"
     "  H(1) #1\n"
     "    Ann(10.0.0.1) #2\n"},
    {"a peer leaving the all-peers item as its group leaves that item in place",
     {{"10.0.0.1", "Ann", "全部好友", "1-1-ZQ"}, {"10.0.0.1", "Ann", "G", "1-1-ZQ"}},
     "全部好友(1) #1\n"
     "G(1) #1\n"
     "  Ann(10.0.0.1) #2\n"},
    {"the image tells the client kind: own client, '#' in the version, any other",
     {{"10.0.0.1", "A", "K", "1-1-ZQ"},
      {"10.0.0.2", "B", "K", "1_lbt4_0#128#000C29D8D4CA#0#0#0"},
      {"10.0.0.3", "C", "K", "1-1-ZQ#2"},
      {"10.0.0.4", "D", "K", "-ZQ"},
      {"10.0.0.5", "E", "K", "1"}},
     "全部好友(5) #1\n"
     "K(5) #1\n"
     "  A(10.0.0.1) #2\n"
     "  B(10.0.0.2) #4\n"
     "  C(10.0.0.3) #4\n"
     "  D(10.0.0.4) #3\n"
     "  E(10.0.0.5) #3\n"},
    {"a nickname with parentheses keeps them in its item",
     {{"192.168.1.7", "Bob(home)", "G", "1-1-ZQ"}},
     "全部好友(1) #1\n"
     "G(1) #1\n"
     "  Bob(home)(192.168.1.7) #2\n"},
    {"the group 全部好友 is the all-peers item, which then counts the peer twice",
     {{"10.0.0.1", "Ann", "全部好友", "1-1-ZQ"}},
     "全部好友(2) #1\n"
     "  Ann(10.0.0.1) #2\n"},
    {"users and sub-groups are sorted among their siblings",
     {{"10.0.0.3", "Carol", "G", "1-1-ZQ"},
      {"10.0.0.4", "Dan", "G-Mid", "1-1-ZQ"},
      {"10.0.0.1", "Alice", "G", "1-1-ZQ"},
      {"10.0.0.2", "Bob", "G", "1-1-ZQ"}},
     "全部好友(4) #1\n"
     "G(4) #1\n"
     "  Alice(10.0.0.1) #2\n"
     "  Bob(10.0.0.2) #2\n"
     "  Carol(10.0.0.3) #2\n"
     "  Mid(1) #1\n"
     "    Dan(10.0.0.4) #2\n"},
    {"a path deeper than eight levels: the eighth level holds the rest",
     {{"10.0.0.1", "Ann", "A-B-C-D-E-F-G-H-I-J", "1-1-ZQ"}, {"10.0.0.2", "Bob", "A-B-C-D-E-F-G-H-I-J", "1-1-ZQ"}},
     "全部好友(2) #1\n"
     "A(1) #1\n"
     "  B(1) #1\n"
     "    C(1) #1\n"
     "      D(1) #1\n"
     "        E(1) #1\n"
     "          F(1) #1\n"
     "            G(1) #1\n"
     "              H-I-J(2) #1\n"
     "                Ann(10.0.0.1) #2\n"
     "                Bob(10.0.0.2) #2\n"},
    {"a path of only '-' is eight empty levels at most",
     {{"10.0.0.1", "Ann", "---------------", "1-1-ZQ"}},
     "全部好友(1) #1\n"
     "(1) #1\n"
     "  (1) #1\n"
     "    (1) #1\n"
     "      (1) #1\n"
     "        (1) #1\n"
     "          (1) #1\n"
     "            (1) #1\n"
     "              --------(1) #1\n"
     "                Ann(10.0.0.1) #2\n"},
    {"an exit takes out the peer at its address only; groups left empty go, counts follow",
     {{"10.0.0.1", "Ann", "Dev-Web", "1-1-ZQ"},
      {"10.0.0.2", "Bob", "Dev", "1-1-ZQ"},
      {"10.0.0.3", "Ann", "Dev-Web", "1-1-ZQ"},
      {"10.0.0.1", nullptr, "", ""}},
     "全部好友(2) #1\n"
     "Dev(2) #1\n"
     "  Bob(10.0.0.2) #2\n"
     "  Web(1) #1\n"
     "    Ann(10.0.0.3) #2\n"},
    {"an exit from an address without a peer, or a second one, changes nothing",
     {{"10.0.0.1", "Ann", "G", "1-1-ZQ"},
      {"10.0.0.9", nullptr, "", ""},
      {"10.0.0.2", "Bob", "H", "1-1-ZQ"},
      {"10.0.0.2", nullptr, "", ""},
      {"10.0.0.2", nullptr, "", ""}},
     "全部好友(1) #1\n"
     "G(1) #1\n"
     "  Ann(10.0.0.1) #2\n"},
    {"a peer that left comes back with its next entry, where that entry puts it",
     {{"10.0.0.1", "Ann", "G", "1-1-ZQ"}, {"10.0.0.1", nullptr, "", ""}, {"10.0.0.1", "Amy", "K", "1"}},
     "全部好友(1) #1\n"
     "K(1) #1\n"
     "  Amy(10.0.0.1) #3\n"},
    {"a peer of the group 全部好友 leaves both of its counts",
     {{"10.0.0.1", "Ann", "全部好友", "1-1-ZQ"}, {"10.0.0.1", nullptr, "", ""}},
     "全部好友(0) #1\n"},
    {"a peer named like a sub-group is never taken for that group",
     {{"10.0.0.1", "Web", "Dev", "1-1-ZQ"}, {"10.0.0.2", "Ann", "Dev-Web", "1-1-ZQ"}},
     "全部好友(2) #1\n"
     "Dev(2) #1\n"
     "  Web(1) #1\n"
     "    Ann(10.0.0.2) #2\n"
     "  Web(10.0.0.1) #2\n"},
};

TEST_F(BuddyTree, EntriesBuildTheTree)
{
    for (const TreeCase& one : TREE_CASES) {
        SCOPED_TRACE(one.title);
        dialog->userTree.DeleteAllItems();
        dialog->userTree.InsertItem("全部好友(0)", 1, 1);
        removeAllUsers();
        for (const Entry& entry : one.entries) {
            add(entry);
        }
        EXPECT_EQ(tree(), one.tree);
    }
}

TEST_F(BuddyTree, StartsWithTheAllPeersItemOnly)
{
    EXPECT_EQ(tree(), "全部好友(0) #1\n");
}

TEST_F(BuddyTree, EntryRecordsThePeer)
{
    add({"10.0.0.7", "Ann", "  Dev-Web ", "1_lbt#1"});
    SharedStateLock lock;
    CObject* value = NULL;
    ASSERT_TRUE(userMap.Lookup("10.0.0.7", value));
    User* user = static_cast<User*>(value);
    EXPECT_EQ(user->nickname, "Ann");
    EXPECT_EQ(user->group, "Dev-Web");
    EXPECT_EQ(user->host, "peerbox");
    EXPECT_EQ(user->ip, "10.0.0.7");
    EXPECT_EQ(user->clientKind, 3);
}

// A hostile group: 1,000 bytes of levels, the last character cut in half by
// the length bound.
TEST_F(BuddyTree, ALongGroupIsCutToWholeCharactersAndEightLevels)
{
    std::string group = "x";
    for (int i = 0; i < 500; ++i) {
        group += "组-";
    }
    add({"10.0.0.7", "Ann", group.c_str(), "1"});

    // 128 bytes: "x", then 42 whole "组-" (126 bytes); the next 组 would end
    // at byte 129.
    std::string kept = "x";
    for (int i = 0; i < 42; ++i) {
        kept += "组-";
    }
    {
        SharedStateLock lock;
        CObject* value = NULL;
        ASSERT_TRUE(userMap.Lookup("10.0.0.7", value));
        EXPECT_EQ(static_cast<User*>(value)->group, kept.c_str());
    }
    std::string rest = kept.substr(1 + 3 * 7);  // after "x组-" and six "组-"
    std::string expected = "全部好友(1) #1\n"
                           "x组(1) #1\n"
                           "  组(1) #1\n"
                           "    组(1) #1\n"
                           "      组(1) #1\n"
                           "        组(1) #1\n"
                           "          组(1) #1\n"
                           "            组(1) #1\n";
    expected += "              " + rest + "(1) #1\n";
    expected += "                Ann(10.0.0.7) #3\n";
    EXPECT_EQ(tree(), expected);
    EXPECT_EQ(dialog->findGroupItem(kept.c_str()), itemNamed((rest + "(1)").c_str()));
}

TEST_F(BuddyTree, AfterARefreshTheSameGroupsAreMadeAgain)
{
    add({"10.0.0.1", "Ann", "Dev-Web", "1-1-ZQ"});
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_REFRESH, BN_CLICKED),
                        (LPARAM)::GetDlgItem(dialog->m_hWnd, IDC_BUTTON_REFRESH));
    add({"10.0.0.2", "Bob", "Dev-Web", "1-1-ZQ"});
    add({"10.0.0.1", "Ann", "Dev", "1-1-ZQ"});
    EXPECT_EQ(tree(),
              "全部好友(2) #1\n"
              "Dev(2) #1\n"
              "  Ann(10.0.0.1) #2\n"
              "  Web(1) #1\n"
              "    Bob(10.0.0.2) #2\n");
}

TEST_F(BuddyTree, RenamedPeerRenamesItsChatWindowAndRecord)
{
    add({"10.0.0.7", "Ann", "Dev", "1-1-ZQ"});
    CChartDlg* chat = dialog->chatDialogFor("10.0.0.7", "Ann", "Ann(10.0.0.7)");
    ASSERT_NE(chat, nullptr);
    add({"10.0.0.7", "王五", "Sales", "1-1-ZQ"});

    CString title;
    chat->GetWindowText(title);
    EXPECT_STREQ(title, "王五(10.0.0.7)");
    {
        SharedStateLock lock;
        CObject* value = NULL;
        ASSERT_TRUE(userMap.Lookup("10.0.0.7", value));
        EXPECT_STREQ(static_cast<User*>(value)->nickname, "王五");
        EXPECT_STREQ(static_cast<User*>(value)->group, "Sales");
    }
    closeChatWindows();
}

// Windows know peers by IP, not by record: the chat window of a peer that
// left stays with its history, and takes the peer's texts as before.
TEST_F(BuddyTree, APeerThatLeftKeepsItsChatWindowAndLeavesNoRecord)
{
    add({"10.0.0.7", "Ann", "Dev", "1-1-ZQ"});
    ASSERT_EQ(CHAT_TEXT_TAKEN, receive("10.0.0.7", "ann", "before"));
    CChartDlg* chat = dialog->chatDialogFor("10.0.0.7", "Ann", "Ann(10.0.0.7)");
    ASSERT_NE(chat, nullptr);
    removePeer("10.0.0.7");

    CString nickname;
    EXPECT_FALSE(lookUpNickname("10.0.0.7", &nickname));
    EXPECT_EQ(dialog->chatDialogFor("10.0.0.7", "", ""), chat);
    EXPECT_TRUE(::IsWindow(chat->m_hWnd));
    EXPECT_EQ(CHAT_TEXT_TAKEN, receive("10.0.0.7", "ann", "after"));
    CString history;
    chat->historyEdit.GetWindowText(history);
    std::string shown = history.GetString();
    EXPECT_NE(shown.find("before"), std::string::npos) << shown;
    EXPECT_NE(shown.find("after"), std::string::npos) << shown;
    EXPECT_EQ(tree(), "全部好友(0) #1\n");
    closeChatWindows();
}

TEST_F(BuddyTree, ExpandingAndCollapsingSwitchTheGroupImage)
{
    add({"10.0.0.1", "Ann", "Dev-Web-Mobile", "1-1-ZQ"});
    add({"10.0.0.2", "Bob", "Dev", "1-1-ZQ"});
    CTreeCtrl& tree = dialog->userTree;

    // The expand-all key opens every group below the selection.
    tree.SelectItem(itemNamed("Dev(2)"));
    tree.SendMessage(WM_KEYDOWN, VK_MULTIPLY, 0);
    EXPECT_EQ(this->tree(),
              "全部好友(2) #1\n"
              "Dev(2) #0\n"
              "  Bob(10.0.0.2) #2\n"
              "  Web(1) #0\n"
              "    Mobile(1) #0\n"
              "      Ann(10.0.0.1) #2\n");

    tree.SelectItem(itemNamed("Web(1)"));
    tree.SendMessage(WM_KEYDOWN, VK_SUBTRACT, 0);
    EXPECT_EQ(this->tree(),
              "全部好友(2) #1\n"
              "Dev(2) #0\n"
              "  Bob(10.0.0.2) #2\n"
              "  Web(1) #1\n"
              "    Mobile(1) #0\n"
              "      Ann(10.0.0.1) #2\n");
}

}  // namespace
