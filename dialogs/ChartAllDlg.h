#pragma once

#include "classlib/AfxWin.h"
#include "dialogs/ChatDialogBase.h"
#include "dialogs/FileEditCtrl.h"
#include "dialogs/FileListCtrl.h"
#include "res/resource.h"

// The group-send window: modal, for one use. It lists the known peers (all,
// one work group, or a group with its sub-groups), all selected, and sends
// one text, with or without files, to every selected peer.
class CChartAllDlg : public CChatDialogBase<CDialogEx> {
    DECLARE_DYNAMIC(CChartAllDlg)
public:
    enum { IDD = IDD_CHART_ALL_DLG };

    explicit CChartAllDlg(CWnd* parent = NULL);
    virtual ~CChartAllDlg();

    // Whether a peer of the group path `group` is listed under the filter.
    static bool groupMatches(const CString& group, const CString& filter, BOOL includeSubGroups);

    CFileListCtrl userList;  // nickname, group, IP
    CString message;
    CFileEditCtrl messageEdit;
    CString groupFilter;  // empty: every peer
    BOOL includeSubGroups;  // with a filter: also the groups that begin with it

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();

    void OnSend();
    DECLARE_MESSAGE_MAP()
};
