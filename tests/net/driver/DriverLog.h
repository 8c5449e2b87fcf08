#pragma once
// The driver's report: one line per event, appended and flushed at once so a
// test can read it while the driver runs. A line is
//   KIND<TAB>name=value<TAB>name=value...<LF>
// with the value's bytes as they are (GBK text stays readable), except a
// backslash, written "\\", and bytes below 0x20 or 0x7F, written "\xHH".

#include "classlib/CString.h"

// Opens (truncates) the log; without a path lines go to standard output.
void openDriverLog(const char* path);

class LogLine {
public:
    explicit LogLine(const char* kind);
    LogLine& field(const char* name, const CString& value);
    LogLine& field(const char* name, const char* value);
    LogLine& field(const char* name, int value);
    // Appends the line to the log and flushes it; safe on any thread.
    void write();

private:
    CString text;
};
