#pragma once
// Stands in for the user at every modal prompt: records the prompt in the
// log and answers at once, so no real box ever blocks a test. With holding
// on, the n-th Yes/No box (counted from 1) answers only when the file
// <releaseFile>.prompt<n> or the stop file appears, as a user who takes time.

#include "classlib/Prompts.h"

class ScriptedPrompts : public PromptScript {
public:
    // answerNo: Yes/No and OK/Cancel boxes get No or Cancel instead of Yes or OK.
    // folder: the folder picker's answer; empty means the user cancels.
    ScriptedPrompts(bool answerNo, const CString& folder);
    void holdYesNo(const CString& releaseFile, const CString& stopFile);

    int messageBox(const char* text, const char* caption, UINT type) override;
    BOOL browseForFolder(const char* title, CString& path, CString* displayName) override;

private:
    bool answerNo;
    CString folder;
    CString releaseFile;  // empty: no holding
    CString stopFile;
    volatile LONG heldCount = 0;
};
