// The program's entry point lives in the class library: it runs the one
// application object (see CWinApp.h).

#include "classlib/CWinApp.h"
#include "classlib/CWnd.h"
#include "classlib/TempObjects.h"

#include <commctrl.h>

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX),
                                     ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                         ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = hInstance;
    int exitCode;
    if (app->InitInstance()) {
        exitCode = app->Run();
    } else {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        exitCode = app->ExitInstance();
    }
    AfxDeleteTemporaryObjects();
    return exitCode;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
