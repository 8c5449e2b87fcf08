#include "classlib/Mbcs.h"

#include <atomic>

#ifdef _WIN32
bool systemLeadByte(unsigned char c);  // MbcsWin.cpp
static bool (*const defaultTest)(unsigned char) = systemLeadByte;
#else
static bool gbkLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}
static bool (*const defaultTest)(unsigned char) = gbkLeadByte;
#endif

static std::atomic<bool (*)(unsigned char)> leadByteTest{defaultTest};

bool isLeadByte(unsigned char c)
{
    return leadByteTest.load(std::memory_order_relaxed)(c);
}

void setLeadByteTest(bool (*test)(unsigned char))
{
    leadByteTest.store(test ? test : defaultTest);
}

int mbcsCharLength(const char* text, int i, int length)
{
    if (i + 1 < length && text[i + 1] != '\0' && isLeadByte(static_cast<unsigned char>(text[i])))
        return 2;
    return 1;
}
