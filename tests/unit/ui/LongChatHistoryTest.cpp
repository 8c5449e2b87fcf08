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

}  // namespace
