#ifdef _WIN32
#include <windows.h>

#include <array>

// The lead bytes of the ANSI code page, asked once from the system.
bool systemLeadByte(unsigned char c)
{
    static const std::array<bool, 256> leadBytes = [] {
        std::array<bool, 256> table{};
        for (int b = 0; b < 256; ++b)
            table[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE;
        return table;
    }();
    return leadBytes[c];
}
#endif
