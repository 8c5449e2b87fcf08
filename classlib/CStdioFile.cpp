#include "classlib/CStdioFile.h"

#include <cstring>
#include <string>

CStdioFile::CStdioFile()
    : m_textMode(true)
{
}

BOOL CStdioFile::Open(const char* path, UINT flags)
{
    m_textMode = !(flags & typeBinary);
    return CFile::Open(path, flags);
}

BOOL CStdioFile::WriteString(const char* text)
{
    if (!text)
        return FALSE;
    if (!m_textMode)
        return Write(text, static_cast<UINT>(std::strlen(text)));
    // A line end already written as "\r\n" stays as it is. ('\n' is never a
    // trail byte, so a byte scan is safe in GBK.)
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n' && (p == text || p[-1] != '\r'))
            out += '\r';
        out += *p;
    }
    return Write(out.data(), static_cast<UINT>(out.size()));
}

BOOL CStdioFile::ReadString(CString& line)
{
    line.Empty();
    std::string text;
    char chunk[512];
    bool readAny = false;
    for (;;) {
        UINT got = Read(chunk, sizeof chunk);
        if (got == 0)
            break;
        readAny = true;
        const char* newline = static_cast<const char*>(std::memchr(chunk, '\n', got));
        if (!newline) {
            text.append(chunk, got);
            continue;
        }
        UINT used = static_cast<UINT>(newline - chunk) + 1;
        text.append(chunk, used - 1);
        // Leave the file just after this line, so Read and Seek keep working.
        if (used < got)
            Seek(-static_cast<LONGLONG>(got - used), current);
        if (m_textMode && !text.empty() && text.back() == '\r')
            text.pop_back();
        break;
    }
    line = CString(text.data(), static_cast<int>(text.size()));
    return readAny ? TRUE : FALSE;
}
