#pragma once
// Enumerates a folder. After FindFile, call FindNextFile once before reading
// the first entry; it returns FALSE when the entry it moved to is the last:
//   BOOL more = finder.FindFile("C:\\dir\\*.*");
//   while (more) { more = finder.FindNextFile(); ... finder.GetFileName() ... }

#include "classlib/CString.h"
#include "classlib/Types.h"

class CFileFind {
public:
    CFileFind();
    ~CFileFind();
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    BOOL FindFile(const char* pattern = "*.*");
    BOOL FindNextFile();

    CString GetFileName() const;
    CString GetFilePath() const;  // the folder of the pattern + "\\" + the name
    ULONGLONG GetLength() const;
    BOOL IsDots() const;  // "." or ".."
    BOOL IsDirectory() const;
    BOOL MatchesMask(DWORD mask) const;  // any of the FILE_ATTRIBUTE_* bits
    DWORD GetAttributes() const;  // all of its FILE_ATTRIBUTE_* bits
    void Close();

private:
    HANDLE m_find;
    bool m_haveNext;  // m_next holds an entry not yet moved to
    bool m_haveCurrent;  // m_current holds the entry moved to last
    WIN32_FIND_DATAA m_next;
    WIN32_FIND_DATAA m_current;
    CString m_folder;  // without the trailing backslash (except "C:\")
};
