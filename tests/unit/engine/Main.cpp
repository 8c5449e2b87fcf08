#include "RecordingBuddyWindow.h"
#include "engine/Messenger.h"
#include "engine/WindowLinks.h"

#include <gtest/gtest.h>

#include <cstdio>

// The engine tests talk to themselves over loopback: udpSocket is bound to
// port 2425 as in the program, and a recording window stands in for the
// buddy list.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);

    WSADATA details;
    WSAStartup(MAKEWORD(1, 1), &details);
    if (!createUdpSocket()) {
        fprintf(stderr, "UDP port 2425 is taken; the engine tests need it\n");
        return 1;
    }
    startRecordingBuddyWindow();
    if (buddyListWindow() == NULL) {
        fprintf(stderr, "the recording buddy-list window could not be made\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
