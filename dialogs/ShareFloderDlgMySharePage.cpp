#include "dialogs/ShareFloderDlgMySharePage.h"

#include "classlib/Prompts.h"
#include "core/CUtils.h"
#include "core/FileSystem.h"
#include "core/Globals.h"
#include "core/Settings.h"
#include "core/ShareListReply.h"
#include "dialogs/ReportView.h"

#include <shlobj.h>

#include <memory>

namespace {

const char UNSHAREABLE_FOLDER[] = "不能共享这个文件夹：文件夹名不能含有 ; & = : 这几个字符，路径不能含有逗号。";

// The shareIdMap key of an entry: its first two fields, which are numbers.
CString shareIdKeyOf(const CString& entry)
{
    CStringArray fields;
    CUtils::splitToArray(entry, ":", &fields);
    return fields.GetAt(0) + "-" + fields.GetAt(1);
}

// The name a picked folder is shared under. Windows' picker gives the folder's
// own display name; Wine's gives the whole path there, and no folder name can
// hold a backslash, so such a name (or none) is replaced by the path's last part.
CString sharedNameOf(const CString& path, const CString& displayName)
{
    if (displayName.IsEmpty() || displayName.Find('\\') >= 0 || displayName.Find('/') >= 0)
        return getFileName(path);
    return displayName;
}

// Whether the entry can travel in a reply: four fields, a name free of the
// reply's separators.
bool travels(const CString& entry)
{
    CStringArray fields;
    CUtils::splitToArray(entry, ":", &fields);
    return fields.GetSize() == 4 && ShareListReply::isShareableName(fields[2]);
}

}  // namespace

IMPLEMENT_DYNAMIC(CShareFloderDlgMySharePage, CDialogEx)

CShareFloderDlgMySharePage::CShareFloderDlgMySharePage(CWnd* parent)
    : CDialogEx(IDD_SHARE_FLODER_MY_SHARE_PAGE, parent)
{
}

CShareFloderDlgMySharePage::~CShareFloderDlgMySharePage()
{
}

void CShareFloderDlgMySharePage::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_LIST_MY_SHARES, shareList);
}

BEGIN_MESSAGE_MAP(CShareFloderDlgMySharePage, CDialogEx)
    ON_BN_CLICKED(IDC_BUTTON_ADD_SHARE, &CShareFloderDlgMySharePage::OnAddShare)
    ON_BN_CLICKED(IDC_BUTTON_REMOVE_SHARE, &CShareFloderDlgMySharePage::OnRemoveShare)
END_MESSAGE_MAP()

BOOL CShareFloderDlgMySharePage::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    setUpReportView(shareList);
    shareList.InsertColumn(ENTRY_COLUMN, "文件夹信息");
    shareList.InsertColumn(PATH_COLUMN, "共享文件夹");
    shareList.SetColumnWidth(ENTRY_COLUMN, 0);
    shareList.SetColumnWidth(PATH_COLUMN, 300);

    // The ids are new at every start: entries that peers kept are stale.
    std::unique_ptr<CStringList> paths(CUtils::splitToList(shareFolders, ","));
    POSITION position = paths->GetHeadPosition();
    while (position != NULL) {
        CString path = paths->GetNext(position);
        if (!path.IsEmpty())
            appendShare(path, getFileName(path));
    }
    publishEntries();
    return TRUE;
}

void CShareFloderDlgMySharePage::appendShare(const CString& path, const CString& name)
{
    int firstId = nextPacketNo();
    int secondId = nextPacketNo();
    CString key;
    key.Format("%d-%d", firstId, secondId);
    {
        SharedStateLock lock;
        shareIdMap.SetAt(key, path);
    }
    CString entry;
    entry.Format("%d:%d:%s:%llu", firstId, secondId, (const char*)name, (unsigned long long)getFolderSize(path));
    int row = shareList.InsertItem(shareList.GetItemCount(), entry);
    shareList.SetItemText(row, PATH_COLUMN, path);
}

void CShareFloderDlgMySharePage::publishEntries()
{
    CStringArray entries;
    for (int row = 0; row < shareList.GetItemCount(); ++row) {
        CString entry = shareList.GetItemText(row, ENTRY_COLUMN);
        if (travels(entry))
            entries.Add(entry);
    }
    SharedStateLock lock;
    ownShareEntries.RemoveAll();
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        ownShareEntries.Add(entries[i]);
}

void CShareFloderDlgMySharePage::storeShares()
{
    publishEntries();
    CString folders;
    for (int row = 0; row < shareList.GetItemCount(); ++row) {
        CString path = shareList.GetItemText(row, PATH_COLUMN);
        folders = folders.IsEmpty() ? path : folders + "," + path;
    }
    shareFolders = folders;
    saveConfig();
}

void CShareFloderDlgMySharePage::OnAddShare()
{
    CString path;
    CString displayName;
    if (!promptBrowseForFolder("选择一个目录", BIF_RETURNONLYFSDIRS, path, &displayName))
        return;
    CString name = sharedNameOf(path, displayName);
    if (!ShareListReply::isShareableName(name) || path.Find(',') >= 0) {
        AfxMessageBox(UNSHAREABLE_FOLDER, MB_OK | MB_ICONWARNING);
        return;
    }
    appendShare(path, name);
    storeShares();
}

void CShareFloderDlgMySharePage::OnRemoveShare()
{
    // Removed folders are no longer served, whoever kept their entries.
    for (int row = shareList.GetItemCount() - 1; row >= 0; --row) {
        if ((shareList.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) == 0)
            continue;
        CString key = shareIdKeyOf(shareList.GetItemText(row, ENTRY_COLUMN));
        {
            SharedStateLock lock;
            shareIdMap.RemoveKey(key);
        }
        shareList.DeleteItem(row);
    }
    storeShares();
}
