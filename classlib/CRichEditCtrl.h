#pragma once
// Rich edit 1.0 control (class "RICHEDIT", from RICHED32.DLL: call
// AfxInitRichEdit before a dialog that holds one is made). Each method one message.

#include "classlib/CWnd.h"

#include <richedit.h>

class CRichEditCtrl : public CWnd {
public:
    void SetSel(long nStartChar, long nEndChar)
    {
        CHARRANGE range = {nStartChar, nEndChar};
        SendMessage(EM_EXSETSEL, 0, (LPARAM)&range);
    }
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE)
    {
        SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText);
    }
    BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified); }
    long GetTextLength() const { return (long)SendMessage(WM_GETTEXTLENGTH); }
    // The most text the control accepts (rich edit 1.0 starts at 32 KB).
    void LimitText(long nChars = 0) { SendMessage(EM_EXLIMITTEXT, 0, (LPARAM)nChars); }
};
