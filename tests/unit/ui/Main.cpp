#include "tests/unit/support/UiTestSupport.h"

#include "engine/Messenger.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <cstdio>

// The user-interface tests create the program's real windows from the
// program's own resources (linked into this test program) on the main
// thread. Whatever the windows send leaves through udpSocket, here a
// loopback socket on a free port, and reaches the test's loopback peers on
// port 2425.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    WSADATA details;
    WSAStartup(MAKEWORD(1, 1), &details);
    udpSocket = openLoopbackSender();
    if (udpSocket == INVALID_SOCKET) {
        fprintf(stderr, "no loopback socket for the windows' sends\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
