#include "classlib/CFile.h"

namespace {

DWORD accessFor(UINT flags)
{
    switch (flags & 0x3) {
    case CFile::modeWrite:
        return GENERIC_WRITE;
    case CFile::modeReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

DWORD sharingFor(UINT flags)
{
    switch (flags & 0x70) {
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    case CFile::shareDenyRead:
        return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    default:
        return 0;  // shareCompat, shareExclusive
    }
}

DWORD attributesFor(UINT flags)
{
    return (flags & CFile::osSequentialScan) ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_ATTRIBUTE_NORMAL;
}

DWORD dispositionFor(UINT flags)
{
    if (!(flags & CFile::modeCreate))
        return OPEN_EXISTING;
    return (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

}  // namespace

CFile::CFile()
    : m_hFile(INVALID_HANDLE_VALUE)
{
}

CFile::~CFile()
{
    CFile::Close();
}

BOOL CFile::Open(const char* path, UINT flags)
{
    Close();
    if (!path)
        return FALSE;
    return Attach(CreateFileA(path, accessFor(flags), sharingFor(flags), NULL, dispositionFor(flags),
                              attributesFor(flags), NULL));
}

BOOL CFile::OpenLong(const wchar_t* path, UINT flags)
{
    Close();
    if (!path)
        return FALSE;
    return Attach(CreateFileW(path, accessFor(flags), sharingFor(flags), NULL, dispositionFor(flags),
                              attributesFor(flags), NULL));
}

BOOL CFile::Attach(HANDLE handle)
{
    Close();
    m_hFile = handle;
    return IsOpen();
}

UINT CFile::Read(void* buffer, UINT count)
{
    DWORD got = 0;
    if (!IsOpen() || count == 0 || !ReadFile(m_hFile, buffer, count, &got, NULL))
        return 0;
    return got;
}

BOOL CFile::Write(const void* buffer, UINT count)
{
    if (!IsOpen())
        return FALSE;
    const char* bytes = static_cast<const char*>(buffer);
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(m_hFile, bytes, count, &written, NULL) || written == 0)
            return FALSE;
        bytes += written;
        count -= written;
    }
    return TRUE;
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    DWORD method = from == current ? FILE_CURRENT : (from == end ? FILE_END : FILE_BEGIN);
    if (!IsOpen() || !SetFilePointerEx(m_hFile, distance, &position, method))
        return static_cast<ULONGLONG>(-1);
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(m_hFile, &size))
        return 0;
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::Close()
{
    if (IsOpen())
        CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}
