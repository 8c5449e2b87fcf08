#include <winsock2.h>

#include <gtest/gtest.h>

// The host name comes from the sockets layer, which the program starts
// before anything asks for it; the tests do the same.
int main(int argc, char** argv)
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    WSACleanup();
    return result;
}
