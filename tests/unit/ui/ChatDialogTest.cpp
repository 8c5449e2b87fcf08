// The chat dialogs in use: sending, the history, the file rows and the keys.
#include "HistoryExpectations.h"
#include "tests/unit/support/UiTestSupport.h"

#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/IpmsgProtocol.h"
#include "core/User.h"
#include "dialogs/DroppedFiles.h"
#include "dialogs/ChartAllDlg.h"
#include "dialogs/ChartDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

void setOwnName(const char* name)
{
    SharedStateLock lock;
    userName = name;
}

void clickSend(CWnd* dialog)
{
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_SEND, BN_CLICKED),
                        (LPARAM)::GetDlgItem(dialog->m_hWnd, IDC_BUTTON_SEND));
}

// A key pressed in a control, offered to the windows the way the message
// loop offers it. TRUE when a window consumed it.
BOOL pressKey(HWND control, UINT key)
{
    MSG message = {control, WM_KEYDOWN, key, 0, 0, {0, 0}};
    BOOL consumed = CWnd::WalkPreTranslateTree(&message);
    if (!consumed) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return consumed;
}

std::vector<std::string> rowsOf(CListCtrl& list, int column)
{
    std::vector<std::string> rows;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        rows.push_back(list.GetItemText(row, column).GetString());
    }
    return rows;
}

void dropPath(CWnd* dialog, const CString& path)
{
    dialog->SendMessage(WM_USER_ADD_DROPPED_FILE, 0, (LPARAM)path.GetString());
}

class OneToOneChat : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(wire.ready()) << wire.error();
        chat = new CChartDlg;
        chat->peerIp = "127.0.0.2";
        chat->title = "Li(127.0.0.2)";
        ASSERT_TRUE(chat->Create(IDD_CHART_DLG, NULL));
        chat->ShowWindow(SW_SHOW);
    }

    void TearDown() override
    {
        if (chat != nullptr) {
            chat->DestroyWindow();
            delete chat;
        }
        setOwnName("");
    }

    void type(const char* text) { chat->SetDlgItemText(IDC_EDIT_MESSAGE, text); }

    // What the window sends to its peer, and where to.
    std::string sentText()
    {
        LoopbackWire::Sent sent = wire.next();
        EXPECT_EQ(sent.to, "127.0.0.2");
        return sent.bytes;
    }

    LoopbackWire wire;
    CChartDlg* chat = nullptr;
    ScratchFolder scratch;
};

TEST_F(OneToOneChat, CaptionIsTheTitle)
{
    CString caption;
    chat->GetWindowText(caption);
    EXPECT_EQ(caption, "Li(127.0.0.2)");
}

TEST_F(OneToOneChat, SendingAddsHistoryLinesAndSendsTheText)
{
    setOwnName("小李");
    type("hello");
    clickSend(chat);
    std::string first = chat->history.GetString();
    EXPECT_TRUE(isHistoryEntry(first, "小李", "hello"));

    Datagram sent = parseDatagram(sentText());
    EXPECT_EQ(sent.command & 0xFF, IPMSG_SENDMSG);
    EXPECT_EQ(sent.command & IPMSG_FILEATTACHOPT, 0);
    EXPECT_EQ(sent.extra.substr(0, 5), "hello");

    type("第二行");
    clickSend(chat);
    std::string history = chat->history.GetString();
    ASSERT_EQ(history.compare(0, first.size() + 2, first + "\r\n"), 0) << history;
    EXPECT_TRUE(isHistoryEntry(history.substr(first.size() + 2), "小李", "第二行"));
    EXPECT_EQ(parseDatagram(sentText()).extra.substr(0, 6), "第二行");

    // The input is emptied and focused; the control shows the history.
    CString input;
    chat->GetDlgItemText(IDC_EDIT_MESSAGE, input);
    EXPECT_EQ(input, "");
    EXPECT_EQ(::GetFocus(), chat->messageEdit.m_hWnd);
    CString shown;
    chat->historyEdit.GetWindowText(shown);
    EXPECT_EQ(shown, chat->history);
}

TEST_F(OneToOneChat, WithoutAnOwnNameTheLoginNameSends)
{
    setOwnName("");
    type("hi");
    clickSend(chat);
    EXPECT_TRUE(isHistoryEntry(chat->history.GetString(), CUtils::getLoginUserName().GetString(), "hi"));
}

