#pragma once

#include "classlib/AfxWin.h"

// The message input of the chat dialogs: an edit that takes files dropped
// from the shell and hands their paths to its dialog.
class CFileEditCtrl : public CEdit {
public:
    CFileEditCtrl();
    virtual ~CFileEditCtrl();

protected:
    void OnDropFiles(HDROP drop);
    DECLARE_MESSAGE_MAP()
};
