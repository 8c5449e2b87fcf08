#include "engine/WindowLinks.h"

#include "shell/UserListDlg.h"

HWND buddyListWindow()
{
    return userListDlg != NULL ? userListDlg->GetSafeHwnd() : NULL;
}

HWND receiveProgressWindow()
{
    return userListDlg != NULL ? userListDlg->receiveProgressDlg.GetSafeHwnd() : NULL;
}

HWND peerSharesWindow()
{
    return userListDlg != NULL ? userListDlg->shareFolderDlg.allSharePage.GetSafeHwnd() : NULL;
}
