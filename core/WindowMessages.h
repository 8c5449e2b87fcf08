#pragma once

#include "classlib/Types.h"

// Private window messages exchanged between the engine and the windows.
const UINT WM_USER_TRAY_NOTIFY = WM_USER + 1;
const UINT WM_USER_NEW_MESSAGE_NOTICE = WM_USER + 101;
const UINT WM_USER_RESTORE_TRAY_ICON = WM_USER + 102;
const UINT WM_USER_ADD_BUDDY = WM_USER + 104;  // lParam: IpMessage*, sent synchronously
const UINT WM_USER_EXIT = WM_USER + 106;
// lParam: the IpMessage of a chat text, sent synchronously. The window answers
// CHAT_TEXT_TAKEN once it shows the text, anything else when it does not:
// only a text taken is acknowledged to its sender.
const UINT WM_USER_RECEIVE_MESSAGE = WM_USER + 107;
const LRESULT CHAT_TEXT_TAKEN = 1;
const UINT WM_USER_ADD_DROPPED_FILE = WM_USER + 200;
const UINT WM_USER_RECEIVE_START = WM_USER + 201;
const UINT WM_USER_RECEIVE_PROGRESS = WM_USER + 202;
const UINT WM_USER_RECEIVE_FINISH = WM_USER + 203;
const UINT WM_USER_RECEIVE_ERROR = WM_USER + 204;
// lParam: the ShareListReply of one share-list reply, sent synchronously to
// the peers' page of the shared-folder browser; it stays the sender's.
const UINT WM_USER_ADD_SHARE_ITEMS = WM_USER + 205;
