// netdriver probe: checks the test host itself, without any of our code. It
// reports the ANSI code page, binds UDP port 2425 on every address as the
// messenger does, broadcasts "zq-probe" and then echoes every datagram that
// does not start with "echo:" back to its sender with "echo:" in front.

#include "tests/net/driver/Scenarios.h"

#include "tests/net/driver/DriverLog.h"

int runProbe(const DriverOptions& options)
{
    LogLine("PROBE").field("acp", (int)GetACP()).write();

    WSADATA details;
    WSAStartup(MAKEWORD(2, 2), &details);
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address;
    ZeroMemory(&address, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons(2425);
    if (bind(s, (const sockaddr*)&address, sizeof address) != 0) {
        LogLine("BIND").field("error", WSAGetLastError()).write();
        return 1;
    }
    BOOL on = TRUE;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, (const char*)&on, sizeof on);
    DWORD timeout = 100;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, (const char*)&timeout, sizeof timeout);
    LogLine("BOUND").write();

    sockaddr_in everyone = address;
    everyone.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    sendto(s, "zq-probe", 8, 0, (const sockaddr*)&everyone, sizeof everyone);

    DWORD start = GetTickCount();
    char buffer[2048];
    while (!stopRequested(options, start)) {
        sockaddr_in from;
        int fromLength = sizeof from;
        int n = recvfrom(s, buffer, sizeof buffer, 0, (sockaddr*)&from, &fromLength);
        if (n < 0)
            continue;
        CString data(buffer, n);
        LogLine("RECEIVED").field("from", inet_ntoa(from.sin_addr)).field("data", data).write();
        if (data.Left(5) != "echo:") {
            CString echo = "echo:" + data;
            sendto(s, echo, echo.GetLength(), 0, (const sockaddr*)&from, sizeof from);
        }
    }
    closesocket(s);
    WSACleanup();
    return 0;
}
