#include "classlib/Utf8.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

namespace {

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed sequence at bytes[i], or 0 when there is none.
int sequenceLength(const unsigned char* bytes, int i, int length)
{
    unsigned char c = bytes[i];
    if (c < 0x80)
        return 1;
    int need = 0;
    unsigned lowest = 0;
    unsigned value = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        need = 1, lowest = 0x80, value = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        need = 2, lowest = 0x800, value = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        need = 3, lowest = 0x10000, value = c & 0x07;
    } else {
        return 0;
    }
    if (length - i - 1 < need)
        return 0;
    for (int k = 1; k <= need; ++k) {
        if (!isContinuation(bytes[i + k]))
            return 0;
        value = (value << 6) | (bytes[i + k] & 0x3F);
    }
    if (value < lowest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return need + 1;
}

}  // namespace

bool isWellFormedUtf8(const char* bytes, int length)
{
    const unsigned char* text = reinterpret_cast<const unsigned char*>(bytes);
    for (int i = 0; i < length;) {
        int n = sequenceLength(text, i, length);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

#ifdef _WIN32
CString utf8ToAnsi(const char* bytes, int length)
{
    if (length <= 0)
        return CString();
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, bytes, length, NULL, 0);
    if (wideLength <= 0)
        return CString();
    std::vector<wchar_t> wide(wideLength);
    MultiByteToWideChar(CP_UTF8, 0, bytes, length, wide.data(), wideLength);
    int ansiLength = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, NULL, 0, "?", NULL);
    if (ansiLength <= 0)
        return CString();
    std::vector<char> ansi(ansiLength);
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, ansi.data(), ansiLength, "?", NULL);
    return CString(ansi.data(), ansiLength);
}
#else
CString utf8ToAnsi(const char* bytes, int length)
{
    const unsigned char* text = reinterpret_cast<const unsigned char*>(bytes);
    CString ansi;
    for (int i = 0; i < length;) {
        int n = sequenceLength(text, i, length);
        ansi += n == 1 ? bytes[i] : '?';
        i += n > 0 ? n : 1;
    }
    return ansi;
}
#endif
