#pragma once

#include "classlib/AfxWin.h"
#include "res/resource.h"

// The settings page of screen capture: the Ctrl+P switch and, read only,
// the folder the pictures go to (changed only in the settings file).
class CSettingPrintScreenDlg : public CDialogEx {
public:
    enum { IDD = IDD_SETTING_PRINT_SCREEN_DLG };

    CSettingPrintScreenDlg();
    virtual ~CSettingPrintScreenDlg();

    BOOL openPrintScreen;
    CString imageSavePath;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    DECLARE_MESSAGE_MAP()
};
