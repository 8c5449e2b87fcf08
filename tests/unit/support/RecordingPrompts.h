#pragma once
// Stands in for the user at every modal prompt of the unit tests: records
// each message box and folder picker and answers at once, as the test says.

#include "classlib/Prompts.h"

#include <string>
#include <vector>

class RecordingPrompts : public PromptScript {
public:
    int messageBox(const char* text, const char* caption, UINT type) override
    {
        texts.push_back(text ? text : "");
        captions.push_back(caption ? caption : "");
        types.push_back(type);
        return boxAnswer;
    }

    BOOL browseForFolder(const char* title, CString& path, CString* displayName) override
    {
        pickerTitles.push_back(title ? title : "");
        if (folder.IsEmpty())
            return FALSE;
        path = folder;
        if (displayName != NULL)
            *displayName = pickedName;
        return TRUE;
    }

    // Every box, in order.
    std::vector<std::string> texts;
    std::vector<std::string> captions;
    std::vector<UINT> types;
    int boxAnswer = IDOK;  // what every box answers

    // Every folder picker, in order, by its title.
    std::vector<std::string> pickerTitles;
    CString folder;  // the picker's answer; empty: the user cancels
    CString pickedName;  // the display name that comes with it
};
