#include "dialogs/ShareFloderDlg.h"

#include "dialogs/WindowPlacement.h"

namespace {

const int PEERS_TAB = 0;
const int OWN_TAB = 1;

}  // namespace

IMPLEMENT_DYNAMIC(CShareFloderDlg, CDialogEx)

CShareFloderDlg::CShareFloderDlg(CWnd* parent)
    : CDialogEx(IDD_SHARE_FLODER_DLG, parent)
{
}

CShareFloderDlg::~CShareFloderDlg()
{
}

void CShareFloderDlg::DoDataExchange(CDataExchange* dx)
{
    CDialogEx::DoDataExchange(dx);
    DDX_Control(dx, IDC_TAB_SHARE, tabCtrl);
}

BEGIN_MESSAGE_MAP(CShareFloderDlg, CDialogEx)
    ON_NOTIFY(TCN_SELCHANGE, IDC_TAB_SHARE, &CShareFloderDlg::OnTabSelChange)
    ON_MESSAGE(WM_SHOWWINDOW, &CShareFloderDlg::OnShowWindowMessage)
END_MESSAGE_MAP()

// Placed once, when first shown: later the browser stays where the user put it.
LRESULT CShareFloderDlg::OnShowWindowMessage(WPARAM shown, LPARAM)
{
    if (shown && !placed && openBeside != NULL) {
        placed = true;
        placeBeside(m_hWnd, openBeside);
    }
    return Default();
}

BOOL CShareFloderDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    tabCtrl.InsertItem(PEERS_TAB, "共享文件");
    tabCtrl.InsertItem(OWN_TAB, "我的共享");
    allSharePage.Create(IDD_SHARE_FLODER_ALL_SHARE_PAGE, &tabCtrl);
    mySharePage.Create(IDD_SHARE_FLODER_MY_SHARE_PAGE, &tabCtrl);

    // The pages fill the tab control below its tab row.
    CRect area;
    tabCtrl.GetClientRect(&area);
    area.left += 1;
    area.top += 27;
    area.right -= 3;
    area.bottom -= 2;
    allSharePage.MoveWindow(&area);
    mySharePage.MoveWindow(&area);

    showPage(PEERS_TAB);
    tabCtrl.SetCurSel(PEERS_TAB);
    return TRUE;
}

void CShareFloderDlg::showPage(int tab)
{
    allSharePage.ShowWindow(tab == PEERS_TAB ? SW_SHOW : SW_HIDE);
    mySharePage.ShowWindow(tab == OWN_TAB ? SW_SHOW : SW_HIDE);
}

void CShareFloderDlg::OnTabSelChange(NMHDR*, LRESULT* result)
{
    showPage(tabCtrl.GetCurSel());
    *result = 0;
}
