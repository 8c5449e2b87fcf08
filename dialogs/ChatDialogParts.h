#pragma once

#include "classlib/AfxWin.h"

class CFileListCtrl;

// What the two chat dialogs share.

// Adds a row for a dropped path: the name the file system reports for it,
// and the full path.
void addDroppedPathRow(CFileListCtrl& fileList, const char* path);

// Column 1 (the full path) of every row, in row order.
void collectFilePaths(CFileListCtrl& fileList, CStringArray& paths);

// The file-name and path columns of a chat dialog's file list.
void setUpFileList(CFileListCtrl& fileList);

// Esc and Delete inside a chat dialog. TRUE when msg is consumed (Esc puts
// the focus on the dialog instead of closing it); Delete removes the selected
// file rows and lets the key go on.
BOOL handleChatKeys(CWnd& dialog, CFileListCtrl& fileList, MSG* msg);

// Sends the text alone, or with the files, to the ","-separated addresses.
void sendChatText(const CString& text, const CString& ipList, CStringArray& paths);
