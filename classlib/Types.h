#pragma once
// The basic Windows types every layer uses. On Windows they come from the
// platform headers; the native build (used to fuzz CString and the
// containers on the development machine) gets a minimal stand-in set.

#ifdef _WIN32
// winsock2.h must precede windows.h, or windows.h pulls in the old
// winsock.h and every later winsock2.h include breaks.
#include <winsock2.h>
#include <windows.h>
#else
#include <cstddef>
#include <cstdint>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
typedef unsigned int UINT;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef unsigned char BYTE;
typedef const char* LPCTSTR;
typedef char* LPTSTR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef long long LONGLONG;
typedef unsigned long long ULONGLONG;
#endif

// A position in a list or map walk; opaque to the caller, NULL at the end.
struct __POSITION {};
typedef __POSITION* POSITION;
