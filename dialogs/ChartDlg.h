#pragma once

#include "classlib/AfxWin.h"
#include "dialogs/ChatDialogBase.h"
#include "dialogs/FileEditCtrl.h"
#include "dialogs/FileRichEditCtrl.h"
#include "dialogs/KeptHistory.h"
#include "dialogs/XProgressCtrl.h"
#include "res/resource.h"

// The one-to-one chat window: one per peer IP, kept in chatDialogMap for the
// whole run and only hidden when closed. It shows the history with the peer
// and sends text, or text with the files and folders dropped into its list.
class CChartDlg : public CChatDialogBase<CDialog> {
    DECLARE_DYNAMIC(CChartDlg)
public:
    enum { IDD = IDD_CHART_DLG };

    explicit CChartDlg(CWnd* parent = NULL);
    virtual ~CChartDlg();

    CXProgressCtrl progressBar;
    CFileRichEditCtrl historyEdit;
    CFileEditCtrl messageEdit;
    CString message;
    CString peerIp;  // key in chatDialogMap, target of every send
    CString peerLabel;
    CString history;
    CString title;

    // Appends an entry to `history` and shows it scrolled to its newest
    // line. Only the entry goes into the control, so a long conversation
    // costs no more per text than a fresh one; past its bound the oldest
    // entries leave both (KeptHistory).
    void addHistoryEntry(const CString& entry);

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();

    void scrollHistoryToEnd();
    long shownLength();
    void dropOldestEntries();

    KeptHistory kept;
    void OnSend();
    void OnClose();
    DECLARE_MESSAGE_MAP()
};
