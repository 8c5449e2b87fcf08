#pragma once
// Progress bar: each method one message.

#include "classlib/CWnd.h"

#include <commctrl.h>

class CProgressCtrl : public CWnd {
public:
    void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper); }
    void GetRange(int& nLower, int& nUpper) const
    {
        PBRANGE range = {0, 0};
        SendMessage(PBM_GETRANGE, TRUE, (LPARAM)&range);
        nLower = range.iLow;
        nUpper = range.iHigh;
    }
    int SetPos(int nPos) { return (int)SendMessage(PBM_SETPOS, (WPARAM)nPos); }
    int GetPos() const { return (int)SendMessage(PBM_GETPOS); }
};
