#pragma once

#include "classlib/AfxWin.h"
#include "dialogs/FileEditCtrl.h"
#include "dialogs/FileListCtrl.h"
#include "dialogs/FileRichEditCtrl.h"
#include "dialogs/XProgressCtrl.h"
#include "res/resource.h"

// The one-to-one chat window: one per peer IP, kept in chatDialogMap for the
// whole run and only hidden when closed. It shows the history with the peer
// and sends text, or text with the files and folders dropped into its list.
class CChartDlg : public CDialog {
    DECLARE_DYNAMIC(CChartDlg)
public:
    enum { IDD = IDD_CHART_DLG };

    explicit CChartDlg(CWnd* parent = NULL);
    virtual ~CChartDlg();

    CXProgressCtrl progressBar;
    CFileListCtrl fileList;        // column 0 name, column 1 full path
    CFileRichEditCtrl historyEdit;
    CFileEditCtrl messageEdit;
    CString message;
    CString peerIp;                // key in chatDialogMap, target of every send
    CString peerLabel;
    CString history;
    CString title;

    // Appends an entry to `history` and shows it scrolled to its newest
    // line. Only the entry goes into the control, so a long conversation
    // costs no more per text than a fresh one.
    void addHistoryEntry(const CString& entry);

    virtual BOOL PreTranslateMessage(MSG* msg);

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();

    void scrollHistoryToEnd();
    void OnSend();
    LRESULT OnAddDroppedFile(WPARAM wParam, LPARAM lParam);
    void OnDropFiles(HDROP drop);
    void OnClose();
    DECLARE_MESSAGE_MAP()
};
