#pragma once

#include "classlib/AfxWin.h"
#include "res/resource.h"

// The own page of the shared-folder browser: one row per shared folder, its
// share entry "firstId:secondId:name:size" in a hidden column and its path.
// Each folder is served under its two ids (shareIdMap) while it is listed;
// the rows are kept in the shareFolders setting and, for the share-list
// replies, in ownShareEntries.
//
// A folder whose name holds ';', '&', '=' or ':' or whose path holds ','
// cannot travel in a reply or be stored: adding one is refused with a
// message, and such a folder found in the settings file is listed and
// served but left out of the replies.
class CShareFloderDlgMySharePage : public CDialogEx {
    DECLARE_DYNAMIC(CShareFloderDlgMySharePage)
public:
    enum { IDD = IDD_SHARE_FLODER_MY_SHARE_PAGE };
    enum Column { ENTRY_COLUMN = 0, PATH_COLUMN = 1 };

    explicit CShareFloderDlgMySharePage(CWnd* parent = NULL);
    virtual ~CShareFloderDlgMySharePage();

    CListCtrl shareList;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();

    void OnAddShare();
    void OnRemoveShare();
    DECLARE_MESSAGE_MAP()

private:
    // Draws two ids, serves the folder under them and appends its row.
    void appendShare(const CString& path, const CString& name);
    // ownShareEntries from the rows, for the replies.
    void publishEntries();
    // publishEntries, and shareFolders from the rows, saved.
    void storeShares();
};
