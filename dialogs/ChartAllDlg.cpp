#include "dialogs/ChartAllDlg.h"

#include "core/Globals.h"
#include "core/User.h"
#include "dialogs/ChatSending.h"
#include "dialogs/ReportView.h"

namespace {

const int NICKNAME_COLUMN = 0;
const int GROUP_COLUMN = 1;
const int IP_COLUMN = 2;

}  // namespace

IMPLEMENT_DYNAMIC(CChartAllDlg, CDialogEx)

CChartAllDlg::CChartAllDlg(CWnd* parent)
    : CChatDialogBase<CDialogEx>(IDD_CHART_ALL_DLG, parent),
      includeSubGroups(FALSE)
{
}

CChartAllDlg::~CChartAllDlg()
{
}

void CChartAllDlg::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_LIST_FILES, fileList);
    DDX_Control(dx, IDC_LIST_USERS, userList);
    DDX_Text(dx, IDC_EDIT_MESSAGE, message);
    DDX_Control(dx, IDC_EDIT_MESSAGE, messageEdit);
}

BEGIN_MESSAGE_MAP(CChartAllDlg, CChatDialogBase<CDialogEx>)
    ON_BN_CLICKED(IDC_BUTTON_SEND, &CChartAllDlg::OnSend)
END_MESSAGE_MAP()

bool CChartAllDlg::groupMatches(const CString& group, const CString& filter, BOOL includeSubGroups)
{
    if (filter.IsEmpty() || group == filter) {
        return true;
    }
    // A plain prefix test: "Sales" also takes "SalesWest".
    return includeSubGroups && group.Left(filter.GetLength()) == filter;
}

BOOL CChartAllDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();

    setUpReportView(userList);
    userList.InsertColumn(NICKNAME_COLUMN, "用户名", LVCFMT_LEFT, 120);
    userList.InsertColumn(GROUP_COLUMN, "组名", LVCFMT_LEFT, 120);
    userList.InsertColumn(IP_COLUMN, "IP", LVCFMT_LEFT, 150);

    // A snapshot of the peers, taken under the lock and listed after it.
    CStringArray nicknames;
    CStringArray groups;
    CStringArray ips;
    {
        SharedStateLock lock;
        POSITION position = userMap.GetStartPosition();
        while (position != NULL) {
            CString ip;
            CObject* value = NULL;
            userMap.GetNextAssoc(position, ip, value);
            User* user = static_cast<User*>(value);
            if (user != NULL && groupMatches(user->group, groupFilter, includeSubGroups)) {
                nicknames.Add(user->nickname);
                groups.Add(user->group);
                ips.Add(user->ip);
            }
        }
    }
    for (int i = 0; i < (int)ips.GetSize(); ++i) {
        int row = userList.InsertItem(i, nicknames[i]);
        userList.SetItemText(row, GROUP_COLUMN, groups[i]);
        userList.SetItemText(row, IP_COLUMN, ips[i]);
        userList.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }

    setUpFileList(fileList);
    return TRUE;
}

void CChartAllDlg::OnSend()
{
    UpdateData(TRUE);

    CStringArray paths;
    collectFilePaths(fileList, paths);

    CString ipList;
    int row = -1;
    while ((row = userList.GetNextItem(row, LVNI_SELECTED)) >= 0) {
        if (!ipList.IsEmpty()) {
            ipList += ",";
        }
        ipList += userList.GetItemText(row, IP_COLUMN);
    }
    if (ipList.IsEmpty()) {
        return;
    }
    sendChatText(message, ipList, paths);
}
