#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

#include <string>
#include <vector>

// Where a download writes: the folder the user chose, and the folders made or
// entered below it one level at a time. Nothing is ever created, written,
// truncated or entered through a link or junction that already lies below the
// chosen folder (a folder of the offered name that leads elsewhere, a file
// name that leads to a file outside): such an item is refused, and nothing
// outside is touched. The chosen folder itself may be a link: the user picked
// it (Desktop and Documents are links to the home folder under Wine).
//
// New items are made so that they cannot follow a link (a folder by
// CreateDirectoryW, a file with CREATE_NEW, both of which fail on any name
// that exists, dangling links included). An item that exists is opened
// without truncating it and taken only when it is no reparse point, no file
// with other hard links, and the file system's own name for it is the
// chosen folder's own name plus the levels below: under Wine a link to a file
// carries no reparse-point attribute, but its final path names its target.
class DownloadFolder {
public:
    // The longest path the wide file calls take, "\\?\" prefix included.
    static const int MAX_PATH_UNITS = 32767;

    explicit DownloadFolder(const CString& chosen);

    // False when the chosen folder cannot be opened: nothing can be written.
    bool usable() const { return m_usable; }
    // UTF-16 units left for a path below the chosen folder, its first '\'
    // included.
    int room() const;

    // Makes the folder name in the current one, or takes the one there; it
    // becomes the current folder. False when it is refused or cannot be made.
    bool enter(const CString& name);
    // The parent of the current folder becomes current again (never above
    // the chosen folder).
    void leave();

    // The file name in the current folder, new or emptied, open for writing;
    // INVALID_HANDLE_VALUE when it is refused or cannot be made.
    HANDLE createFile(const CString& name);

private:
    std::wstring childPath(const std::wstring& name) const;
    // The path of name in the current folder; false when nothing can be
    // written here or the path would be longer than the file calls take.
    bool placeFor(const CString& name, std::wstring* path) const;
    bool isPlainItem(HANDLE handle, const std::wstring& path, bool folder) const;

    std::wstring m_path;  // the current folder, "\\?\" form, no trailing '\'
    size_t m_rootLength;  // the chosen folder's part of m_path
    std::vector<size_t> m_levels;  // m_path's length before each level
    std::wstring m_rootFinal;  // the chosen folder as the file system names it; may be empty
    bool m_usable;
};
