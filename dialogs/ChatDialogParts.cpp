#include "dialogs/ChatDialogParts.h"

#include "dialogs/FileListCtrl.h"
#include "engine/FileOffer.h"
#include "engine/Messenger.h"

void addDroppedPathRow(CFileListCtrl& fileList, const char* path)
{
    CString fullPath(path);
    CString name;
    CFileFind finder;
    if (finder.FindFile(fullPath)) {
        finder.FindNextFile();
        name = finder.GetFileName();
    }
    if (name.IsEmpty()) {
        // Gone already, or a drive root: show the path's last part.
        CString trimmed = fullPath;
        trimmed.TrimRight('\\');
        name = trimmed.Mid(trimmed.ReverseFind('\\') + 1);
        if (name.IsEmpty()) {
            name = fullPath;
        }
    }
    int row = fileList.InsertItem(fileList.GetItemCount(), name);
    fileList.SetItemText(row, 1, fullPath);
}

void collectFilePaths(CFileListCtrl& fileList, CStringArray& paths)
{
    int rows = fileList.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        paths.Add(fileList.GetItemText(row, 1));
    }
}

void setUpFileList(CFileListCtrl& fileList)
{
    fileList.setUpReport();
    fileList.InsertColumn(0, "文件名", LVCFMT_LEFT, 100);
    fileList.InsertColumn(1, "路径", LVCFMT_LEFT, 100);
}

BOOL handleChatKeys(CWnd& dialog, CFileListCtrl& fileList, MSG* msg)
{
    if (msg->message != WM_KEYDOWN) {
        return FALSE;
    }
    if (msg->wParam == VK_ESCAPE) {
        dialog.SetFocus();
        return TRUE;
    }
    if (msg->wParam == VK_DELETE) {
        fileList.deleteSelectedRows();
    }
    return FALSE;
}

void sendChatText(const CString& text, const CString& ipList, CStringArray& paths)
{
    if (paths.GetSize() == 0) {
        sendTextMessage(text, ipList);
    } else {
        sendFileAttachMessage(ipList, text, &paths);
    }
}
