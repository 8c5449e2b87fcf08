#pragma once

#include "classlib/CString.h"
#include "core/Globals.h"
#include "classlib/Types.h"

// The two sockets (udpSocket, tcpSocket) are process globals (core/Globals.h);
// initMessenger makes and binds them.

// Life of the messenger, all on the user-interface thread.
// 1 when both sockets are ready; -1 when port 2425 is taken (the user has
// been told, the quit message is posted).
int initMessenger();
// 1 when the socket could be made and bound, else 0.
int createUdpSocket();
int createTcpSocket();
// Announces us, asks for the peers' share lists and starts the receive
// threads. afterEntry, when given, runs right after the entry broadcast and
// before the share-list request: the user interface makes there the windows
// that only the peers' answers and the downloads reach, so that they do not
// hold up our entry. Always 0.
int startMessenger(void (*afterEntry)() = NULL);
// Says goodbye and stops the sockets layer; the process ends right after.
void stopMessenger();

// Senders. Each returns 0; a datagram that cannot be sent is lost silently.
int sendBrEntry();
int sendBrExit();
// Receipt for the chat text numbered packetNo, to ip port 2425.
int sendRecvMessage(CString packetNo, CString ip);
// One chat datagram to every address of ipList (joined by ","; blank pieces
// are skipped). All receivers get the same packet number and the same bytes.
int sendTextMessage(CString text, CString ipList);
