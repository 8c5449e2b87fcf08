#pragma once

#include "classlib/AfxWin.h"
#include "res/resource.h"

// The settings page of the own name and work group. The group list offers
// the groups of the known peers, each once; any other text may be typed.
class CSettingUserDlg : public CDialogEx {
public:
    enum { IDD = IDD_SETTING_USER_DLG };

    CSettingUserDlg();
    virtual ~CSettingUserDlg();

    CString userName;
    CString groupName;
    CComboBox groupCombo;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();
    DECLARE_MESSAGE_MAP()
};
