#include "shell/ShowMsgDlg.h"

#include "core/CUtils.h"

namespace {

const char* const STYLESHEET_LINE = "<link rel=\"stylesheet\" href=\"../etc/message.css\" type=\"text/css\">";

}  // namespace

CShowMsgDlg::CShowMsgDlg(CWnd* parent)
    : CDialog(IDD_SHOW_MSG_DLG, parent)
{
    AfxInitRichEdit();  // its text box; no chat window may have loaded it yet
}

CShowMsgDlg::~CShowMsgDlg()
{
}

BEGIN_MESSAGE_MAP(CShowMsgDlg, CDialog)
    ON_BN_CLICKED(IDCANCEL, &CShowMsgDlg::OnCancel)
    ON_WM_CLOSE()
    ON_BN_CLICKED(IDC_BUTTON_CLEAR, &CShowMsgDlg::OnClear)
END_MESSAGE_MAP()

CString CShowMsgDlg::messageListPath()
{
    return CUtils::getSystemDirectory() + "\\Drevik" + "\\data" + "\\MessageList.mmf";
}

BOOL CShowMsgDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)), TRUE);
    return TRUE;
}

// Esc and Cancel close the list the way its close button does.
void CShowMsgDlg::OnCancel()
{
    CDialog::OnOK();
}

void CShowMsgDlg::OnClose()
{
    Default();
}

// Only a file that is there is cleared: without one nothing is made.
void CShowMsgDlg::OnClear()
{
    CString path = messageListPath();
    CFileFind finder;
    if (!finder.FindFile(path)) {
        return;
    }
    finder.Close();
    CStdioFile file;
    if (file.Open(path, CFile::modeCreate | CFile::modeWrite)) {
        file.WriteString(CString(STYLESHEET_LINE) + "\n");
        file.Close();
    }
    OnInitDialog();
    Default();
}
