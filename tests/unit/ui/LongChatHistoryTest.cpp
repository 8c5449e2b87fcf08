// A chat text that arrives in a long conversation: only the new entry goes
// into the history control, which still shows exactly the history, scrolled
// to its newest line, and the user's draft stays as it was.
#include "HistoryExpectations.h"
#include "tests/unit/support/BuddyListFixture.h"

#include "core/Globals.h"
#include "core/IpMessage.h"
#include "engine/WindowLinks.h"
#include "dialogs/ChartDlg.h"
#include "dialogs/ChatHistory.h"
#include "dialogs/KeptHistory.h"
#include "shell/UserListDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const char PEER[] = "10.0.0.5";
const int LONG_CONVERSATION = 2000;

// The longest text handed to the watched control (WM_SETTEXT, EM_REPLACESEL)
// since the watch began.
WNDPROC watchedProc = NULL;
size_t longestTextGiven = 0;

LRESULT CALLBACK watchTexts(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_SETTEXT || message == EM_REPLACESEL) && lParam != 0) {
        longestTextGiven = std::max(longestTextGiven, strlen((const char*)lParam));
    }
    return CallWindowProcA(watchedProc, window, message, wParam, lParam);
}

class LongChatHistory : public BuddyListFixture {
protected:
    void SetUp() override
    {
        BuddyListFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        receive("the first text");
        CObject* found = NULL;
        ASSERT_TRUE(chatDialogMap.Lookup(PEER, found));
        chat = static_cast<CChartDlg*>(found);
    }

    void receive(const char* text) { BuddyListFixture::receive(PEER, "peer", text); }

    // The conversation so far, as the window shows it after that many texts.
    void haveShown(int entries)
    {
        CString history;
        for (int i = 0; i < entries; ++i) {
            CString text;
            text.Format("message %d of a long conversation", i);
            appendHistoryEntry(history, historyEntry(i % 2 ? "Li" : PEER, "09:00:00", text));
        }
        chat->history = history;
        chat->historyEdit.SetWindowText(history);
    }

    std::string shownText()
    {
        CString shown;
        chat->historyEdit.GetWindowText(shown);
        return shown.GetString();
    }

    // True when the last character of the history control lies inside its
    // client area.
    bool newestLineInView()
    {
        long last = chat->historyEdit.GetTextLength() - 1;
        POINTL at = {0, 0};
        chat->historyEdit.SendMessage(EM_POSFROMCHAR, (WPARAM)&at, last);
        RECT client;
        chat->historyEdit.GetClientRect(&client);
        return at.y >= client.top && at.y < client.bottom;
    }

    CChartDlg* chat = nullptr;
};

TEST_F(LongChatHistory, ANewTextIsAppendedAndShownWithTheDraftUntouched)
{
    haveShown(LONG_CONVERSATION);
    std::string before = chat->history.GetString();
    chat->SetDlgItemText(IDC_EDIT_MESSAGE, "a draft the user is typing");

    HWND control = chat->historyEdit.m_hWnd;
    longestTextGiven = 0;
    watchedProc = (WNDPROC)SetWindowLongPtrA(control, GWLP_WNDPROC, (LONG_PTR)watchTexts);
    receive("the newest text");
    SetWindowLongPtrA(control, GWLP_WNDPROC, (LONG_PTR)watchedProc);

    std::string history = chat->history.GetString();
    ASSERT_EQ(history.compare(0, before.size() + 2, before + "\r\n"), 0);
    EXPECT_TRUE(isHistoryEntry(history.substr(before.size() + 2), PEER, "the newest text"));
    // The control got the new entry only, not the whole conversation again.
    EXPECT_EQ(longestTextGiven, history.size() - before.size());
    EXPECT_EQ(shownText(), history);
    CString draft;
    chat->GetDlgItemText(IDC_EDIT_MESSAGE, draft);
    EXPECT_EQ(draft, "a draft the user is typing");
    EXPECT_GT(chat->historyEdit.SendMessage(EM_GETFIRSTVISIBLELINE), 0);
    EXPECT_TRUE(newestLineInView());
}

TEST_F(LongChatHistory, TextsOneAfterAnotherKeepControlAndHistoryEqual)
{
    haveShown(LONG_CONVERSATION);
    receive("one\r\ntwo lines");
    receive("");
    receive("中文的消息");
    EXPECT_EQ(shownText(), chat->history.GetString());
    EXPECT_TRUE(newestLineInView());
}

