#include "tests/net/driver/ScriptedPrompts.h"

#include "core/FileSystem.h"
#include "tests/net/driver/DriverLog.h"

ScriptedPrompts::ScriptedPrompts(bool answerNo, const CString& folder)
    : answerNo(answerNo),
      folder(folder)
{
}

void ScriptedPrompts::holdYesNo(const CString& release, const CString& stop)
{
    releaseFile = release;
    stopFile = stop;
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
    if (!releaseFile.IsEmpty() && (type & MB_TYPEMASK) == MB_YESNO) {
        int number = (int)InterlockedIncrement(&heldCount);
        CString release;
        release.Format("%s.prompt%d", (const char*)releaseFile, number);
        LogLine("PROMPT_HOLD").field("n", number).write();
        while (!isFileExists(release) && !isFileExists(stopFile))
            Sleep(20);
        LogLine("PROMPT_RELEASE").field("n", number).write();
    }
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
