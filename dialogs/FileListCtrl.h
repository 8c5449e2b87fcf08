#pragma once

#include "classlib/AfxWin.h"

// A report list that takes files dropped from the shell and hands their paths
// to its dialog: the chat dialogs' file lists and the group dialog's peers.
class CFileListCtrl : public CListCtrl {
public:
    CFileListCtrl();
    virtual ~CFileListCtrl();

    // Deletes every selected row.
    void deleteSelectedRows();

protected:
    void OnDropFiles(HDROP drop);
    DECLARE_MESSAGE_MAP()
};
