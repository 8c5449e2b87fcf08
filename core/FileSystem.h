#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

// The bytes a folder stream of path carries: the sizes of the files below
// it, in the folders that the stream enters (see isEnteredFolder). Files of
// 4 GiB or more, which the stream leaves out, count 0, and so does a folder
// that cannot be listed.
ULONGLONG getFolderSize(const char* path);

// TRUE for a listed entry that a walk of a folder tree enters: a folder that
// is not a link (symbolic link, junction) to another place, which may lead
// back into the tree. The names "." and ".." are the caller's to skip.
inline BOOL isEnteredFolder(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Low 32 bits of the file's length; 0 when the file cannot be opened.
int getFileSize(CString path);

// TRUE when path names an existing file or folder.
BOOL isFileExists(CString path);

// Name (last component) of the first entry matching path (wildcards allowed);
// empty when nothing matches.
CString getFileName(CString path);
