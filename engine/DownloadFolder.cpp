#include "engine/DownloadFolder.h"

#include "engine/LongPath.h"

namespace {

const DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A link is opened as itself, not as what it leads to, where the system can.
const DWORD OUTPUT_FLAGS = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT;

void dropTrailingBackslash(std::wstring& path)
{
    if (!path.empty() && path[path.size() - 1] == L'\\')
        path.erase(path.size() - 1);
}

// The path the file system gives for what the handle is open on, links
// followed ("\\?\C:\..."); empty when it cannot tell.
std::wstring finalPathOf(HANDLE handle)
{
    const DWORD FLAGS = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    DWORD needed = GetFinalPathNameByHandleW(handle, NULL, 0, FLAGS);
    if (needed == 0)
        return std::wstring();
    std::wstring path((size_t)needed, L'\0');
    DWORD written = GetFinalPathNameByHandleW(handle, &path[0], needed, FLAGS);
    if (written == 0 || written >= needed)
        return std::wstring();
    path.resize(written);
    dropTrailingBackslash(path);
    return path;
}

bool sameIgnoringCase(const wchar_t* a, const wchar_t* b, size_t length)
{
    return CompareStringOrdinal(a, (int)length, b, (int)length, TRUE) == CSTR_EQUAL;
}

}  // namespace

DownloadFolder::DownloadFolder(const CString& chosen)
    : m_path(longPathW(chosen)),
      m_rootLength(0),
      m_usable(false)
{
    // The chosen folder is opened as the user's choice, a link or not.
    HANDLE root = CreateFileW(m_path.c_str(), FILE_READ_ATTRIBUTES, SHARE_ALL, NULL, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (root != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info;
        m_usable = GetFileInformationByHandle(root, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // Without it (a file system that cannot tell) only new items are made.
        m_rootFinal = finalPathOf(root);
        CloseHandle(root);
    }
    dropTrailingBackslash(m_path);
    m_rootLength = m_path.size();
}

int DownloadFolder::room() const
{
    return MAX_PATH_UNITS - (int)m_rootLength;
}

std::wstring DownloadFolder::childPath(const std::wstring& name) const
{
    std::wstring path;
    path.reserve(m_path.size() + 1 + name.size());
    path.append(m_path).append(1, L'\\').append(name);
    return path;
}

bool DownloadFolder::placeFor(const CString& name, std::wstring* path) const
{
    if (!usable())
        return false;
    *path = childPath(toWide(name));
    return path->size() <= (size_t)MAX_PATH_UNITS;
}

// An item that existed before: taken only when it is what its path says.
bool DownloadFolder::isPlainItem(HANDLE handle, const std::wstring& path, bool folder) const
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info))
        return false;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return false;
    if (((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder)
        return false;
    // Writing into a file with another name elsewhere changes that one too.
    if (!folder && info.nNumberOfLinks > 1)
        return false;
    // The chosen folder's own final path and the levels below it; names
    // compare as the file system does, without regard to case.
    std::wstring final = finalPathOf(handle);
    size_t below = path.size() - m_rootLength;
    if (m_rootFinal.empty() || final.size() != m_rootFinal.size() + below)
        return false;
    return sameIgnoringCase(final.data(), m_rootFinal.data(), m_rootFinal.size()) &&
        sameIgnoringCase(final.data() + m_rootFinal.size(), path.data() + m_rootLength, below);
}

bool DownloadFolder::enter(const CString& name)
{
    std::wstring path;
    if (!placeFor(name, &path))
        return false;
    if (!CreateDirectoryW(path.c_str(), NULL)) {
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        HANDLE existing = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, SHARE_ALL, NULL, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, NULL);
        if (existing == INVALID_HANDLE_VALUE)
            return false;
        bool plain = isPlainItem(existing, path, true);
        CloseHandle(existing);
        if (!plain)
            return false;
    }
    m_levels.push_back(m_path.size());
    m_path.swap(path);
    return true;
}

void DownloadFolder::leave()
{
    if (m_levels.empty())
        return;
    m_path.resize(m_levels.back());
    m_levels.pop_back();
}

HANDLE DownloadFolder::createFile(const CString& name)
{
    std::wstring path;
    if (!placeFor(name, &path))
        return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_NEW, OUTPUT_FLAGS, NULL);
    if (file != INVALID_HANDLE_VALUE)
        return file;
    DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
        return INVALID_HANDLE_VALUE;
    // Opened as it is; emptied only once it is known to be the file it names.
    file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING, OUTPUT_FLAGS, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return INVALID_HANDLE_VALUE;
    if (!isPlainItem(file, path, false) || SetFilePointer(file, 0, NULL, FILE_BEGIN) != 0 || !SetEndOfFile(file)) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}
