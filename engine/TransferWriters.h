#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"

// Writers of the texts that the offering side puts on the wire: attachment
// entries of a file offer and the headers of a folder stream.

// A file or folder name as it goes into an entry or a header: every ':' is
// written doubled, which the readers keep inside the name instead of taking
// it for the end of the field. Names from our own file system never hold ':'.
CString wireName(const CString& name);

// One attachment entry, "fileId:name:size:0:attr", size in lower-case hex
// (the low 32 bits of the item's size).
CString attachEntry(int fileId, const CString& name, DWORD size, bool isFolder);

// One folder stream header: a four-digit upper-case hex length (the length
// of the whole header) and ':', then "name:size:attr:" and the two fixed
// time fields. sizeText is written as given.
CString folderStreamHeader(const CString& name, const CString& sizeText, int attr);

// The nine-character size field of a file header: lower-case hex of size,
// with '0' put in front.
CString folderStreamSize(DWORD size);
