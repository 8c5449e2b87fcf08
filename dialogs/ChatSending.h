#pragma once

#include "classlib/AfxWin.h"

class CFileListCtrl;

// The steps of setting up and sending that the two chat dialogs share (their
// common message handlers are in CChatDialogBase).

// Column 1 (the full path) of every row, in row order.
void collectFilePaths(CFileListCtrl& fileList, CStringArray& paths);

// The file-name and path columns of a chat dialog's file list.
void setUpFileList(CFileListCtrl& fileList);

// Sends the text alone, or with the files, to the ","-separated addresses.
void sendChatText(const CString& text, const CString& ipList, CStringArray& paths);
