#include "engine/TransferWriters.h"

#include "core/CUtils.h"

namespace {

// Every header carries the same modification and creation times.
const char FIXED_TIME_FIELDS[] = "14=51e7647a:16=51e76478:";

const int HEADER_LENGTH_WIDTH = 5;  // four hex digits and the ':'

}  // namespace

CString wireName(const CString& name)
{
    CString written = name;
    written.Replace(":", "::");
    return written;
}

CString attachEntry(int fileId, const CString& name, DWORD size, bool isFolder)
{
    CString entry;
    entry.Format("%d:%s:%x:0:%d", fileId, (const char*)wireName(name), (unsigned int)size, isFolder ? 2 : 1);
    return entry;
}

CString folderStreamHeader(const CString& name, const CString& sizeText, int attr)
{
    CString body;
    body.Format("%s:%s:%x:%s", (const char*)wireName(name), (const char*)sizeText, attr, FIXED_TIME_FIELDS);
    CString length;
    length.Format("%X:", body.GetLength() + HEADER_LENGTH_WIDTH);
    return CUtils::padWithZeros(length, HEADER_LENGTH_WIDTH) + body;
}

CString folderStreamSize(DWORD size)
{
    CString text;
    text.Format("%x", (unsigned int)size);
    return CUtils::padWithZeros(text, 9);
}
