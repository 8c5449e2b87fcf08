#include "dialogs/SettingPrintScreenDlg.h"

CSettingPrintScreenDlg::CSettingPrintScreenDlg()
    : CDialogEx(IDD_SETTING_PRINT_SCREEN_DLG),
      openPrintScreen(FALSE)
{
}

CSettingPrintScreenDlg::~CSettingPrintScreenDlg()
{
}

void CSettingPrintScreenDlg::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Check(dx, IDC_CHECK_PRINT_SCREEN, openPrintScreen);
    DDX_Text(dx, IDC_EDIT_IMAGE_SAVE_PATH, imageSavePath);
}

BEGIN_MESSAGE_MAP(CSettingPrintScreenDlg, CDialogEx)
END_MESSAGE_MAP()
