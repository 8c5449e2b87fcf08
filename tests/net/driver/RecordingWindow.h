#pragma once
// Stands in for the buddy-list window: a message-only window that writes every
// WM_USER_ADD_BUDDY and WM_USER_RECEIVE_MESSAGE, with all fields of the
// message, to the log (lines ADD_BUDDY and RECEIVE_MESSAGE). It also defines
// buddyListWindow() for the engine, and stands in for the receive-progress
// window too: RECEIVE_START (the download parameter), RECEIVE_PROGRESS,
// RECEIVE_FINISH and RECEIVE_ERROR (the payload, then freed), and SHOWN when
// the window is shown.
//
// A message from the IP given to holdMessagesFrom() is held: the window
// writes its line and a line HOLD n=<number of this hold, from 1>, and
// returns only when the file <releaseFile>.<n> or the stop file appears (or
// the give-up time passes). The engine's thread waits in SendMessage meanwhile, so a test can
// see what goes on the wire before, and after, the window has the message.

#include "classlib/CString.h"
#include "classlib/Types.h"

// Creates the window on the calling thread, which must run its messages.
BOOL createRecordingWindow();
void holdMessagesFrom(const CString& ip, const CString& releaseFile, const CString& stopFile, DWORD giveUpMilliseconds);
