#pragma once

#include "classlib/AfxWin.h"
#include "res/resource.h"

// The about box; its OK button closes it.
class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };

    CAboutDlg();
    virtual ~CAboutDlg();

protected:
    DECLARE_MESSAGE_MAP()
};