TEST_F(OneToOneChat, AnEmptyTextStillGetsItsLineAndIsSent)
{
    setOwnName("Li");
    clickSend(chat);
    EXPECT_TRUE(isHistoryEntry(chat->history.GetString(), "Li", ""));
    Datagram sent = parseDatagram(sentText());
    EXPECT_EQ(sent.command & 0xFF, IPMSG_SENDMSG);
}

TEST_F(OneToOneChat, WithFileRowsTheTextGoesOutAsAFileOffer)
{
    CString file = scratch.file("report.txt", "12345");
    CString folder = scratch.folder("photos");
    dropPath(chat, file);
    dropPath(chat, folder);
    EXPECT_EQ(rowsOf(chat->fileList, 0), (std::vector<std::string>{"report.txt", "photos"}));
    EXPECT_EQ(rowsOf(chat->fileList, 1), (std::vector<std::string>{file.GetString(), folder.GetString()}));

    type("files");
    clickSend(chat);
    Datagram sent = parseDatagram(sentText());
    EXPECT_EQ(sent.command & 0xFF, IPMSG_SENDMSG);
    EXPECT_NE(sent.command & IPMSG_FILEATTACHOPT, 0);
    EXPECT_EQ(sent.extra.substr(0, 6), std::string("files\0", 6));
    EXPECT_NE(sent.extra.find("report.txt"), std::string::npos);
    EXPECT_NE(sent.extra.find("photos"), std::string::npos);
    // The rows stay for another send.
    EXPECT_EQ(chat->fileList.GetItemCount(), 2);
}

TEST_F(OneToOneChat, DeleteRemovesTheSelectedFileRowsOnly)
{
    dropPath(chat, scratch.file("a.txt"));
    dropPath(chat, scratch.file("b.txt"));
    dropPath(chat, scratch.file("c.txt"));
    chat->fileList.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    chat->fileList.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);

    pressKey(chat->messageEdit.m_hWnd, VK_OEM_PERIOD);
    EXPECT_EQ(chat->fileList.GetItemCount(), 3);

    pressKey(chat->fileList.m_hWnd, VK_DELETE);
    EXPECT_EQ(rowsOf(chat->fileList, 0), std::vector<std::string>{"c.txt"});
}

TEST_F(OneToOneChat, EscKeepsTheWindowOpen)
{
    EXPECT_TRUE(pressKey(chat->messageEdit.m_hWnd, VK_ESCAPE));
    EXPECT_TRUE(chat->IsWindowVisible());
}

TEST_F(OneToOneChat, TheCloseButtonOnlyHides)
{
    type("draft");
    chat->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(chat->IsWindowVisible());
    EXPECT_TRUE(::IsWindow(chat->m_hWnd));
    CString draft;
    chat->GetDlgItemText(IDC_EDIT_MESSAGE, draft);
    EXPECT_EQ(draft, "draft");
}

// ---- the group-send dialog ----

struct Peer {
    const char* ip;
    const char* nickname;
    const char* group;
};

void setPeers(const std::vector<Peer>& peers)
{
    removeAllUsers();
    SharedStateLock lock;
    for (const Peer& peer : peers) {
        User* user = new User;
        user->ip = peer.ip;
        user->nickname = peer.nickname;
        user->group = peer.group;
        user->clientKind = 1;
        userMap.SetAt(peer.ip, user);
    }
}

class GroupChat : public testing::Test {
protected:
    void open(const char* filter, BOOL includeSubGroups)
    {
        dialog = new CChartAllDlg;
        dialog->groupFilter = filter;
        dialog->includeSubGroups = includeSubGroups;
        // Made modeless so that the test can look at it while it is open.
        ASSERT_TRUE(dialog->Create(IDD_CHART_ALL_DLG, NULL));
    }

    void TearDown() override
    {
        if (dialog != nullptr) {
            dialog->DestroyWindow();
            delete dialog;
        }
        removeAllUsers();
    }

    std::vector<std::string> listedIps()
    {
        std::vector<std::string> ips = rowsOf(dialog->userList, 2);
        std::sort(ips.begin(), ips.end());
        return ips;
    }

    CChartAllDlg* dialog = nullptr;
};

struct FilterCase {
    const char* filter;
    BOOL includeSubGroups;
    std::vector<std::string> listed;  // sorted
};

