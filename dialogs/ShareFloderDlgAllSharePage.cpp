#include "dialogs/ShareFloderDlgAllSharePage.h"

#include "classlib/Prompts.h"
#include "core/CUtils.h"
#include "core/ShareListReply.h"
#include "dialogs/ReportView.h"
#include "engine/FileDownload.h"
#include "engine/WindowLinks.h"

#include <shlobj.h>

namespace {

// Posted to the page itself: a reply held malformed pieces.
const UINT WM_MALFORMED_REPLY_NOTICE = WM_APP + 1;

const char MALFORMED_ENTRY[] = "参数个数不正确！";

}  // namespace

IMPLEMENT_DYNAMIC(CShareFloderDlgAllSharePage, CDialogEx)

CShareFloderDlgAllSharePage::CShareFloderDlgAllSharePage(CWnd* parent)
    : CDialogEx(IDD_SHARE_FLODER_ALL_SHARE_PAGE, parent),
      noticePending(false)
{
}

CShareFloderDlgAllSharePage::~CShareFloderDlgAllSharePage()
{
}

void CShareFloderDlgAllSharePage::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_LIST_ALL_SHARES, shareList);
}

BEGIN_MESSAGE_MAP(CShareFloderDlgAllSharePage, CDialogEx)
    ON_MESSAGE(WM_USER_ADD_SHARE_ITEMS, &CShareFloderDlgAllSharePage::OnAddShareItems)
    ON_MESSAGE(WM_MALFORMED_REPLY_NOTICE, &CShareFloderDlgAllSharePage::OnMalformedReplyNotice)
    ON_BN_CLICKED(IDC_BUTTON_DOWNLOAD, &CShareFloderDlgAllSharePage::OnDownload)
    ON_BN_CLICKED(IDC_BUTTON_REFRESH, &CShareFloderDlgAllSharePage::OnRefresh)
END_MESSAGE_MAP()

BOOL CShareFloderDlgAllSharePage::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    setUpReportView(shareList);
    shareList.InsertColumn(USER_COLUMN, "用户名");
    shareList.InsertColumn(IP_COLUMN, "IP");
    shareList.InsertColumn(FOLDER_COLUMN, "共享文件夹");
    shareList.InsertColumn(ENTRY_COLUMN, "消息ID:目录ID");
    shareList.SetColumnWidth(USER_COLUMN, 60);
    shareList.SetColumnWidth(IP_COLUMN, 90);
    shareList.SetColumnWidth(FOLDER_COLUMN, 300);
    shareList.SetColumnWidth(ENTRY_COLUMN, 0);
    return TRUE;
}

void CShareFloderDlgAllSharePage::addShareItem(CString userName, CString ip, CString entry, CString folderName)
{
    int row = shareList.InsertItem(shareList.GetItemCount(), userName);
    shareList.SetItemText(row, IP_COLUMN, ip);
    shareList.SetItemText(row, FOLDER_COLUMN, folderName);
    shareList.SetItemText(row, ENTRY_COLUMN, entry);
}

void CShareFloderDlgAllSharePage::removeRowsOf(const CString& ip)
{
    for (int row = shareList.GetItemCount() - 1; row >= 0; --row) {
        if (shareList.GetItemText(row, IP_COLUMN) == ip)
            shareList.DeleteItem(row);
    }
}

LRESULT CShareFloderDlgAllSharePage::OnAddShareItems(WPARAM, LPARAM lParam)
{
    const ShareListReply* reply = (const ShareListReply*)lParam;
    if (reply == NULL)
        return 0;
    // A reply without one readable entry leaves the peer's rows alone.
    if (!reply->entries.IsEmpty())
        removeRowsOf(reply->ip);
    for (INT_PTR i = 0; i < reply->entries.GetSize() && shareList.GetItemCount() < MAX_ROWS; ++i)
        addShareItem(reply->userName, reply->ip, reply->entries[i], reply->names[i]);
    // The box waits for the user here, on this thread, never on the sender's.
    if (reply->malformedPieces > 0 && !noticePending) {
        noticePending = true;
        PostMessage(WM_MALFORMED_REPLY_NOTICE);
    }
    return 0;
}

LRESULT CShareFloderDlgAllSharePage::OnMalformedReplyNotice(WPARAM, LPARAM)
{
    AfxMessageBox(MALFORMED_ENTRY, MB_OK);
    noticePending = false;
    return 0;
}

void CShareFloderDlgAllSharePage::OnRefresh()
{
    shareList.DeleteAllItems();
    CUtils::requestShareLists();
}

void CShareFloderDlgAllSharePage::OnDownload()
{
    CString question = "是否下载以下文件:\r\n";
    for (int row = shareList.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = shareList.GetNextItem(row, LVNI_SELECTED))
        question += shareList.GetItemText(row, FOLDER_COLUMN) + "\r\n";
    if (promptMessageBox(m_hWnd, question, "接收文件", MB_YESNO) != IDYES)
        return;

    CString saveFolder;
    if (!promptBrowseForFolder("选择目录", BIF_RETURNONLYFSDIRS, saveFolder))
        saveFolder.Empty();
    saveFolder.Trim();
    if (saveFolder.IsEmpty())
        return;
    HWND progress = receiveProgressWindow();
    if (progress != NULL)
        ::ShowWindow(progress, SW_SHOW);

    std::vector<DownloadItem> items;
    for (int row = shareList.GetNextItem(-1, LVNI_SELECTED); row >= 0;
         row = shareList.GetNextItem(row, LVNI_SELECTED)) {
        CStringArray fields;
        CUtils::splitToArray(shareList.GetItemText(row, ENTRY_COLUMN), ":", &fields);
        if (fields.GetSize() != 4) {
            AfxMessageBox(MALFORMED_ENTRY);
            continue;
        }
        DownloadItem item;
        item.packetNo = fields[0];
        item.ip = shareList.GetItemText(row, IP_COLUMN);
        item.port = "2425";
        item.fileId = fields[1];
        item.name = fields[2];
        item.size = fields[3];
        item.attr = "2";
        items.push_back(item);
    }
    startDownloads(items, saveFolder);
}
