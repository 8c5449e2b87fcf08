#pragma once

#include "classlib/Types.h"

// How the engine reaches the windows without depending on them. The
// program's user interface defines this; the engine tests define their own.

// The buddy-list window, which gets WM_USER_ADD_BUDDY and
// WM_USER_RECEIVE_MESSAGE (lParam: an IpMessage that stays the sender's).
HWND buddyListWindow();
