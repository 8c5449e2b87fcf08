#include "dialogs/SettingSystemDlg.h"

CSettingSystemDlg::CSettingSystemDlg()
    : CDialogEx(IDD_SETTING_SYSTEM_DLG),
      autoStart(FALSE)
{
}

CSettingSystemDlg::~CSettingSystemDlg()
{
}

void CSettingSystemDlg::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Check(dx, IDC_CHECK_AUTO_START, autoStart);
}

BEGIN_MESSAGE_MAP(CSettingSystemDlg, CDialogEx)
END_MESSAGE_MAP()
