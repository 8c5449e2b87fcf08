#pragma once

#include "classlib/Types.h"

// Moves window, keeping its size, beside anchor inside the work area of
// anchor's monitor: right of it, else left, below or above, whichever first
// leaves both wholly in view; where none does, on the side with the most room,
// pushed into the work area.
void placeBeside(HWND window, HWND anchor);
