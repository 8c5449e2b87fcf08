#pragma once

#include "classlib/AfxWin.h"
#include "res/resource.h"

// The peers' page of the shared-folder browser: the folders that peers
// share, one row each (user name, IP, folder name, and the whole share entry
// in a hidden column), and the download of the selected ones.
//
// Rows come from share-list replies (WM_USER_ADD_SHARE_ITEMS from the UDP
// receive thread). A reply with entries replaces the rows that its peer sent
// before, so repeated replies do not pile up; one without a readable entry
// changes no row; the list never holds more than MAX_ROWS rows. Malformed pieces of a reply give one notice, shown
// after the receive thread has gone on, and never two at a time.
class CShareFloderDlgAllSharePage : public CDialogEx {
    DECLARE_DYNAMIC(CShareFloderDlgAllSharePage)
public:
    enum { IDD = IDD_SHARE_FLODER_ALL_SHARE_PAGE };
    enum Column { USER_COLUMN = 0, IP_COLUMN = 1, FOLDER_COLUMN = 2, ENTRY_COLUMN = 3 };
    static constexpr int MAX_ROWS = 2000;

    explicit CShareFloderDlgAllSharePage(CWnd* parent = NULL);
    virtual ~CShareFloderDlgAllSharePage();

    // Appends one row, without looking for an equal one.
    void addShareItem(CString userName, CString ip, CString entry, CString folderName);

    CListCtrl shareList;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();

    LRESULT OnAddShareItems(WPARAM wParam, LPARAM lParam);
    LRESULT OnMalformedReplyNotice(WPARAM wParam, LPARAM lParam);
    void OnRefresh();
    void OnDownload();
    DECLARE_MESSAGE_MAP()

private:
    void removeRowsOf(const CString& ip);
    bool noticePending;
};
