#pragma once
#include "classlib/CString.h"

// UTF-8 text from peers that write their names in it. Everything the program
// keeps and shows is in the ANSI code page (936); this turns such a text into it.

// True when the bytes are well-formed UTF-8: no stray or missing continuation
// byte, no overlong form, no surrogate, nothing past U+10FFFF.
bool isWellFormedUtf8(const char* bytes, int length);

// Well-formed UTF-8 bytes in the ANSI code page; a character that has no form
// there becomes '?'. Never longer than the UTF-8 text (a character of two to
// four bytes becomes at most two). The native build, which has no code page
// tables, keeps ASCII and writes '?' for every other character.
CString utf8ToAnsi(const char* bytes, int length);
