#pragma once

#include "classlib/AfxWin.h"

// The application: starts the messenger before any window exists, then lets
// the document template create the hidden main frame.
class CVantlorApp : public CWinApp {
public:
    CVantlorApp();
    virtual ~CVantlorApp();

    virtual BOOL InitInstance();
    void OnAppAbout();

protected:
    DECLARE_MESSAGE_MAP()
};

extern CVantlorApp theApp;
