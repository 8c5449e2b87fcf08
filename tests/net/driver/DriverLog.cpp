#include "tests/net/driver/DriverLog.h"

#include <cstdio>
#include <mutex>

namespace {

FILE* logFile = stdout;
std::mutex logLock;

}  // namespace

void openDriverLog(const char* path)
{
    if (path == NULL)
        return;
    FILE* opened = fopen(path, "wb");
    if (opened != NULL)
        logFile = opened;
}

LogLine::LogLine(const char* kind)
    : text(kind)
{
}

LogLine& LogLine::field(const char* name, const CString& value)
{
    text += '\t';
    text += name;
    text += '=';
    for (int i = 0; i < value.GetLength(); ++i) {
        unsigned char c = (unsigned char)value[i];
        if (c == '\\')
            text += "\\\\";
        else if (c < 0x20 || c == 0x7F)
            text.AppendFormat("\\x%02X", c);
        else
            text += (char)c;
    }
    return *this;
}

LogLine& LogLine::field(const char* name, const char* value)
{
    return field(name, CString(value));
}

LogLine& LogLine::field(const char* name, int value)
{
    CString number;
    number.Format("%d", value);
    return field(name, number);
}

void LogLine::write()
{
    std::lock_guard<std::mutex> guard(logLock);
    fwrite((const char*)text, 1, text.GetLength(), logFile);
    fputc('\n', logFile);
    fflush(logFile);
}
