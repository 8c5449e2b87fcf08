/* The yardstick for the messenger's start-up: a Win32 program that does nothing but send one
   UDP broadcast to port 2425 as soon as it runs, then ends. Built by the test build. */
#include <winsock2.h>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    WSADATA data;
    SOCKET s;
    struct sockaddr_in to;
    BOOL on = TRUE;
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    WSAStartup(MAKEWORD(2, 2), &data);
    s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, (const char*)&on, sizeof on);
    ZeroMemory(&to, sizeof to);
    to.sin_family = AF_INET;
    to.sin_port = htons(2425);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    sendto(s, "empty", 5, 0, (const struct sockaddr*)&to, sizeof to);
    closesocket(s);
    WSACleanup();
    return 0;
}
