#include "dialogs/ChatSending.h"

#include "dialogs/FileListCtrl.h"
#include "dialogs/ReportView.h"
#include "engine/OutgoingFileOffer.h"
#include "engine/Messenger.h"

void collectFilePaths(CFileListCtrl& fileList, CStringArray& paths)
{
    int rows = fileList.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        paths.Add(fileList.GetItemText(row, 1));
    }
}

void setUpFileList(CFileListCtrl& fileList)
{
    setUpReportView(fileList);
    fileList.InsertColumn(0, "文件名", LVCFMT_LEFT, 100);
    fileList.InsertColumn(1, "路径", LVCFMT_LEFT, 100);
}

void sendChatText(const CString& text, const CString& ipList, CStringArray& paths)
{
    if (paths.GetSize() == 0) {
        sendTextMessage(text, ipList);
    } else {
        sendFileAttachMessage(ipList, text, &paths);
    }
}
