#include "dialogs/ChartDlg.h"

#include "dialogs/ChatSending.h"
#include "dialogs/ChatHistory.h"

#include <climits>
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
    if (historyEdit.GetModify()) {
        // The user has typed into the history: the history is what the
        // control now shows. Otherwise it is already, and reading it back
        // would copy the whole conversation for each send.
        historyEdit.GetWindowText(history);
        historyEdit.SetModify(FALSE);
    }
    addHistoryEntry(historyEntryNow(ownSenderName(), message));

    CStringArray paths;
    collectFilePaths(fileList, paths);
    sendChatText(message, peerIp, paths);

    message.Empty();
    UpdateData(FALSE);
    messageEdit.SetFocus();
}

void CChartDlg::addHistoryEntry(const CString& entry)
{
    // Drawn once the window is idle, not while the engine waits for it
    // (drawing each change at once took longer than the change itself).
    historyEdit.SetRedraw(FALSE);
    if (historyEdit.GetModify()) {
        // The user has typed into the history: as before, the control is
        // set back to what the history holds.
        historyEdit.SetWindowText(history);
    }
    long before = shownLength();
    kept.follow(history.GetLength(), before);
    int shownBytes = history.GetLength();
    appendHistoryEntry(history, entry);
    // The selection is already at the end.
    historyEdit.ReplaceSel(history.Mid(shownBytes));
    kept.appended(history.GetLength() - shownBytes, shownLength() - before);
    dropOldestEntries();
    historyEdit.SetModify(FALSE);
    scrollHistoryToEnd();
    historyEdit.SetRedraw(TRUE);
    historyEdit.Invalidate(FALSE);
}

void CChartDlg::dropOldestEntries()
{
    KeptHistory::Cut cut;
    if (!kept.trim(history, &cut)) {
        return;
    }
    historyEdit.SetSel(cut.first, cut.first + cut.count);
    historyEdit.ReplaceSel(cut.replacement);
    if (!cut.replacement.IsEmpty()) {
        // The caret stands after the notice.
        CHARRANGE caret = {0, 0};
        historyEdit.SendMessage(EM_EXGETSEL, 0, (LPARAM)&caret);
        kept.noticeTook(caret.cpMin - cut.first);
    }
}

long CChartDlg::shownLength()
{
    // A position past the end selects the end, and the selection tells its
    // position; asking the control for its length would count the whole
    // conversation.
    historyEdit.SetSel(LONG_MAX, LONG_MAX);
    CHARRANGE end = {0, 0};
    historyEdit.SendMessage(EM_EXGETSEL, 0, (LPARAM)&end);
    return end.cpMax;
}

void CChartDlg::scrollHistoryToEnd()
{
    historyEdit.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
}
