#pragma once
// A byte string in the ANSI code page (936). It may hold any byte; the
// operations taking a C string stop at its NUL. Every search walks the text
// character by character, so the trail byte of a double-byte character never
// matches a single-byte one.

#include "classlib/Types.h"

#include <cstdarg>
#include <string>
#include <type_traits>

#if defined(__GNUC__) && defined(_WIN32)
#define ZQ_PRINTF_FORMAT(fmt, first) __attribute__((format(__MINGW_PRINTF_FORMAT, fmt, first)))
#elif defined(__GNUC__)
#define ZQ_PRINTF_FORMAT(fmt, first) __attribute__((format(printf, fmt, first)))
#else
#define ZQ_PRINTF_FORMAT(fmt, first)
#endif

class CString {
public:
    CString();
    CString(const CString& other);
    CString(const char* text);  // NULL gives an empty string
    CString(const char* bytes, int length);
    CString(char ch, int repeat = 1);

    CString& operator=(const CString& other);
    CString& operator=(const char* text);
    CString& operator=(char ch);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

    operator const char*() const { return m_text.c_str(); }
    const char* GetString() const { return m_text.c_str(); }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    // Out-of-range indexes read as '\0' and write nothing.
    char GetAt(int index) const;
    template <typename Index, typename = typename std::enable_if<std::is_integral<Index>::value>::type>
    char operator[](Index index) const
    {
        return GetAt(static_cast<int>(index));
    }
    void SetAt(int index, char ch);

    int Compare(const char* other) const;  // byte-wise (unsigned), like strcmp: <0, 0, >0
    int CompareNoCase(const char* other) const;  // folds ASCII letters only

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    // Byte indexes of character-aligned matches, -1 when none.
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* set) const;

    // Without argument: white space = ' ', '\t', '\r', '\n', '\v', '\f'.
    // A set names whole characters (a double-byte character in it is one member).
    CString& Trim();
    CString& Trim(char ch);
    CString& Trim(const char* set);
    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(const char* set);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(const char* set);

    // Return the number of replacements / removals; indexes are clamped.
    int Replace(char oldCh, char newCh);
    int Replace(const char* oldText, const char* newText);
    int Remove(char ch);
    int Insert(int index, char ch);  // returns the new length
    int Insert(int index, const char* text);  // returns the new length
    int Delete(int index, int count = 1);  // returns the new length

    void MakeUpper();  // ASCII letters only; trail bytes stay as they are
    void MakeLower();

    void Format(const char* format, ...) ZQ_PRINTF_FORMAT(2, 3);
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...) ZQ_PRINTF_FORMAT(2, 3);

    // GetBuffer gives room for at least minLength bytes plus a NUL, keeping the
    // contents; ReleaseBuffer(-1) takes the length up to the first NUL.
    char* GetBuffer(int minLength);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_text;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator<(const char* a, const CString& b);
