#pragma once

#include "classlib/Types.h"

#include <string>
#include <vector>

// Stands in for the buddy-list window: a hidden window on a user-interface
// thread of its own that records every message the engine hands it.
struct BuddyWindowDelivery {
    UINT message;  // WM_USER_ADD_BUDDY, WM_USER_RECEIVE_MESSAGE or WM_USER_REMOVE_BUDDY
    std::string version, packetNo, user, group, host, extra, senderIp;
    int command;
    bool datagramWaiting;  // something had already been sent to 127.0.0.1:2425
};

void startRecordingBuddyWindow();
// What the window got since the last call.
std::vector<BuddyWindowDelivery> takeBuddyWindowDeliveries();
// While true the window answers a chat text as not taken, as the buddy list
// does when it has no window for the sender and may open no more.
void refuseChatTexts(bool refuse);

// The window also stands in for the peers' page of the shared-folder browser
// and records each share-list reply it is handed.
struct ShareWindowDelivery {
    std::string userName, ip;
    std::vector<std::string> entries, names;
    int malformedPieces;
};
std::vector<ShareWindowDelivery> takeShareWindowDeliveries();
