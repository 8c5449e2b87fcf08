#pragma once
// The scenarios the driver can run; each returns the driver's exit code and
// reports through the log. A scenario that runs a message loop ends when
// stopRequested() says so.

#include "tests/net/driver/DriverOptions.h"

// Raw sockets only: code page, UDP port 2425, broadcast out, echo back.
int runProbe(const DriverOptions& options);

// The engine's start, senders and the whole messenger.
int runEntry(const DriverOptions& options);
int runExit(const DriverOptions& options);
int runText(const DriverOptions& options);
int runInitOnly(const DriverOptions& options);
int runMessenger(const DriverOptions& options);

// The running messenger offers files and folders, then serves them.
int runOffer(const DriverOptions& options);

// Runs window messages until stopRequested().
void runMessageLoop(const DriverOptions& options);
