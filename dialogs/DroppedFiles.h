#pragma once

#include "classlib/Types.h"

#include <shellapi.h>

const UINT WM_USER_ADD_DROPPED_FILE = WM_USER + 200;

// Hands every path of a shell drop on control to the control's parent as one
// WM_USER_ADD_DROPPED_FILE each (lParam: the NUL-terminated full path, valid
// until the call returns), in the shell's order, then releases the drop.
void forwardDroppedFiles(HWND control, HDROP drop);
