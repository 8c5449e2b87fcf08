#include "classlib/CFileFind.h"

#include <algorithm>
#include <cstring>

namespace {

// The folder part of a search pattern, made absolute, without its trailing
// separator (a root such as "C:\" keeps it).
CString folderOf(const char* pattern)
{
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(pattern, sizeof full, full, NULL);
    CString path = (length > 0 && length < sizeof full) ? CString(full) : CString(pattern);
    int separator = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    if (separator < 0)
        return CString();
    bool isRoot = separator == 2 && path.GetAt(1) == ':';
    return path.Left(isRoot ? separator + 1 : separator);
}

}  // namespace

CFileFind::CFileFind()
    : m_find(INVALID_HANDLE_VALUE),
      m_haveNext(false),
      m_haveCurrent(false)
{
    std::memset(&m_next, 0, sizeof m_next);
    std::memset(&m_current, 0, sizeof m_current);
}

CFileFind::~CFileFind()
{
    Close();
}

BOOL CFileFind::FindFile(const char* pattern)
{
    Close();
    if (!pattern || !*pattern)
        pattern = "*.*";
    m_find = FindFirstFileA(pattern, &m_next);
    if (m_find == INVALID_HANDLE_VALUE)
        return FALSE;
    m_haveNext = true;
    m_folder = folderOf(pattern);
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_haveNext)
        return FALSE;
    m_current = m_next;
    m_haveCurrent = true;
    m_haveNext = ::FindNextFileA(m_find, &m_next) != FALSE;
    return m_haveNext ? TRUE : FALSE;
}

CString CFileFind::GetFileName() const
{
    return m_haveCurrent ? CString(m_current.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    if (!m_haveCurrent)
        return CString();
    CString path = m_folder;
    // An aligned search: the folder may end in a character whose trail byte is '\\'.
    int last = path.GetLength() - 1;
    if (last >= 0 && path.ReverseFind('\\') != last && path.ReverseFind('/') != last)
        path += '\\';
    return path + m_current.cFileName;
}

ULONGLONG CFileFind::GetLength() const
{
    if (!m_haveCurrent)
        return 0;
    return (static_cast<ULONGLONG>(m_current.nFileSizeHigh) << 32) | m_current.nFileSizeLow;
}

BOOL CFileFind::IsDots() const
{
    if (!m_haveCurrent)
        return FALSE;
    return std::strcmp(m_current.cFileName, ".") == 0 || std::strcmp(m_current.cFileName, "..") == 0;
}

BOOL CFileFind::IsDirectory() const
{
    return MatchesMask(FILE_ATTRIBUTE_DIRECTORY);
}

DWORD CFileFind::GetAttributes() const
{
    return m_haveCurrent ? m_current.dwFileAttributes : 0;
}

BOOL CFileFind::MatchesMask(DWORD mask) const
{
    return m_haveCurrent && (m_current.dwFileAttributes & mask) != 0 ? TRUE : FALSE;
}

void CFileFind::Close()
{
    if (m_find != INVALID_HANDLE_VALUE)
        FindClose(m_find);
    m_find = INVALID_HANDLE_VALUE;
    m_haveNext = false;
    m_haveCurrent = false;
    m_folder.Empty();
}
