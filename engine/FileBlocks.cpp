#include "engine/FileBlocks.h"

#include <cstring>

BOOL ServedFile::openForServing(const std::wstring& longPath)
{
    Close();
    m_hFile = CreateFileW(longPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    return IsOpen() ? TRUE : FALSE;
}

BOOL sendAll(SOCKET s, const char* data, int length)
{
    while (length > 0) {
        int sent = send(s, data, length, 0);
        if (sent == SOCKET_ERROR || sent <= 0)
            return FALSE;
        data += sent;
        length -= sent;
    }
    return TRUE;
}

BOOL sendToEnd(SOCKET s, CFile& file, char* block)
{
    for (;;) {
        UINT read = file.Read(block, kFileBlockSize);
        if (read == 0)
            return TRUE;
        if (!sendAll(s, block, (int)read))
            return FALSE;
    }
}

BOOL sendExactly(SOCKET s, CFile& file, ULONGLONG count, char* block)
{
    bool fileEnded = false;
    while (count > 0) {
        UINT wanted = count < (ULONGLONG)kFileBlockSize ? (UINT)count : (UINT)kFileBlockSize;
        UINT read = fileEnded ? 0 : file.Read(block, wanted);
        if (read == 0) {
            fileEnded = true;
            memset(block, 0, wanted);
            read = wanted;
        }
        if (!sendAll(s, block, (int)read))
            return FALSE;
        count -= read;
    }
    return TRUE;
}
