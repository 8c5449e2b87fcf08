#pragma once
// The driver's command line:
//   netdriver SCENARIO [ARG...] [--log FILE] [--stop-file FILE] [--seconds N]
//             [--answer-no] [--folder PATH] [--share KEY=PATH]...
//             [--hold-from IP --release-file FILE] [--hold-prompts]
//             [--accept-errors CODE,...] [--serve-timeouts REQUEST_MS,SEND_MS]
//             [--idle-timeout MS] [--receive-buffer BYTES]
// Options may come anywhere; what is not an option is the scenario and its
// arguments, in order.

#include "classlib/CString.h"
#include "classlib/CStringArray.h"

struct DriverOptions {
    CString scenario;
    CStringArray arguments;  // the scenario's own arguments
    CString logPath;  // empty: standard output
    CString stopFile;  // a running scenario ends when this file appears
    int seconds = 60;  // ... or after this many seconds
    bool answerNo = false;  // prompts answered No (or Cancel) instead of Yes (or OK)
    CString folder;  // the folder picker's answer; empty: cancelled
    CStringArray shares;  // "packetNo-fileId=path": made servable before the start
    CString holdFrom;  // messages from this IP wait in the window ...
    CString releaseFile;  // ... the n-th until the file <releaseFile>.<n> appears
    CString acceptErrors;  // Winsock codes the first accepts fail with, in order
    CString serveTimeouts;  // "request,send" in ms for the serving threads
    bool holdPrompts = false;  // the n-th Yes/No box waits for <releaseFile>.prompt<n>
    int idleTimeoutMs = 0;  // a download's quiet time before it fails; 0: the program's
    int receiveBuffer = -1;  // a download connection's SO_RCVBUF; 0: the system's; -1: the program's

    // FALSE (with a message on standard error) for a malformed command line.
    BOOL parse(int argc, char** argv);
};

// Stop file present or time up.
bool stopRequested(const DriverOptions& options, DWORD startTicks);
