#pragma once

#include "classlib/CString.h"

// Names that a peer sends (in a file offer or a folder-stream header) and that
// become a file or folder inside the folder the user chose.

// True when name is one plain component that stays inside its folder and
// names what it says on Windows: not empty, not "." or "..", no '\', '/',
// ':' or other character Windows refuses in a name, no control character,
// no trailing dot or blank (Windows drops them, so "a." would be "a"), and no
// reserved device name ("CON", "NUL", "COM1", "LPT9", ... also with an
// extension such as "CON.txt"). Double-byte characters are read whole, so a
// trail byte that looks like '\' is part of its character; a lead byte
// without its trail byte (the last byte) is refused.
bool isSafeName(const CString& name);