TEST_F(GroupChat, TheGroupFilterChoosesThePeers)
{
    const FilterCase cases[] = {
        {"", FALSE, {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4"}},
        {"Sales", FALSE, {"10.0.0.1"}},
        {"Sales", TRUE, {"10.0.0.1", "10.0.0.2", "10.0.0.3"}},
        {"Sales-East", TRUE, {"10.0.0.2"}},
        {"Sal", FALSE, {}},
    };
    setPeers({{"10.0.0.1", "Ann", "Sales"},
              {"10.0.0.2", "Bob", "Sales-East"},
              {"10.0.0.3", "Cid", "SalesWest"},
              {"10.0.0.4", "Dan", "Dev"}});
    for (const FilterCase& one : cases) {
        SCOPED_TRACE(std::string(one.filter) + (one.includeSubGroups ? " with sub-groups" : ""));
        open(one.filter, one.includeSubGroups);
        EXPECT_EQ(listedIps(), one.listed);
        EXPECT_EQ(dialog->userList.GetSelectedCount(), one.listed.size()) << "every listed peer is selected";
        dialog->DestroyWindow();
        delete dialog;
        dialog = nullptr;
    }
}

TEST_F(GroupChat, RowsShowNicknameGroupAndIp)
{
    setPeers({{"10.0.0.1", "小李", "研发部-网站组"}});
    open("", FALSE);
    EXPECT_EQ(rowsOf(dialog->userList, 0), std::vector<std::string>{"小李"});
    EXPECT_EQ(rowsOf(dialog->userList, 1), std::vector<std::string>{"研发部-网站组"});
    EXPECT_EQ(rowsOf(dialog->userList, 2), std::vector<std::string>{"10.0.0.1"});
}

TEST_F(GroupChat, SendGoesToTheSelectedPeersInRowOrder)
{
    LoopbackWire wire;
    ASSERT_TRUE(wire.ready()) << wire.error();
    setPeers({{"127.0.0.2", "B", "G"}, {"127.0.0.3", "C", "G"}, {"127.0.0.4", "D", "G"}});
    open("", FALSE);
    std::vector<std::string> selected;
    for (int row = 0; row < dialog->userList.GetItemCount(); ++row) {
        CString ip = dialog->userList.GetItemText(row, 2);
        if (ip == "127.0.0.4") {
            dialog->userList.SetItemState(row, 0, LVIS_SELECTED);
        } else {
            selected.push_back(ip.GetString());
        }
    }
    dialog->SetDlgItemText(IDC_EDIT_MESSAGE, "to two");
    clickSend(dialog);

    LoopbackWire::Sent first = wire.next();
    LoopbackWire::Sent second = wire.next();
    EXPECT_EQ((std::vector<std::string>{first.to, second.to}), selected);
    EXPECT_EQ(parseDatagram(first.bytes).extra.substr(0, 6), "to two");
    EXPECT_EQ(first.bytes, second.bytes) << "one datagram for all";
    EXPECT_TRUE(wire.nothingElseArrived());
    // Nothing is cleared: the dialog stays for another send.
    CString text;
    dialog->GetDlgItemText(IDC_EDIT_MESSAGE, text);
    EXPECT_EQ(text, "to two");

    // Without a selected peer nothing is sent at all.
    for (int row = 0; row < dialog->userList.GetItemCount(); ++row) {
        dialog->userList.SetItemState(row, 0, LVIS_SELECTED);
    }
    clickSend(dialog);
    EXPECT_TRUE(wire.nothingElseArrived());
}

TEST_F(GroupChat, FilesDroppedOnTheRecipientsJoinTheFileList)
{
    ScratchFolder scratch;
    CString file = scratch.file("plan.doc");
    setPeers({{"10.0.0.1", "Ann", "G"}});
    open("", FALSE);
    dialog->userList.SendMessage(WM_DROPFILES, (WPARAM)makeDrop({file}), 0);
    EXPECT_EQ(rowsOf(dialog->fileList, 0), std::vector<std::string>{"plan.doc"});
    EXPECT_EQ(rowsOf(dialog->fileList, 1), std::vector<std::string>{file.GetString()});
    EXPECT_EQ(dialog->userList.GetItemCount(), 1);
}

TEST_F(GroupChat, EscKeepsItOpenAndDeleteRemovesSelectedFiles)
{
    ScratchFolder scratch;
    setPeers({});
    open("", FALSE);
    dialog->ShowWindow(SW_SHOW);
    dropPath(dialog, scratch.file("a.txt"));
    dropPath(dialog, scratch.file("b.txt"));
    dialog->fileList.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);

    EXPECT_TRUE(pressKey(dialog->messageEdit.m_hWnd, VK_ESCAPE));
    EXPECT_TRUE(dialog->IsWindowVisible());
    pressKey(dialog->fileList.m_hWnd, VK_DELETE);
    EXPECT_EQ(rowsOf(dialog->fileList, 0), std::vector<std::string>{"a.txt"});
}

// ---- drops beside the drop targets ----

// The dialogs themselves accept files too, so the shell sends them whatever
// is dropped on their buttons, frames or background. Such a drop is not
// taken, but its memory must be given back.
TEST(ChatDialogs, ADropBesideTheDropTargetsIsReleasedAndNotTaken)
{
    ScratchFolder scratch;
    CChartDlg chat;
    CChartAllDlg group;
    ASSERT_TRUE(chat.Create(IDD_CHART_DLG, NULL));
    ASSERT_TRUE(group.Create(IDD_CHART_ALL_DLG, NULL));
    const struct {
        CDialog* dialog;
        CFileListCtrl* files;
    } dialogs[] = {{&chat, &chat.fileList}, {&group, &group.fileList}};
    for (const auto& one : dialogs) {
        SCOPED_TRACE(one.dialog->GetRuntimeClass()->m_lpszClassName);
        HDROP drop = makeDrop({scratch.file("a.txt")});
        one.dialog->SendMessage(WM_DROPFILES, (WPARAM)drop, 0);
        EXPECT_EQ(GlobalSize(drop), 0u) << "the drop is still allocated";
        EXPECT_EQ(one.files->GetItemCount(), 0);
        one.dialog->DestroyWindow();
    }
}

// Under Wine a drop from an X client goes to the first child under the
// pointer, descending child by child, and from there to the nearest window
// that accepts files. Every drop target of both dialogs must be that window
// over its whole face, or the drop lands on the dialog and is let go.
HWND wineDropTarget(HWND window, POINT screen)
{
    POINT point = screen;
    ScreenToClient(window, &point);
    HWND child;
    while ((child = ChildWindowFromPointEx(window, point, CWP_SKIPDISABLED | CWP_SKIPINVISIBLE)) != NULL &&
           child != window) {
        MapWindowPoints(window, child, &point, 1);
        window = child;
    }
    while (window != NULL && !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)) {
        window = GetAncestor(window, GA_PARENT);
    }
    return window;
}

