#pragma once
// A Windows file handle. Open reports failure by returning FALSE.

#include "classlib/Types.h"

class CFile {
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,  // same as shareExclusive
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,  // create, or truncate an existing file...
        modeNoTruncate = 0x2000,  // ...unless this is given too
        typeText = 0x4000,
        typeBinary = 0x8000,
        osSequentialScan = 0x80000  // the file is read from start to end
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    CFile();
    virtual ~CFile();  // closes the file
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Closes a file already open first. FALSE when the file cannot be opened.
    virtual BOOL Open(const char* path, UINT flags);
    // The same for a wide path of any length in the form "\\?\C:\..." (the
    // narrow Open stops at MAX_PATH characters).
    BOOL OpenLong(const wchar_t* path, UINT flags);
    // Takes over a handle opened elsewhere, closing the file open first;
    // FALSE (and closed) for INVALID_HANDLE_VALUE.
    BOOL Attach(HANDLE handle);
    UINT Read(void* buffer, UINT count);  // bytes read; 0 at the end or on error
    BOOL Write(const void* buffer, UINT count);  // TRUE when all bytes were written
    // The new position from the start; (ULONGLONG)-1 on failure.
    ULONGLONG Seek(LONGLONG offset, UINT from);
    ULONGLONG GetLength() const;  // 0 when closed or on error
    virtual void Close();
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

    HANDLE m_hFile;  // INVALID_HANDLE_VALUE when closed
};
