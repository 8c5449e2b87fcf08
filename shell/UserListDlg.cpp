#include "shell/UserListDlg.h"

#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/IpMessage.h"
#include "core/ScreenCapture.h"
#include "core/Settings.h"
#include "core/User.h"
#include "engine/WindowLinks.h"
#include "dialogs/ChartAllDlg.h"
#include "dialogs/ChartDlg.h"
#include "dialogs/ChatHistory.h"
#include "engine/Messenger.h"
#include "shell/BuddyTreeText.h"

using namespace BuddyTreeText;

namespace {

const COLORREF TREE_BACKGROUND = 0xF8F7ED;
const COLORREF OWN_TEXT_COLOR = 0x4D4D4D;
const int TREE_IMAGE_SIZE = 22;

// In image-list order.
const UINT TREE_BITMAPS[] = {
    IDB_TREE_GROUP_OPEN, IDB_TREE_GROUP_CLOSED, IDB_TREE_OWN_CLIENT, IDB_TREE_OTHER_CLIENT, IDB_TREE_HASH_CLIENT,
};

}  // namespace

IMPLEMENT_DYNAMIC(CUserListDlg, CDialog)

CUserListDlg::CUserListDlg(CWnd* parent)
    : CDialog(IDD_USER_LIST_DLG, parent)
{
}

CUserListDlg::~CUserListDlg()
{
}

void CUserListDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_TREE_USERS, userTree);
    DDX_Control(dx, IDC_EDIT_OWN_NAME, nameEdit);
    DDX_Control(dx, IDC_EDIT_OWN_GROUP, groupEdit);
}

BEGIN_MESSAGE_MAP(CUserListDlg, CDialog)
    ON_WM_CLOSE()
    ON_MESSAGE(WM_USER_ADD_BUDDY, &CUserListDlg::OnUserEntry)
    ON_MESSAGE(WM_USER_REMOVE_BUDDY, &CUserListDlg::OnUserExit)
    ON_MESSAGE(WM_USER_RECEIVE_MESSAGE, &CUserListDlg::OnReceiveMessage)
    ON_NOTIFY(NM_DBLCLK, IDC_TREE_USERS, &CUserListDlg::OnTreeDblClk)
    ON_WM_CTLCOLOR()
    ON_NOTIFY(TVN_ITEMEXPANDED, IDC_TREE_USERS, &CUserListDlg::OnTreeItemExpanded)
    ON_NOTIFY(TVN_DELETEITEMA, IDC_TREE_USERS, &CUserListDlg::OnTreeDeleteItem)
    ON_NOTIFY(TVN_DELETEITEMW, IDC_TREE_USERS, &CUserListDlg::OnTreeDeleteItem)
    ON_NOTIFY(NM_RCLICK, IDC_TREE_USERS, &CUserListDlg::OnTreeRClick)
    ON_COMMAND(ID_SEND_MESSAGE, &CUserListDlg::OnSendMessage)
    ON_COMMAND(ID_REFRESH_LIST, &CUserListDlg::OnRefreshList)
    ON_EN_KILLFOCUS(IDC_EDIT_OWN_NAME, &CUserListDlg::OnNameEditKillFocus)
    ON_EN_KILLFOCUS(IDC_EDIT_OWN_GROUP, &CUserListDlg::OnGroupEditKillFocus)
    ON_BN_CLICKED(IDC_BUTTON_SHARE, &CUserListDlg::OnShare)
    ON_WM_HOTKEY()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_BUTTON_REFRESH, &CUserListDlg::OnRefreshList)
    ON_BN_CLICKED(IDC_BUTTON_TRANSFER_STATUS, &CUserListDlg::OnTransferStatus)
    ON_COMMAND(ID_SEND_MESSAGE_WITH_SUBGROUPS, &CUserListDlg::OnSendMessageWithSubgroups)
END_MESSAGE_MAP()

