#pragma once

#include "classlib/AfxWin.h"
#include "res/resource.h"

// The message-list dialog: an empty text box, a close button and a button
// that clears the message-list file back to its stylesheet line.
class CShowMsgDlg : public CDialog {
public:
    enum { IDD = IDD_SHOW_MSG_DLG };

    explicit CShowMsgDlg(CWnd* parent = NULL);
    virtual ~CShowMsgDlg();

    // <system directory>\Drevik\data\MessageList.mmf
    static CString messageListPath();

protected:
    virtual BOOL OnInitDialog();
    virtual void OnCancel();
    void OnClose();
    void OnClear();
    DECLARE_MESSAGE_MAP()
};
