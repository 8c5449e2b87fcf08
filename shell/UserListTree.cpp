// The buddy tree model of the buddy-list window: peers, group items and
// their counts, all kept in the item texts.
#include "shell/UserListDlg.h"

#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/IpMessage.h"
#include "core/User.h"
#include "dialogs/ChartDlg.h"
#include "shell/BuddyTreeText.h"

using namespace BuddyTreeText;

namespace {

// The action bits of a TVN_ITEMEXPANDED notification (flags may sit above).
const UINT EXPAND_ACTION_MASK = 0x0003;

// How long the tree waits after the first of a burst of new peers before it
// is drawn again.
const UINT_PTR TREE_REDRAW_TIMER = 1;
const UINT TREE_REDRAW_DELAY_MS = 100;

}  // namespace

void CUserListDlg::insertAllPeersItem()
{
    userTree.InsertItem(countedText(ALL_PEERS, 0), IMAGE_GROUP_CLOSED, IMAGE_GROUP_CLOSED, TVI_ROOT, TVI_LAST);
}

void CUserListDlg::incrementCount(HTREEITEM item)
{
    userTree.SetItemText(item, incrementedText(userTree.GetItemText(item)));
}

void CUserListDlg::decrementCount(HTREEITEM item)
{
    userTree.SetItemText(item, decrementedText(userTree.GetItemText(item)));
}

bool CUserListDlg::isUserItem(HTREEITEM item)
{
    int image = 0;
    int selectedImage = 0;
    userTree.GetItemImage(item, image, selectedImage);
    return image >= IMAGE_OWN_CLIENT;
}

// Only group items are indexed: a peer whose nickname equals a level name
// is no group, and taking it for one would overwrite its IP with a count.
HTREEITEM CUserListDlg::findChildGroup(HTREEITEM parent, const CString& level)
{
    if (parent == TVI_ROOT && sameName(level, ALL_PEERS)) {
        // The all-peers item, always the first at the root, is that group.
        HTREEITEM first = userTree.GetRootItem();
        if (first != NULL && !isUserItem(first) && sameName(itemName(userTree.GetItemText(first)), ALL_PEERS)) {
            return first;
        }
    }
    std::map<GroupKey, HTREEITEM>::const_iterator found = groupItems.find(groupKey(parent, level));
    return found == groupItems.end() ? NULL : found->second;
}

CUserListDlg::GroupKey CUserListDlg::groupKey(HTREEITEM parent, CString level)
{
    level.Trim();
    return GroupKey(parent, std::string((const char*)level, level.GetLength()));
}

void CUserListDlg::OnTreeDeleteItem(NMHDR* notify, LRESULT* result)
{
    HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(notify)->itemOld.hItem;
    std::map<HTREEITEM, GroupKey>::iterator key = groupKeys.find(item);
    if (key != groupKeys.end()) {
        groupItems.erase(key->second);
        groupKeys.erase(key);
    }
    *result = 0;
}

HTREEITEM CUserListDlg::insertGroupItem(HTREEITEM parent, const CString& level)
{
    HTREEITEM item = NULL;
    if (parent == TVI_ROOT) {
        // Top-level groups keep their order of arrival, after the all-peers item.
        CString name = level;
        item = userTree.InsertItem(countedText(name.Trim(), 0), IMAGE_GROUP_CLOSED, IMAGE_GROUP_CLOSED, TVI_ROOT,
                                   TVI_LAST);
    } else {
        item = userTree.InsertItem(countedText(level, 0), IMAGE_GROUP_CLOSED, IMAGE_GROUP_CLOSED, parent, TVI_SORT);
        incrementCount(parent);
    }
    if (item != NULL) {
        GroupKey key = groupKey(parent, level);
        groupItems[key] = item;
        groupKeys[item] = key;
    }
    return item;
}

HTREEITEM CUserListDlg::walkGroupPath(const CString& path, bool create)
{
    CStringArray levels;
    groupLevelsOf(path, &levels);
    HTREEITEM item = TVI_ROOT;
    for (int i = 0; i < (int)levels.GetSize(); ++i) {
        HTREEITEM child = findChildGroup(item, levels[i]);
        if (child == NULL) {
            if (!create) {
                return NULL;
            }
            child = insertGroupItem(item, levels[i]);
        }
        item = child;
    }
    return item;
}

HTREEITEM CUserListDlg::findGroupItem(CString path)
{
    return walkGroupPath(path, false);
}

HTREEITEM CUserListDlg::ensureGroupItem(CString path)
{
    return walkGroupPath(path, true);
}

