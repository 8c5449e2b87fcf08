#pragma once
// A text file line by line. In text mode (the default) WriteString writes a
// line end "\n" as "\r\n"; ReadString strips the line end.

#include "classlib/CFile.h"
#include "classlib/CString.h"

class CStdioFile : public CFile {
public:
    CStdioFile();

    BOOL Open(const char* path, UINT flags) override;
    BOOL WriteString(const char* text);
    // The next line without "\n" (and, in text mode, without "\r" before it).
    // FALSE at the end of the file with nothing read.
    BOOL ReadString(CString& line);

private:
    bool m_textMode;
};
