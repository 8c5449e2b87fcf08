#include "tests/net/driver/ScriptedPrompts.h"

#include "tests/net/driver/DriverLog.h"

ScriptedPrompts::ScriptedPrompts(bool answerNo, const CString& folder)
    : answerNo(answerNo), folder(folder)
{
}

namespace {

int answerFor(UINT type, bool answerNo)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return answerNo ? IDCANCEL : IDOK;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return answerNo ? IDNO : IDYES;
    case MB_RETRYCANCEL:
        return answerNo ? IDCANCEL : IDRETRY;
    default:
        return IDOK;
    }
}

}  // namespace

int ScriptedPrompts::messageBox(const char* text, const char* caption, UINT type)
{
    int answer = answerFor(type, answerNo);
    LogLine("PROMPT")
        .field("caption", caption ? caption : "")
        .field("text", text ? text : "")
        .field("type", (int)type)
        .field("answer", answer)
        .write();
    return answer;
}

BOOL ScriptedPrompts::browseForFolder(const char* title, CString& path, CString* displayName)
{
    LogLine("FOLDER_PROMPT").field("title", title ? title : "").field("answer", folder).write();
    if (folder.IsEmpty())
        return FALSE;
    path = folder;
    if (displayName != NULL) {
        int slash = folder.ReverseFind('\\');
        *displayName = slash < 0 ? folder : folder.Mid(slash + 1);
    }
    return TRUE;
}
