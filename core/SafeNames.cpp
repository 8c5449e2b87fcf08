#include "core/SafeNames.h"

#include "classlib/Mbcs.h"

#include <cctype>
#include <cstring>

namespace {

const char* const RESERVED_NAMES[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3",   "COM4",
                                      "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2",   "LPT3",
                                      "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$"};

bool isRefusedByte(unsigned char c)
{
    return c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c) != NULL;
}

// A lead byte takes any byte after it as its pair, but the code page's
// double-byte characters end in 0x40..0x7E or 0x80..0xFE. Any other byte
// ('/', ':', a control character) is no trail byte: it would survive the
// conversion to a wide path as itself.
bool isTrailByte(unsigned char c)
{
    return c >= 0x40 && c != 0x7F && c != 0xFF;
}

// The part before the first '.', compared without regard to case.
bool isReservedDevice(const char* name, int length)
{
    int stem = 0;
    while (stem < length && name[stem] != '.')
        ++stem;
    for (const char* reserved : RESERVED_NAMES) {
        int reservedLength = (int)std::strlen(reserved);
        if (reservedLength != stem)
            continue;
        int i = 0;
        while (i < stem && std::toupper((unsigned char)name[i]) == reserved[i])
            ++i;
        if (i == stem)
            return true;
    }
    return false;
}

}  // namespace

bool isSafeName(const CString& name)
{
    const char* text = name;
    int length = name.GetLength();
    if (length == 0 || (int)std::strlen(text) != length)
        return false;
    for (int i = 0; i < length;) {
        int width = mbcsCharLength(text, i, length);
        if (width == 1 && isRefusedByte((unsigned char)text[i]))
            return false;
        // A lead byte at the end has no character to finish: a text that
        // joins it to other fields would swallow the next separator.
        if (width == 1 && isLeadByte((unsigned char)text[i]))
            return false;
        if (width == 2 && !isTrailByte((unsigned char)text[i + 1]))
            return false;
        i += width;
    }
    char last = text[length - 1];
    if (last == '.' || last == ' ')
        return false;  // also "." and ".."
    return !isReservedDevice(text, length);
}
