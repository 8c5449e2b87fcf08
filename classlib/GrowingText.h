#pragma once
// Reading a control's item text whose length the control does not tell: it
// copies at most the buffer it is given, so the buffer grows until the text
// leaves room to spare (a double-byte character that does not fit is left out
// whole, hence two bytes). A text stops at 1 MiB.

#include "classlib/CString.h"

// fill(buffer, size) writes a NUL-terminated text of at most size bytes
// (NUL included) into buffer.
template <class Fill> CString afxReadGrowingText(Fill fill)
{
    CString text;
    for (int size = 256;; size *= 2) {
        char* buffer = text.GetBuffer(size);
        buffer[0] = '\0';
        fill(buffer, size);
        text.ReleaseBuffer();
        if (text.GetLength() < size - 2 || size >= (1 << 20))
            return text;
    }
}
