#include "classlib/Prompts.h"

#include <objbase.h>
#include <shlobj.h>

#include <atomic>

namespace {

std::atomic<PromptScript*> installedScript{NULL};

PromptScript* script()
{
    return installedScript.load(std::memory_order_acquire);
}

// Starts the picker on the folder the caller passed in.
int CALLBACK selectInitialFolder(HWND window, UINT message, LPARAM, LPARAM initial)
{
    if (message == BFFM_INITIALIZED && initial)
        SendMessageA(window, BFFM_SETSELECTIONA, TRUE, initial);
    return 0;
}

BOOL showFolderPicker(const char* title, UINT flags, CString& path, CString* displayName)
{
    // The picker is COM; the calling thread may not have entered an apartment.
    HRESULT com = CoInitialize(NULL);
    char name[MAX_PATH] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = GetActiveWindow();
    info.pszDisplayName = name;
    info.lpszTitle = title;
    info.ulFlags = flags;
    if (!path.IsEmpty()) {
        info.lpfn = selectInitialFolder;
        info.lParam = reinterpret_cast<LPARAM>(path.GetString());
    }
    BOOL chosen = FALSE;
    if (LPITEMIDLIST item = SHBrowseForFolderA(&info)) {
        char folder[MAX_PATH] = "";
        if (SHGetPathFromIDListA(item, folder)) {
            path = folder;
            if (displayName)
                *displayName = name;
            chosen = TRUE;
        }
        CoTaskMemFree(item);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return chosen;
}

}  // namespace

PromptScript::~PromptScript()
{
}

void setPromptScript(PromptScript* script)
{
    installedScript.store(script, std::memory_order_release);
}

int promptMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    if (PromptScript* answer = script())
        return answer->messageBox(text, caption, type);
    return MessageBoxA(owner, text, caption, type);
}

int AfxMessageBox(const char* text, UINT type, UINT)
{
    return promptMessageBox(GetActiveWindow(), text, "ZQ", type);
}

BOOL promptBrowseForFolder(const char* title, UINT flags, CString& path, CString* displayName)
{
    if (PromptScript* answer = script())
        return answer->browseForFolder(title, path, displayName);
    return showFolderPicker(title, flags, path, displayName);
}