BOOL CUserListDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    loadConfig();

    imageList.Create(TREE_IMAGE_SIZE, TREE_IMAGE_SIZE, ILC_COLOR32 | ILC_MASK, 8, 1);
    for (UINT id : TREE_BITMAPS) {
        CBitmap bitmap;
        bitmap.LoadBitmap(id);
        imageList.Add(&bitmap, RGB(255, 255, 255));
    }
    userTree.SetImageList(&imageList, TVSIL_NORMAL);
    insertAllPeersItem();
    userTree.SetBkColor(TREE_BACKGROUND);

    CBitmap background;
    background.LoadBitmap(IDB_USER_LIST_BACKGROUND);
    backgroundBrush.CreatePatternBrush(&background);

    showOwnNameAndGroup();
    nameEdit.setTextColor(OWN_TEXT_COLOR);
    groupEdit.setTextColor(OWN_TEXT_COLOR);

    // The two hidden windows are made after our entry goes out; wherever they
    // are first shown, they open beside this list.
    shareFolderDlg.openBeside = m_hWnd;
    receiveProgressDlg.openBeside = m_hWnd;

    applyPrintScreenHotKey();
    return TRUE;
}

void CUserListDlg::createHiddenWindows()
{
    if (shareFolderDlg.GetSafeHwnd() == NULL) {
        shareFolderDlg.Create(IDD_SHARE_FLODER_DLG, this);
    }
    if (receiveProgressDlg.GetSafeHwnd() == NULL) {
        receiveProgressDlg.Create(IDD_RECEIVE_PROGRESS_DLG, NULL);
    }
}

// Released first, so that turning capture on while it is already registered
// registers it afresh instead of failing on our own registration.
BOOL CUserListDlg::applyPrintScreenHotKey()
{
    UnregisterHotKey(m_hWnd, ID_HOTKEY_PRINT_SCREEN);
    return !isOpenPrintScreen || RegisterHotKey(m_hWnd, ID_HOTKEY_PRINT_SCREEN, MOD_CONTROL, 'P');
}

void CUserListDlg::OnClose()
{
    ShowWindow(SW_HIDE);
}

void CUserListDlg::OnDestroy()
{
    CDialog::OnDestroy();
    UnregisterHotKey(m_hWnd, ID_HOTKEY_PRINT_SCREEN);
}

HBRUSH CUserListDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT controlType)
{
    HBRUSH brush = CDialog::OnCtlColor(dc, wnd, controlType);
    if (wnd == this || (wnd != NULL && wnd->m_hWnd == m_hWnd)) {
        return (HBRUSH)backgroundBrush.GetSafeHandle();
    }
    if (wnd != NULL) {
        int id = wnd->GetDlgCtrlID();
        if (id == IDC_EDIT_OWN_NAME || id == IDC_EDIT_OWN_GROUP) {
            // The grey text goes straight over the pattern.
            dc->SetBkMode(TRANSPARENT);
            return (HBRUSH)GetStockObject(NULL_BRUSH);
        }
    }
    return brush;
}

void CUserListDlg::OnTreeRClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    CPoint cursor;
    GetCursorPos(&cursor);
    CPoint inTree = cursor;
    userTree.ScreenToClient(&inTree);
    UINT flags = 0;
    HTREEITEM item = userTree.HitTest(inTree, &flags);
    if (item == NULL) {
        return;
    }
    userTree.SetFocus();
    userTree.SelectItem(item);
    CMenu menu;
    if (!menu.LoadMenu(IDR_MAINFRAME)) {
        return;
    }
    CMenu* popup = menu.GetSubMenu(ZQ_SUBMENU_USER_TREE);
    if (popup != NULL) {
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
    }
    menu.DestroyMenu();
}

void CUserListDlg::OnTreeDblClk(NMHDR*, LRESULT* result)
{
    openChatForSelection(PEERS_ONLY);
    if (result != NULL) {
        *result = 0;  // the tree still opens or closes a double-clicked group
    }
}

void CUserListDlg::OnSendMessage()
{
    openChatForSelection(GROUP_ALONE);
}

void CUserListDlg::OnSendMessageWithSubgroups()
{
    openChatForSelection(GROUP_WITH_SUBGROUPS);
}

void CUserListDlg::openChatForSelection(ChatOpening opening)
{
    HTREEITEM item = userTree.GetSelectedItem();
    if (item == NULL) {
        return;
    }
    CString text = userTree.GetItemText(item);
    if (sameName(itemName(text), ALL_PEERS)) {
        CChartAllDlg everyone;
        everyone.DoModal();
        return;
    }
    if (userTree.ItemHasChildren(item)) {
        if (opening != PEERS_ONLY) {
            CChartAllDlg group;
            group.groupFilter = groupPathOfItem(item);
            group.includeSubGroups = opening == GROUP_WITH_SUBGROUPS ? TRUE : FALSE;
            group.DoModal();
        }
        return;
    }
    CChartDlg* chat = chatDialogFor(itemPeerIp(text), text, text);
    if (chat != NULL) {
        chat->ShowWindow(SW_SHOW);
    }
}

