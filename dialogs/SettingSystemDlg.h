#pragma once

#include "classlib/AfxWin.h"
#include "res/resource.h"

// The settings page of starting with Windows.
class CSettingSystemDlg : public CDialogEx {
public:
    enum { IDD = IDD_SETTING_SYSTEM_DLG };

    CSettingSystemDlg();
    virtual ~CSettingSystemDlg();

    BOOL autoStart;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    DECLARE_MESSAGE_MAP()
};
