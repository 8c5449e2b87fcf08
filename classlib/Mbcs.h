#pragma once
// Character boundaries in the ANSI code page (936, GBK): a lead byte starts
// a two-byte character whose trail byte may look like '\\' or '|'.

// True when c starts a double-byte character of the ANSI code page.
// Windows: IsDBCSLeadByte. Native build: the GBK rule (0x81..0xFE).
bool isLeadByte(unsigned char c);

// Replaces the lead-byte test (NULL restores the default). Meant for tests and
// the native build; set it before other threads start.
void setLeadByteTest(bool (*test)(unsigned char));

// Length in bytes (1 or 2) of the character starting at text[i] of a text of
// `length` bytes. A lead byte at the end or before a NUL stands alone.
int mbcsCharLength(const char* text, int i, int length);