CChartDlg* CUserListDlg::chatDialogFor(const CString& ip, const CString& label, const CString& title)
{
    CObject* known = NULL;
    if (chatDialogMap.Lookup(ip, known)) {
        return static_cast<CChartDlg*>(known);
    }
    CChartDlg* chat = new CChartDlg;
    chat->peerIp = ip;
    chat->peerLabel = label;
    chat->title = title;
    if (!chat->Create(IDD_CHART_DLG, this)) {
        delete chat;
        return NULL;
    }
    chat->UpdateData(FALSE);
    chat->ModifyStyleEx(0, WS_EX_APPWINDOW);
    chatDialogMap.SetAt(ip, chat);
    return chat;
}

LRESULT CUserListDlg::OnReceiveMessage(WPARAM, LPARAM lParam)
{
    const IpMessage* message = reinterpret_cast<const IpMessage*>(lParam);
    if (message == NULL) {
        return 0;
    }
    // The message stays the engine's: copy what the window keeps.
    CString ip = message->senderIp;
    if (!mayOpenChatFor(ip)) {
        return 0;
    }
    CString text = message->extra;
    CString nickname;
    BOOL known = lookUpNickname(ip, &nickname);
    CString label = known ? nickname : message->user;
    CString sender = known ? nickname : ip;

    CChartDlg* chat = chatDialogFor(ip, label, label + "(" + ip + ")");
    if (chat == NULL) {
        return 0;
    }
    chat->ShowWindow(SW_SHOW);

    // Only the history is written: whatever the user has typed and not sent
    // stays in the input.
    chat->addHistoryEntry(historyEntryNow(sender, text));
    return CHAT_TEXT_TAKEN;
}

bool CUserListDlg::mayOpenChatFor(const CString& ip)
{
    CObject* known = NULL;
    return chatDialogMap.Lookup(ip, known) || chatDialogMap.GetCount() < CHAT_WINDOW_LIMIT;
}

void CUserListDlg::OnRefreshList()
{
    userTree.DeleteAllItems();
    insertAllPeersItem();
    removeAllUsers();
    // Every peer that answers is added again; chat windows stay.
    sendBrEntry();
}

// Leaving an edit stores what it shows: after the settings dialog stored a new
// name, the edits must show it, or the next leave would store the old one.
void CUserListDlg::showOwnNameAndGroup()
{
    CString name;
    CString group;
    {
        SharedStateLock lock;
        name = userName;
        group = userGroupName;
    }
    nameEdit.SetWindowText(name);
    groupEdit.SetWindowText(group);
}

void CUserListDlg::OnNameEditKillFocus()
{
    saveOwnNameAndGroup();
}

void CUserListDlg::OnGroupEditKillFocus()
{
    saveOwnNameAndGroup();
}

void CUserListDlg::saveOwnNameAndGroup()
{
    CString name;
    CString group;
    nameEdit.GetWindowText(name);
    groupEdit.GetWindowText(group);
    bool changed = false;
    {
        SharedStateLock lock;
        if (name != userName || group != userGroupName) {
            userName = name;
            userGroupName = group;
            changed = true;
        }
    }
    // Peers learn the change from our next entry datagram.
    if (changed) {
        saveConfig();
    }
}

void CUserListDlg::OnShare()
{
    shareFolderDlg.ShowWindow(SW_SHOW);
}

void CUserListDlg::OnTransferStatus()
{
    receiveProgressDlg.ShowWindow(SW_SHOW);
}

void CUserListDlg::OnHotKey(UINT, UINT modifiers, UINT virtualKey)
{
    if (modifiers == MOD_CONTROL && virtualKey == 'P') {
        CString folder = CUtils::getExeDirectory() + "\\" + screenImageSavePath;
        CreateDirectoryA(folder, NULL);
        CString path;
        path.Format("%s\\%d.bmp", (const char*)folder, (int)GetTickCount());
        ScreenCapture capture;
        capture.saveScreenToBmp(path);
    }
    Default();
}
