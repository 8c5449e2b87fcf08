#pragma once

// Length of the longest start of the bytes text[0..length) that is at most
// limit bytes long and does not end inside a double-byte character of the
// ANSI code page. A lead byte at the end or before a NUL stands alone.
int characterBoundaryLength(const char* text, int length, int limit);
