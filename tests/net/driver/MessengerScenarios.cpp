// The engine under test: the start, the three senders and the whole messenger
// with its receive threads. Every call's result goes to the log as
//   RESULT call=<name> value=<n>

#include "tests/net/driver/Scenarios.h"

#include "engine/Messenger.h"
#include "tests/net/driver/DriverLog.h"

namespace {

int logged(const char* call, int value)
{
    LogLine("RESULT").field("call", call).field("value", value).write();
    return value;
}

}  // namespace

void runMessageLoop(const DriverOptions& options)
{
    DWORD start = GetTickCount();
    UINT_PTR timer = SetTimer(NULL, 0, 50, NULL);
    MSG message;
    while (!stopRequested(options, start) && GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(NULL, timer);
}

// netdriver entry: the entry broadcast alone.
int runEntry(const DriverOptions&)
{
    if (logged("initMessenger", initMessenger()) < 0)
        return 1;
    logged("sendBrEntry", sendBrEntry());
    return 0;
}

// netdriver exit: the messenger's stop, which says goodbye.
int runExit(const DriverOptions&)
{
    if (logged("initMessenger", initMessenger()) < 0)
        return 1;
    stopMessenger();
    logged("stopMessenger", 0);
    return 0;
}

// netdriver text IPLIST TEXT: one chat text to every address of the list.
int runText(const DriverOptions& options)
{
    if (options.arguments.GetSize() != 2) {
        LogLine("USAGE").field("text", "netdriver text IPLIST TEXT").write();
        return 2;
    }
    if (logged("initMessenger", initMessenger()) < 0)
        return 1;
    logged("sendTextMessage", sendTextMessage(options.arguments[1], options.arguments[0]));
    return 0;
}

// netdriver initonly: the start-up alone, e.g. on a host where the port is taken.
int runInitOnly(const DriverOptions&)
{
    return logged("initMessenger", initMessenger()) < 0 ? 1 : 0;
}

// netdriver messenger: start-up, the running messenger until told to stop, stop.
int runMessenger(const DriverOptions& options)
{
    if (logged("initMessenger", initMessenger()) < 0)
        return 1;
    logged("startMessenger", startMessenger());
    runMessageLoop(options);
    stopMessenger();
    logged("stopMessenger", 0);
    return 0;
}