TEST_F(LongChatHistory, WhatTheUserTypedIntoTheHistoryGivesWayToTheHistory)
{
    haveShown(20);
    chat->historyEdit.SetSel(0, 0);
    chat->historyEdit.SendMessage(WM_CHAR, 'x', 1);
    ASSERT_NE(shownText(), chat->history.GetString());

    receive("after the user's edit");
    EXPECT_EQ(shownText(), chat->history.GetString());
    EXPECT_TRUE(newestLineInView());
}

// A history bound small enough for texts of a few KB to pass it soon.
const int BOUND = 16 * 1024;

class KeptChatHistory : public LongChatHistory {
protected:
    void SetUp() override
    {
        KeptHistory::bytesKept = BOUND;
        LongChatHistory::SetUp();
    }
    void TearDown() override
    {
        LongChatHistory::TearDown();
        KeptHistory::bytesKept = KeptHistory::HISTORY_BYTES_KEPT;
    }

    // What a history past its bound must be, as the control shows it too:
    // the notice, once, first; then whole entries, the newest last; and no
    // more than the bound unless the newest entry alone is longer.
    void expectKept(const std::string& newest)
    {
        std::string history = chat->history.GetString();
        EXPECT_EQ(shownText(), history);
        const std::string notice = KeptHistory::OLDER_LEFT_OUT;
        ASSERT_EQ(history.compare(0, notice.size() + 2, notice + "\r\n"), 0) << history.substr(0, 80);
        EXPECT_EQ(history.find(notice, 1), std::string::npos);
        size_t last = history.rfind("\r\n" + std::string(PEER) + " ");
        ASSERT_NE(last, std::string::npos);
        EXPECT_TRUE(isHistoryEntry(history.substr(last + 2), PEER, newest));
        std::string first = history.substr(notice.size() + 2);
        std::string own = std::string(ownSenderName().GetString()) + " ";
        EXPECT_TRUE(first.compare(0, strlen(PEER) + 1, std::string(PEER) + " ") == 0 ||
                    first.compare(0, own.size(), own) == 0)
            << first.substr(0, 40);
        if (last > notice.size()) {
            EXPECT_LE(history.size(), (size_t)BOUND);
        }
        EXPECT_TRUE(newestLineInView());
    }
};

// A text of about `bytes` bytes, Chinese and Latin, that begins and ends with
// its mark: the history counts bytes and the control characters.
std::string longText(const std::string& mark, size_t bytes, const char* line = " 聊天记录 of a long text")
{
    std::string text = mark;
    while (text.size() < bytes) {
        text += line;
    }
    return text + mark;
}

TEST_F(KeptChatHistory, PastItsBoundTheOldestEntriesLeaveUnderOneNotice)
{
    std::string oldest = longText("the oldest", 300);
    receive(oldest.c_str());
    std::string text;
    for (int i = 0; i < 40; ++i) {
        // Some of them in lines, which the control may count otherwise.
        text = longText("text " + std::to_string(i), 1500, i % 3 ? " 聊天记录 of a long text" : "行\r\n");
        receive(text.c_str());
        ASSERT_EQ(shownText(), chat->history.GetString()) << "after text " << i;
    }
    expectKept(text);
    std::string history = chat->history.GetString();
    EXPECT_EQ(history.find(oldest), std::string::npos);
    EXPECT_NE(history.find(longText("text 35", 1500)), std::string::npos);
}

TEST_F(KeptChatHistory, AnEntryLongerThanTheBoundStaysWhole)
{
    receive(longText("before", 2000).c_str());
    std::string huge = longText("huge", BOUND + 1000);
    receive(huge.c_str());
    expectKept(huge);
}

TEST_F(KeptChatHistory, WhatTheUserTypedIntoAKeptHistoryIsDroppedWithItsOldestPart)
{
    for (int i = 0; i < 20; ++i) {
        receive(longText("text " + std::to_string(i), 1500).c_str());
    }
    chat->historyEdit.SetSel(0, 0);
    chat->historyEdit.SendMessage(WM_CHAR, 'x', 1);
    chat->SetDlgItemText(IDC_EDIT_MESSAGE, "sent after the edit");
    chat->SendMessage(WM_COMMAND, IDC_BUTTON_SEND, 0);
    ASSERT_EQ(chat->history.GetAt(0), 'x');
    EXPECT_EQ(shownText(), chat->history.GetString());
    std::string text;
    for (int i = 0; i < 3; ++i) {
        text = longText("later " + std::to_string(i), 1500);
        receive(text.c_str());
    }
    // The edited history went as one piece; the entry sent after it stays.
    expectKept(text);
    EXPECT_NE(chat->history.Find("：\r\nsent after the edit\r\n"), -1);
}

}  // namespace
