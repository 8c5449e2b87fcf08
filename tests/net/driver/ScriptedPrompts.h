#pragma once
// Stands in for the user at every modal prompt: records the prompt in the
// log and answers at once, so no real box ever blocks a test.

#include "classlib/Prompts.h"

class ScriptedPrompts : public PromptScript {
public:
    // answerNo: Yes/No and OK/Cancel boxes get No or Cancel instead of Yes or OK.
    // folder: the folder picker's answer; empty means the user cancels.
    ScriptedPrompts(bool answerNo, const CString& folder);

    int messageBox(const char* text, const char* caption, UINT type) override;
    BOOL browseForFolder(const char* title, CString& path, CString* displayName) override;

private:
    bool answerNo;
    CString folder;
};
