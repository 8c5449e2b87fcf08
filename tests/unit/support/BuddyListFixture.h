#pragma once
// A buddy-list window of its own for each test, with no peers known; the test
// adds peers by entry, as the engine hands them over.

#include "core/Globals.h"
#include "core/IpMessage.h"
#include "engine/WindowLinks.h"
#include "shell/UserListDlg.h"
#include "tests/unit/support/UiTestSupport.h"

#include <gtest/gtest.h>

class BuddyListFixture : public testing::Test {
protected:
    void SetUp() override
    {
        removeAllUsers();
        dialog = new CUserListDlg;
        ASSERT_TRUE(dialog->Create(IDD_USER_LIST_DLG, NULL));
    }

    void TearDown() override
    {
        closeChatWindows();
        dialog->DestroyWindow();
        delete dialog;
        removeAllUsers();
    }

    void addPeer(const char* ip, const char* nickname, const char* group, const char* version = "1-1-ZQ")
    {
        IpMessage* message = entryMessage(ip, nickname, group, version);
        dialog->SendMessage(WM_USER_ADD_BUDDY, 0, (LPARAM)message);
        delete message;  // the window keeps copies only
    }

    // The exit of the peer at ip as the engine hands it over: names and all
    // from another peer, only the source address is that of the leaver.
    void removePeer(const char* ip)
    {
        IpMessage message;
        message.version = "1";
        message.packetNo = "9";
        message.user = "someone";
        message.host = "elsewhere";
        message.command = 2;
        message.extra = "10.0.0.2";
        message.senderIp = ip;
        dialog->SendMessage(WM_USER_REMOVE_BUDDY, 0, (LPARAM)&message);
    }

    // A chat text from ip as the engine hands it over; what the window answers.
    LRESULT receive(const char* ip, const char* user, const char* text)
    {
        IpMessage message;
        message.version = "1";
        message.packetNo = "7";
        message.user = user;
        message.host = "peerbox";
        message.command = 0x20;
        message.extra = text;
        message.senderIp = ip;
        return dialog->SendMessage(WM_USER_RECEIVE_MESSAGE, 0, (LPARAM)&message);
    }

    // The first item, depth first, whose text is text; NULL when there is none.
    HTREEITEM itemNamed(const char* text) { return itemNamed(text, dialog->userTree.GetRootItem()); }

    CUserListDlg* dialog = nullptr;

private:
    HTREEITEM itemNamed(const char* text, HTREEITEM first)
    {
        CTreeCtrl& tree = dialog->userTree;
        for (HTREEITEM item = first; item != NULL; item = tree.GetNextSiblingItem(item)) {
            if (tree.GetItemText(item) == text) {
                return item;
            }
            HTREEITEM found = itemNamed(text, tree.GetChildItem(item));
            if (found != NULL) {
                return found;
            }
        }
        return NULL;
    }
};
