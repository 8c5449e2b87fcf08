#pragma once

#include "classlib/AfxWin.h"
#include "dialogs/EditExtCtrl.h"
#include "dialogs/ShareFloderDlg.h"
#include "dialogs/ReceiveProgressDlg.h"
#include "res/resource.h"
#include "shell/UserListTreeCtrl.h"

#include <map>
#include <string>
#include <utility>

class CChartDlg;
class User;

// The buddy-list window, the one the user works with: the own name and group
// at the top, three buttons, and the buddy tree. It opens the chat windows,
// takes the peers that the engine reports (WM_USER_ADD_BUDDY) and the chat
// texts it receives (WM_USER_RECEIVE_MESSAGE), and owns the screen-capture
// hot key. One instance for the whole run; closing it only hides it.
//
// The tree model: a first item "全部好友(n)" counting the peers, then the
// work groups as a hierarchy of items "level(k)" counting their children,
// each peer as an item "nickname(ip)" under the deepest level of its group
// path. There is no group table: groups are found again by their texts. A
// later entry from a known IP renames and moves the peer's item.
class CUserListDlg : public CDialog {
    DECLARE_DYNAMIC(CUserListDlg)
public:
    enum { IDD = IDD_USER_LIST_DLG };

    // Images of the tree's image list.
    enum TreeImage {
        IMAGE_GROUP_OPEN = 0,
        IMAGE_GROUP_CLOSED = 1,
        IMAGE_OWN_CLIENT = 2,  // a user item's image is its client kind + 1
    };

    // Chat windows live for the whole run, and a text from a new address
    // opens one: an address costs a peer nothing, a window costs us about
    // 1.2 MB of memory and address space (measured under Wine, the 32-bit
    // program and the 64-bit one alike). Texts open windows up to this many,
    // about 240 MB, an eighth of the 32-bit program's 2 GiB; past it a text
    // from an address without a window is neither shown nor acknowledged,
    // while the peers that have a window go on as before. The user may still
    // open a chat from the tree.
    static const int CHAT_WINDOW_LIMIT = 200;

    explicit CUserListDlg(CWnd* parent = NULL);
    virtual ~CUserListDlg();

    // The group item of a path ("Dev-Web"), or NULL. Levels are compared
    // trimmed; user items are never taken for groups.
    HTREEITEM findGroupItem(CString path);
    // The same, creating every missing level, outermost first.
    HTREEITEM ensureGroupItem(CString path);
    // What opening the chat for a selected tree item does with a group.
    enum ChatOpening {
        PEERS_ONLY = 0,  // a double-click: a group only opens or closes
        GROUP_WITH_SUBGROUPS = 1,  // the group-send window for the group and its sub-groups
        GROUP_ALONE = 2,  // the group-send window for the group's own peers
    };
    // Opens the chat for the selected tree item: a peer's chat window, the
    // group-send window for the all-peers item, or for a group as `opening` says.
    void openChatForSelection(ChatOpening opening);
    // The chat window of a peer, made (hidden) with this label and title
    // when there is none yet; NULL when it cannot be made.
    CChartDlg* chatDialogFor(const CString& ip, const CString& label, const CString& title);
    // Makes the hidden shared-folder browser and receive-progress window once.
    // The browser's pages must be there before the share-list request goes
    // out and before the receive threads run, so that replies and the peers'
    // requests find them; the downloads report to the progress window. The
    // main frame makes them right after the entry broadcast, which they would
    // otherwise delay: the own page measures every shared folder.
    void createHiddenWindows();
    // Holds the screen-capture hot key Ctrl+P exactly while capture is on;
    // FALSE when capture is on and another program holds the key.
    BOOL applyPrintScreenHotKey();
    // The edits show the stored own name and group again.
    void showOwnNameAndGroup();

    CImageList imageList;
    CBrush backgroundBrush;
    CReceiveProgressDlg receiveProgressDlg;
    CUserListTreeCtrl userTree;
    CEditExtCtrl nameEdit;
    CEditExtCtrl groupEdit;
    CShareFloderDlg shareFolderDlg;  // made hidden by createHiddenWindows, shown by 共享

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();

    void OnClose();
    LRESULT OnUserEntry(WPARAM wParam, LPARAM lParam);
    LRESULT OnUserExit(WPARAM wParam, LPARAM lParam);
    LRESULT OnReceiveMessage(WPARAM wParam, LPARAM lParam);
    void OnTreeDblClk(NMHDR* notify, LRESULT* result);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT controlType);
    void OnTreeItemExpanded(NMHDR* notify, LRESULT* result);
    void OnTreeDeleteItem(NMHDR* notify, LRESULT* result);
    void OnTreeRClick(NMHDR* notify, LRESULT* result);
    void OnSendMessage();
    void OnSendMessageWithSubgroups();
    void OnRefreshList();
    void OnNameEditKillFocus();
    void OnGroupEditKillFocus();
    void OnShare();
    void OnTransferStatus();
    void OnHotKey(UINT id, UINT modifiers, UINT virtualKey);
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void insertAllPeersItem();
    void incrementCount(HTREEITEM item);
    void decrementCount(HTREEITEM item);
    // The item "nickname(ip)" under the peer's group, counted there.
    void insertPeerItem(const User& peer);
    // The item of the peer at ip under its group's item, or NULL.
    HTREEITEM findPeerItem(const CString& ip, const CString& group);
    // Takes a peer's item out of its group; groups left empty go with it.
    void removePeerItem(HTREEITEM item);
    // An open chat window of the peer follows its new nickname.
    void renameChat(const CString& ip, const CString& nickname);
    bool isUserItem(HTREEITEM item);
    HTREEITEM findChildGroup(HTREEITEM parent, const CString& level);
    // A new group item "level(0)": at the root level trimmed and after the
    // items there; deeper, sorted among its siblings and counted by parent.
    HTREEITEM insertGroupItem(HTREEITEM parent, const CString& level);
    // The item of each level in turn; a missing level ends the walk with
    // NULL, or with `create` is inserted, outermost first.
    HTREEITEM walkGroupPath(const CString& path, bool create);
    CString groupPathOfItem(HTREEITEM item);
    // Whether a received text from ip may be shown: its window is there, or
    // one more may be opened for it.
    bool mayOpenChatFor(const CString& ip);
    void saveOwnNameAndGroup();
    // Stops drawing the tree until the current burst of new peers has passed.
    void holdTreeRedraw();

    bool treeRedrawHeld = false;

    // The group items by parent item and trimmed level name, so that finding
    // a level costs the same however many groups its parent holds: peers
    // choose their groups, and a crowd of them can make thousands. Every
    // group item but the all-peers one is made by insertGroupItem, and each
    // leaves the index when the tree deletes it (TVN_DELETEITEM), whoever
    // deletes it.
    typedef std::pair<HTREEITEM, std::string> GroupKey;
    static GroupKey groupKey(HTREEITEM parent, CString level);
    std::map<GroupKey, HTREEITEM> groupItems;
    std::map<HTREEITEM, GroupKey> groupKeys;
};

// The one buddy-list window, set by the main frame before the receive
// threads start; other threads reach the window through it.
extern CUserListDlg* userListDlg;
