#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

// Sum of the low 32 bits of the sizes of every entry in the folder tree below
// path ("." and ".." included). A folder that cannot be listed adds 0.
ULONGLONG getFolderSize(const char* path);

// Low 32 bits of the file's length; 0 when the file cannot be opened.
int getFileSize(CString path);

// TRUE when path names an existing file or folder.
BOOL isFileExists(CString path);

// Name (last component) of the first entry matching path (wildcards allowed);
// empty when nothing matches.
CString getFileName(CString path);
