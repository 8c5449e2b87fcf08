#pragma once

#include <cstdlib>

// A number field of a received text: leading white space, an optional sign,
// for base 16 an optional 0x or 0X, then digits of the base (either case) up
// to the first other character; no digits give 0. The value wraps modulo
// 2^32, so a peer that writes a wider or an unsigned number keeps its low 32
// bits, the part that the protocol's 32-bit fields carry.
inline int parseNumberField(const char* text, unsigned base)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    if (base == 16 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text += 2;
    unsigned value = 0;
    for (;; ++text) {
        char c = *text;
        unsigned digit = base;
        if (c >= '0' && c <= '9')
            digit = (unsigned)(c - '0');
        else if (c >= 'a' && c <= 'z')
            digit = (unsigned)(c - 'a') + 10u;
        else if (c >= 'A' && c <= 'Z')
            digit = (unsigned)(c - 'A') + 10u;
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    return (int)(negative ? 0u - value : value);
}

// An announced size: the decimal text of a 32-bit field, read unsigned, so
// that a value from 2^31 on (which a sender may print negative) keeps its
// size up to 4 GiB - 1.
inline unsigned long long announcedSize(const char* text)
{
    return (unsigned long long)(unsigned)std::strtoll(text, NULL, 10);
}
