#include "classlib/CComboBox.h"

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int length = GetLBTextLen(nIndex);
    if (length == CB_ERR) {
        rString.Empty();
        return;
    }
    GetLBText(nIndex, rString.GetBuffer(length));
    rString.ReleaseBuffer();
}
