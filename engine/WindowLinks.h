#pragma once

#include "classlib/Types.h"

// How the engine reaches the windows without depending on them: the three
// windows it talks to and the messages it gives each. The program's user
// interface defines the getters; the engine tests define their own.
//
//   message                   to                        how     lParam                         afterwards
//   WM_USER_ADD_BUDDY         buddyListWindow()         sent    IpMessage* (entry or answer)   the sender's
//   WM_USER_RECEIVE_MESSAGE   buddyListWindow()         sent    IpMessage* (chat text, or the  the sender's;
//                                                                 words of a file offer)         the window answers
//                                                                                                CHAT_TEXT_TAKEN
//   WM_USER_REMOVE_BUDDY      buddyListWindow()         sent    IpMessage* (exit)              the sender's
//   WM_USER_RECEIVE_START     receiveProgressWindow()   sent    CString* download parameter    the sender's
//   WM_USER_RECEIVE_PROGRESS  receiveProgressWindow()   posted  new CString                    the window frees it
//   WM_USER_RECEIVE_FINISH    receiveProgressWindow()   posted  new CString                    the window frees it
//   WM_USER_RECEIVE_ERROR     receiveProgressWindow()   posted  new CString                    the window frees it
//   WM_USER_ADD_SHARE_ITEMS   peerSharesWindow()        sent    ShareListReply*                the sender's
//
// A sent message is complete when SendMessage returns: the window copies
// what it keeps. A posted one carries its own heap text.

// The buddy-list window: the peers' entries and the chat texts received.
HWND buddyListWindow();
const UINT WM_USER_ADD_BUDDY = WM_USER + 104;
// A peer's exit: the peer at the datagram's source address (senderIp) leaves.
const UINT WM_USER_REMOVE_BUDDY = WM_USER + 105;
const UINT WM_USER_RECEIVE_MESSAGE = WM_USER + 107;
// The buddy list's answer to WM_USER_RECEIVE_MESSAGE once it shows the text;
// anything else when it does not. Only a text taken is acknowledged.
const LRESULT CHAT_TEXT_TAKEN = 1;

// The receive-progress window, one row per downloaded item; NULL while
// there is none.
HWND receiveProgressWindow();
const UINT WM_USER_RECEIVE_START = WM_USER + 201;
const UINT WM_USER_RECEIVE_PROGRESS = WM_USER + 202;
const UINT WM_USER_RECEIVE_FINISH = WM_USER + 203;
const UINT WM_USER_RECEIVE_ERROR = WM_USER + 204;

// The peers' page of the shared-folder browser, which takes the entries of
// one share-list reply at a time; NULL while there is none.
HWND peerSharesWindow();
const UINT WM_USER_ADD_SHARE_ITEMS = WM_USER + 205;
