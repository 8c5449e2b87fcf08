#include "tests/net/driver/DriverOptions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/FileSystem.h"

BOOL DriverOptions::parse(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (strcmp(arg, "--answer-no") == 0) {
            answerNo = true;
        } else if (strcmp(arg, "--hold-prompts") == 0) {
            holdPrompts = true;
        } else if (strncmp(arg, "--", 2) == 0 && !hasValue) {
            fprintf(stderr, "netdriver: %s needs a value\n", arg);
            return FALSE;
        } else if (strcmp(arg, "--log") == 0) {
            logPath = argv[++i];
        } else if (strcmp(arg, "--stop-file") == 0) {
            stopFile = argv[++i];
        } else if (strcmp(arg, "--seconds") == 0) {
            seconds = atoi(argv[++i]);
        } else if (strcmp(arg, "--folder") == 0) {
            folder = argv[++i];
        } else if (strcmp(arg, "--share") == 0) {
            shares.Add(argv[++i]);
        } else if (strcmp(arg, "--hold-from") == 0) {
            holdFrom = argv[++i];
        } else if (strcmp(arg, "--release-file") == 0) {
            releaseFile = argv[++i];
        } else if (strcmp(arg, "--accept-errors") == 0) {
            acceptErrors = argv[++i];
        } else if (strcmp(arg, "--serve-timeouts") == 0) {
            serveTimeouts = argv[++i];
        } else if (strcmp(arg, "--idle-timeout") == 0) {
            idleTimeoutMs = atoi(argv[++i]);
        } else if (strcmp(arg, "--receive-buffer") == 0) {
            receiveBuffer = atoi(argv[++i]);
        } else if (strncmp(arg, "--", 2) == 0) {
            fprintf(stderr, "netdriver: unknown option %s\n", arg);
            return FALSE;
        } else if (scenario.IsEmpty()) {
            scenario = arg;
        } else {
            arguments.Add(arg);
        }
    }
    if (scenario.IsEmpty()) {
        fprintf(stderr, "netdriver: no scenario given\n");
        return FALSE;
    }
    return TRUE;
}

bool stopRequested(const DriverOptions& options, DWORD startTicks)
{
    if (!options.stopFile.IsEmpty() && isFileExists(options.stopFile))
        return true;
    return GetTickCount() - startTicks >= (DWORD)options.seconds * 1000;
}