LRESULT CUserListDlg::OnUserEntry(WPARAM, LPARAM lParam)
{
    const IpMessage* message = reinterpret_cast<const IpMessage*>(lParam);
    if (message == NULL) {
        return 0;
    }
    // The message stays the engine's: copy what the tree keeps.
    User* user = new User;
    user->nickname = message->extra;
    user->group = groupPathOf(message->group);
    user->host = message->host;
    user->ip = message->senderIp;
    user->clientKind = clientKindOf(message->version);
    bool known = false;
    CString oldGroup;
    {
        SharedStateLock lock;
        CObject* value = NULL;
        if (userMap.Lookup(user->ip, value)) {
            // A known peer that restarted under another name or group, or
            // whose first entry we read wrongly, is updated in place.
            User* record = static_cast<User*>(value);
            bool same = record->nickname == user->nickname && record->group == user->group &&
                record->host == user->host && record->clientKind == user->clientKind;
            known = true;
            oldGroup = record->group;
            if (!same) {
                record->nickname = user->nickname;
                record->group = user->group;
                record->host = user->host;
                record->clientKind = user->clientKind;
            }
            delete user;
            if (same) {
                return 0;
            }
            user = record;
        } else {
            userMap.SetAt(user->ip, user);
        }
    }
    // Only this thread writes userMap, so the record stays valid here.
    holdTreeRedraw();
    if (!known) {
        incrementCount(userTree.GetRootItem());
        insertPeerItem(*user);
        return 0;
    }
    // The new item goes in before the old one leaves, so that a group the
    // peer stays in is kept in its place.
    HTREEITEM oldItem = findPeerItem(user->ip, oldGroup);
    insertPeerItem(*user);
    if (oldItem != NULL) {
        removePeerItem(oldItem);
    }
    renameChat(user->ip, user->nickname);
    return 0;
}

// The peer at the exit's source address leaves the tree and userMap; a chat
// window with it stays open, since windows know peers by IP only, and its
// next entry brings it back as a new peer.
LRESULT CUserListDlg::OnUserExit(WPARAM, LPARAM lParam)
{
    const IpMessage* message = reinterpret_cast<const IpMessage*>(lParam);
    if (message == NULL) {
        return 0;
    }
    CString group;
    {
        SharedStateLock lock;
        CObject* value = NULL;
        if (!userMap.Lookup(message->senderIp, value)) {
            return 0;
        }
        group = static_cast<User*>(value)->group;
        userMap.RemoveKey(message->senderIp);
        delete value;
    }
    holdTreeRedraw();
    decrementCount(userTree.GetRootItem());
    HTREEITEM item = findPeerItem(message->senderIp, group);
    if (item != NULL) {
        removePeerItem(item);
    }
    return 0;
}

void CUserListDlg::insertPeerItem(const User& peer)
{
    int image = peer.clientKind + 1;
    HTREEITEM group = ensureGroupItem(peer.group);
    userTree.InsertItem(peer.nickname + "(" + peer.ip + ")", image, image, group, TVI_SORT);
    incrementCount(group);
}

HTREEITEM CUserListDlg::findPeerItem(const CString& ip, const CString& group)
{
    HTREEITEM groupItem = findGroupItem(group);
    HTREEITEM item = groupItem == NULL ? NULL : userTree.GetChildItem(groupItem);
    while (item != NULL && !(isUserItem(item) && itemPeerIp(userTree.GetItemText(item)) == ip)) {
        item = userTree.GetNextSiblingItem(item);
    }
    return item;
}

void CUserListDlg::removePeerItem(HTREEITEM item)
{
    HTREEITEM group = userTree.GetParentItem(item);
    userTree.DeleteItem(item);
    // Each group counts its children: a group left empty goes, and its
    // parent counts one child less. The all-peers item always stays.
    HTREEITEM allPeers = userTree.GetRootItem();
    while (group != NULL) {
        decrementCount(group);
        if (group == allPeers || userTree.GetChildItem(group) != NULL) {
            break;
        }
        HTREEITEM parent = userTree.GetParentItem(group);
        userTree.DeleteItem(group);
        group = parent;
    }
}

void CUserListDlg::renameChat(const CString& ip, const CString& nickname)
{
    CObject* value = NULL;
    if (!chatDialogMap.Lookup(ip, value)) {
        return;
    }
    CChartDlg* chat = static_cast<CChartDlg*>(value);
    chat->peerLabel = nickname;
    chat->title = nickname + "(" + ip + ")";
    chat->SetWindowText(chat->title);
}

// A few hundred peers answer our entry broadcast at once, and drawing the tree
// after each of them kept the receive thread waiting: the tree is drawn once
// the burst has passed.
void CUserListDlg::holdTreeRedraw()
{
    if (treeRedrawHeld) {
        return;
    }
    treeRedrawHeld = true;
    userTree.SetRedraw(FALSE);
    SetTimer(TREE_REDRAW_TIMER, TREE_REDRAW_DELAY_MS, NULL);
}

void CUserListDlg::OnTimer(UINT_PTR id)
{
    if (id != TREE_REDRAW_TIMER) {
        CDialog::OnTimer(id);
        return;
    }
    KillTimer(id);
    treeRedrawHeld = false;
    userTree.SetRedraw(TRUE);
    userTree.Invalidate();
}

void CUserListDlg::OnTreeItemExpanded(NMHDR* notify, LRESULT* result)
{
    NMTREEVIEW* change = reinterpret_cast<NMTREEVIEW*>(notify);
    int image = (change->action & EXPAND_ACTION_MASK) == TVE_EXPAND ? IMAGE_GROUP_OPEN : IMAGE_GROUP_CLOSED;
    userTree.SetItemImage(change->itemNew.hItem, image, image);
    *result = 0;
}

CString CUserListDlg::groupPathOfItem(HTREEITEM item)
{
    CString path = itemName(userTree.GetItemText(item));
    for (HTREEITEM parent = userTree.GetParentItem(item); parent != NULL; parent = userTree.GetParentItem(parent)) {
        path = itemName(userTree.GetItemText(parent)) + "-" + path;
    }
    return path;
}
