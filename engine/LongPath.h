#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

#include <string>

// Paths of any length. The ANSI file calls stop at MAX_PATH (260 bytes), which
// a folder tree a hundred levels deep passes easily; the wide calls take a
// "\\?\" path of any length.

// The full path in the "\\?\" form ("\\?\UNC\..." for a network path).
std::wstring longPathW(const CString& path);

// Text of the ANSI code page as a wide text.
std::wstring toWide(const CString& text);

// folder + "\" + name.
std::wstring joinPathW(const std::wstring& folder, const std::wstring& name);

// Text in the ANSI code page; characters it lacks become '?'.
CString toAnsi(const std::wstring& text);

// The last component of path: the text after its last '\' or '/', trailing
// ones left aside.
CString lastPathComponent(const CString& path);
