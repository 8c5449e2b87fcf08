// netdriver offer IPLIST TEXT PATH...: the running messenger offers the
// files and folders at PATH... to every address of IPLIST with the chat text
// TEXT, then serves them until told to stop.

#include "tests/net/driver/Scenarios.h"

#include "classlib/CStringArray.h"
#include "engine/OutgoingFileOffer.h"
#include "engine/Messenger.h"
#include "tests/net/driver/DriverLog.h"

int runOffer(const DriverOptions& options)
{
    if (options.arguments.GetSize() < 3) {
        LogLine("USAGE").field("text", "netdriver offer IPLIST TEXT PATH...").write();
        return 2;
    }
    if (initMessenger() < 0)
        return 1;
    startMessenger();
    CStringArray paths;
    for (INT_PTR i = 2; i < options.arguments.GetSize(); ++i)
        paths.Add(options.arguments[i]);
    int result = sendFileAttachMessage(options.arguments[0], options.arguments[1], &paths);
    LogLine("RESULT").field("call", "sendFileAttachMessage").field("value", result).write();
    runMessageLoop(options);
    stopMessenger();
    return 0;
}