TEST(ChatDialogs, AnXDropAnywhereOnADropTargetReachesThatTarget)
{
    AfxInitRichEdit();
    CChartDlg chat;
    CChartAllDlg group;
    ASSERT_TRUE(chat.Create(IDD_CHART_DLG, NULL));
    ASSERT_TRUE(group.Create(IDD_CHART_ALL_DLG, NULL));
    const struct {
        CDialog* dialog;
        std::vector<int> targets;
    } dialogs[] = {
        {&chat, {IDC_RICHEDIT_HISTORY, IDC_EDIT_MESSAGE, IDC_LIST_FILES}},
        {&group, {IDC_LIST_USERS, IDC_EDIT_MESSAGE, IDC_LIST_FILES}},
    };
    for (const auto& one : dialogs) {
        SCOPED_TRACE(one.dialog->GetRuntimeClass()->m_lpszClassName);
        one.dialog->ShowWindow(SW_SHOWNA);
        for (int id : one.targets) {
            HWND target = ::GetDlgItem(one.dialog->m_hWnd, id);
            RECT face;
            GetWindowRect(target, &face);
            // Its centre and the four corners just inside the border.
            const POINT points[] = {
                {(face.left + face.right) / 2, (face.top + face.bottom) / 2},
                {face.left + 2, face.top + 2},
                {face.right - 3, face.top + 2},
                {face.left + 2, face.bottom - 3},
                {face.right - 3, face.bottom - 3},
            };
            for (const POINT& point : points) {
                EXPECT_EQ(wineDropTarget(one.dialog->m_hWnd, point), target)
                    << "control " << id << " at " << point.x << "," << point.y;
            }
        }
        one.dialog->DestroyWindow();
    }
}

}  // namespace
