#include "shell/VantlorApp.h"

#include "engine/Messenger.h"
#include "res/resource.h"
#include "shell/AboutDlg.h"
#include "shell/MainFrame.h"
#include "shell/VantlorDoc.h"
#include "shell/VantlorView.h"

CVantlorApp theApp;

CVantlorApp::CVantlorApp()
{
}

CVantlorApp::~CVantlorApp()
{
}

BEGIN_MESSAGE_MAP(CVantlorApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, &CVantlorApp::OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CWinApp::OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

BOOL CVantlorApp::InitInstance()
{
    AfxEnableControlContainer();
    SetRegistryKey("ZQ Application");
    LoadStdProfileSettings(4);

    // A second copy finds the port taken: the user has been told.
    if (initMessenger() < 0) {
        return FALSE;
    }

    CSingleDocTemplate* documentTemplate = new CSingleDocTemplate(
        IDR_MAINFRAME, RUNTIME_CLASS(CVantlorDoc), RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CVantlorView));
    AddDocTemplate(documentTemplate);

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine)) {
        return FALSE;
    }
    m_pMainWnd->ShowWindow(SW_HIDE);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

void CVantlorApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}
