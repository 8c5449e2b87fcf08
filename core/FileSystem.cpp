#include "core/FileSystem.h"

#include "classlib/CFile.h"
#include "classlib/CFileFind.h"
#include "classlib/CStringList.h"

#include <cstring>

namespace {

bool isDots(const char* name)
{
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

// Adds the files of one folder to total and queues the sub-folders a folder
// stream enters.
void addFolderEntries(const CString& folder, ULONGLONG& total, CStringList& pending)
{
    CString pattern = folder + "\\*.*";
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (entry.nFileSizeHigh == 0) {
                total += entry.nFileSizeLow;
            }
        } else if (isEnteredFolder(entry.dwFileAttributes) && !isDots(entry.cFileName)) {
            pending.AddTail(folder + "\\" + entry.cFileName);
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

}  // namespace

ULONGLONG getFolderSize(const char* path)
{
    // A work list instead of recursion: a deep tree costs heap, not stack.
    ULONGLONG total = 0;
    if (path == NULL) {
        return total;
    }
    CStringList pending;
    pending.AddTail(CString(path));
    while (!pending.IsEmpty()) {
        addFolderEntries(pending.RemoveHead(), total, pending);
    }
    return total;
}

int getFileSize(CString path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone)) {
        return 0;
    }
    return (int)(DWORD)(file.GetLength() & 0xFFFFFFFFu);
}

BOOL isFileExists(CString path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

CString getFileName(CString path)
{
    CFileFind finder;
    if (!finder.FindFile(path)) {
        return CString();
    }
    finder.FindNextFile();
    return finder.GetFileName();
}
