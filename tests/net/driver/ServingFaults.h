#pragma once
// Conditions of the serving side that a test host cannot bring about on
// demand: accepts that fail with given errors, and shorter time limits.

#include "tests/net/driver/DriverOptions.h"

// The first accepts fail with options.acceptErrors (each logged as
//   ACCEPT_ERROR code=<n>
// ); options.serveTimeouts replaces the serving threads' time limits.
void applyServingFaults(const DriverOptions& options);
