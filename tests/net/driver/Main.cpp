// netdriver: runs a piece of the messenger on a test host of the network tests
// (tests/net) and reports what happens to a log; see DriverOptions.h for the
// command line and Scenarios.h for the scenarios.

#include <cstdio>
#include <cstring>

#include "classlib/Prompts.h"
#include "core/Globals.h"
#include "engine/FileDownload.h"
#include "tests/net/driver/DriverLog.h"
#include "tests/net/driver/DriverOptions.h"
#include "tests/net/driver/RecordingWindow.h"
#include "tests/net/driver/Scenarios.h"
#include "tests/net/driver/ServingFaults.h"
#include "tests/net/driver/ScriptedPrompts.h"

namespace {

struct Scenario {
    const char* name;
    int (*run)(const DriverOptions&);
};

const Scenario scenarios[] = {
    {"probe", runProbe},       {"entry", runEntry},         {"exit", runExit},   {"text", runText},
    {"initonly", runInitOnly}, {"messenger", runMessenger}, {"offer", runOffer},
};

// "7-8=C:\\files\\a.txt": servable as if it had been offered.
void addShares(const CStringArray& shares)
{
    for (INT_PTR i = 0; i < shares.GetSize(); ++i) {
        int equals = shares[i].Find('=');
        if (equals <= 0)
            continue;
        SharedStateLock lock;
        shareIdMap.SetAt(shares[i].Left(equals), shares[i].Mid(equals + 1));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    DriverOptions options;
    if (!options.parse(argc, argv))
        return 2;
    openDriverLog(options.logPath.IsEmpty() ? NULL : (const char*)options.logPath);

    ScriptedPrompts prompts(options.answerNo, options.folder);
    if (options.holdPrompts)
        prompts.holdYesNo(options.releaseFile, options.stopFile);
    setPromptScript(&prompts);
    if (options.idleTimeoutMs > 0)
        setDownloadIdleTimeout((DWORD)options.idleTimeoutMs);
    if (options.receiveBuffer >= 0)
        setDownloadReceiveBuffer(options.receiveBuffer);
    if (!createRecordingWindow()) {
        LogLine("ERROR").field("text", "the recording window cannot be made").write();
        return 3;
    }
    holdMessagesFrom(options.holdFrom, options.releaseFile, options.stopFile, (DWORD)options.seconds * 1000);
    addShares(options.shares);
    applyServingFaults(options);

    for (const Scenario& scenario : scenarios) {
        if (options.scenario == scenario.name) {
            LogLine("START").field("scenario", scenario.name).write();
            int code = scenario.run(options);
            LogLine("END").field("code", code).write();
            setPromptScript(NULL);
            return code;
        }
    }
    LogLine("ERROR").field("text", "no such scenario").field("scenario", options.scenario).write();
    return 2;
}
