#pragma once
// Every modal prompt of the program goes through these functions. The program
// shows the real boxes; a test installs a PromptScript that answers them.

#include "classlib/CString.h"
#include "classlib/Types.h"

class PromptScript {
public:
    virtual ~PromptScript();
    virtual int messageBox(const char* text, const char* caption, UINT type) = 0;
    virtual BOOL browseForFolder(const char* title, CString& path, CString* displayName) = 0;
};

// NULL = the real boxes. The pointer is read atomically by any thread; install
// it before the threads that prompt start and keep the object alive while it
// is installed.
void setPromptScript(PromptScript* script);

// A message box captioned with the program's name "ZQ", owned by the active window.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int promptMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// The folder picker; `path` gives the first selection (if any) and receives the
// chosen folder. FALSE on cancel or when the choice is no file-system folder.
BOOL promptBrowseForFolder(const char* title, UINT flags, CString& path, CString* displayName = NULL);
