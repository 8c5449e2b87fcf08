#pragma once

#include "classlib/AfxWin.h"

// The history of the one-to-one chat dialog: a rich edit 1.0 control that
// takes files dropped from the shell and hands their paths to its dialog.
class CFileRichEditCtrl : public CRichEditCtrl {
public:
    CFileRichEditCtrl();
    virtual ~CFileRichEditCtrl();

protected:
    void OnDropFiles(HDROP drop);
    DECLARE_MESSAGE_MAP()
};
