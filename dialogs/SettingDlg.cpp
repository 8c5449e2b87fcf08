#include "dialogs/SettingDlg.h"

#include "core/Globals.h"
#include "core/Settings.h"

namespace {

const char* const PAGE_USER = "用户资料";
const char* const PAGE_SYSTEM = "系统设置";
const char* const PAGE_PRINT_SCREEN = "抓屏设置";

const char* const HOT_KEY_TAKEN =
    "抓屏快捷键 Ctrl+P 已被其它程序占用，无法注册。\r\n抓屏设置已保存，但按 Ctrl+P 不会抓屏。";

}  // namespace

BOOL (*CSettingDlg::applyHotKeySetting)() = NULL;
void (*CSettingDlg::showOwnNameAndGroup)() = NULL;

CSettingDlg::CSettingDlg(CWnd* parent)
    : CDialogEx(IDD_SETTING_DLG, parent)
{
}

CSettingDlg::~CSettingDlg()
{
}

void CSettingDlg::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_LIST_SETTING_PAGES, pageList);
}

BEGIN_MESSAGE_MAP(CSettingDlg, CDialogEx)
    ON_BN_CLICKED(IDOK, &CSettingDlg::OnOK)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST_SETTING_PAGES, &CSettingDlg::OnItemChangedPageList)
END_MESSAGE_MAP()

BOOL CSettingDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    SetIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)), TRUE);

    pageList.InsertItem(0, PAGE_USER);
    pageList.InsertItem(1, PAGE_SYSTEM);
    pageList.InsertItem(2, PAGE_PRINT_SCREEN);

    // The pages fill the dialog right of the list, above the buttons.
    CRect area;
    GetClientRect(&area);
    area.left += 145;
    area.right -= 3;
    area.bottom -= 100;
    createPage(userPage, IDD_SETTING_USER_DLG, area, SW_SHOW);
    createPage(systemPage, IDD_SETTING_SYSTEM_DLG, area, SW_HIDE);
    createPage(printScreenPage, IDD_SETTING_PRINT_SCREEN_DLG, area, SW_HIDE);

    {
        SharedStateLock lock;
        userPage.userName = userName;
        userPage.groupName = userGroupName;
    }
    userPage.UpdateData(FALSE);
    systemPage.autoStart = isAutoStart;
    systemPage.UpdateData(FALSE);
    printScreenPage.openPrintScreen = isOpenPrintScreen;
    printScreenPage.imageSavePath = screenImageSavePath;
    printScreenPage.UpdateData(FALSE);
    return TRUE;
}

void CSettingDlg::createPage(CDialog& page, UINT templateId, const CRect& area, int show)
{
    page.Create(templateId, this);
    page.MoveWindow(&area, TRUE);
    page.ShowWindow(show);
}

void CSettingDlg::showOnly(CDialog& page)
{
    CDialog* pages[] = {&userPage, &systemPage, &printScreenPage};
    for (CDialog* each : pages) {
        each->ShowWindow(each == &page ? SW_SHOW : SW_HIDE);
    }
}

void CSettingDlg::OnItemChangedPageList(NMHDR*, LRESULT* result)
{
    *result = 0;
    POSITION position = pageList.GetFirstSelectedItemPosition();
    if (position == NULL) {
        return;
    }
    CString text = pageList.GetItemText(pageList.GetNextSelectedItem(position), 0);
    if (text == PAGE_USER) {
        showOnly(userPage);
    } else if (text == PAGE_SYSTEM) {
        showOnly(systemPage);
    } else if (text == PAGE_PRINT_SCREEN) {
        showOnly(printScreenPage);
    }
}

void CSettingDlg::OnOK()
{
    userPage.UpdateData(TRUE);
    systemPage.UpdateData(TRUE);
    printScreenPage.UpdateData(TRUE);

    // Stored as typed; peers see a new name or group in the next datagram
    // built from here on.
    {
        SharedStateLock lock;
        userName = userPage.userName;
        userGroupName = userPage.groupName;
    }
    isAutoStart = systemPage.autoStart;
    isOpenPrintScreen = printScreenPage.openPrintScreen;
    screenImageSavePath = printScreenPage.imageSavePath;
    saveConfig();
    if (showOwnNameAndGroup != NULL)
        showOwnNameAndGroup();

    applyPrintScreenHotKey();
    CDialogEx::OnOK();
}

// The buddy list owns the hot key. A refusal means another program holds
// Ctrl+P, and the user is told so, since the setting itself is on.
void CSettingDlg::applyPrintScreenHotKey()
{
    if (applyHotKeySetting != NULL && !applyHotKeySetting()) {
        MessageBox(HOT_KEY_TAKEN, NULL, MB_OK | MB_ICONWARNING);
    }
}
