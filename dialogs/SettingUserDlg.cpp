#include "dialogs/SettingUserDlg.h"

#include "core/Globals.h"
#include "core/User.h"

#include <vector>

CSettingUserDlg::CSettingUserDlg()
    : CDialogEx(IDD_SETTING_USER_DLG)
{
}

CSettingUserDlg::~CSettingUserDlg()
{
}

void CSettingUserDlg::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Text(dx, IDC_EDIT_USER_NAME, userName);
    DDX_CBString(dx, IDC_COMBO_GROUP_NAME, groupName);
    DDX_Control(dx, IDC_COMBO_GROUP_NAME, groupCombo);
}

BEGIN_MESSAGE_MAP(CSettingUserDlg, CDialogEx)
END_MESSAGE_MAP()

BOOL CSettingUserDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    groupCombo.ResetContent();

    // Copied under the lock; the combo box is filled after it, since its
    // messages must not run while the receive thread may wait for the lock.
    std::vector<CString> groups;
    {
        SharedStateLock lock;
        POSITION position = userMap.GetStartPosition();
        while (position != NULL) {
            CString ip;
            CObject* record = NULL;
            userMap.GetNextAssoc(position, ip, record);
            groups.push_back(static_cast<User*>(record)->group);
        }
    }
    // The sorted combo box keeps the list in order. A group already listed
    // is not added again; the match is on the whole text, since a prefix
    // match would drop "Dev" once "DevOps" is listed.
    for (const CString& group : groups) {
        if (groupCombo.FindStringExact(-1, group) == CB_ERR) {
            groupCombo.AddString(group);
        }
    }
    return TRUE;
}
