#include "dialogs/ChartDlg.h"

#include "dialogs/ChatDialogParts.h"
#include "dialogs/ChatHistory.h"

#include <richedit.h>

namespace {

// The history of a long conversation must not be cut at the rich edit's
// default limit of 32K characters.
const long HISTORY_TEXT_LIMIT = 64 * 1024 * 1024;

}  // namespace

IMPLEMENT_DYNAMIC(CChartDlg, CDialog)

CChartDlg::CChartDlg(CWnd* parent)
    : CChatDialogBase<CDialog>(IDD_CHART_DLG, parent)
{
    AfxInitRichEdit();
}

CChartDlg::~CChartDlg()
{
}

void CChartDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROGRESS_FILE, progressBar);
    DDX_Control(dx, IDC_LIST_FILES, fileList);
    DDX_Control(dx, IDC_RICHEDIT_HISTORY, historyEdit);
    DDX_Control(dx, IDC_EDIT_MESSAGE, messageEdit);
    DDX_Text(dx, IDC_EDIT_MESSAGE, message);
    DDX_Text(dx, IDC_RICHEDIT_HISTORY, history);
}

BEGIN_MESSAGE_MAP(CChartDlg, CChatDialogBase<CDialog>)
    ON_BN_CLICKED(IDC_BUTTON_SEND, &CChartDlg::OnSend)
    ON_BN_CLICKED(IDCANCEL, &CChartDlg::OnClose)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CChartDlg::OnInitDialog()
{
    SetWindowText(title);
    CDialog::OnInitDialog();
    progressBar.SetWindowText("");
    historyEdit.LimitText(HISTORY_TEXT_LIMIT);
    setUpFileList(fileList);
    UpdateData(FALSE);
    return TRUE;
}

void CChartDlg::OnClose()
{
    // The window lives for the whole run: closing only hides it, with its
    // history and file rows.
    ShowWindow(SW_HIDE);
}

void CChartDlg::OnSend()
{
    UpdateData(TRUE);
    appendHistoryEntry(history, historyEntryNow(ownSenderName(), message));

    CStringArray paths;
    collectFilePaths(fileList, paths);
    sendChatText(message, peerIp, paths);

    message.Empty();
    UpdateData(FALSE);
    messageEdit.SetFocus();
    historyEdit.LineScroll(historyEdit.GetLineCount());
}

void CChartDlg::showHistory()
{
    historyEdit.SetWindowText(history);
    historyEdit.LineScroll(historyEdit.GetLineCount());
}
