#include "core/FileSystem.h"

#include "classlib/CFile.h"
#include "classlib/CFileFind.h"
#include "classlib/CStringList.h"

namespace {

// Adds the files of one folder to total and queues the sub-folders a folder
// stream enters.
void addFolderEntries(const CString& folder, ULONGLONG& total, CStringList& pending)
{
    CFileFind finder;
    for (BOOL more = finder.FindFile(folder + "\\*.*"); more;) {
        more = finder.FindNextFile();
        if (!finder.IsDirectory()) {
            ULONGLONG size = finder.GetLength();
            if (size <= 0xFFFFFFFFull) {
                total += size;
            }
        } else if (isEnteredFolder(finder.GetAttributes()) && !finder.IsDots()) {
            pending.AddTail(finder.GetFilePath());
        }
    }
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
