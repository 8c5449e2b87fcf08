#pragma once

#include "classlib/Types.h"

// How the engine reaches the windows without depending on them. The
// program's user interface defines this; the engine tests define their own.

// The buddy-list window, which gets WM_USER_ADD_BUDDY and
// WM_USER_RECEIVE_MESSAGE (lParam: an IpMessage that stays the sender's).
HWND buddyListWindow();

// The receive-progress window, which gets WM_USER_RECEIVE_START (sent; lParam
// the download parameter, which stays the sender's) and the posted
// WM_USER_RECEIVE_PROGRESS, WM_USER_RECEIVE_FINISH and WM_USER_RECEIVE_ERROR
// (lParam a heap CString that the window frees). NULL while there is none.
HWND receiveProgressWindow();

// The peers' page of the shared-folder browser, which gets the sent
// WM_USER_ADD_SHARE_ITEMS (lParam a ShareListReply that stays the sender's).
// NULL while there is none.
HWND peerSharesWindow();
