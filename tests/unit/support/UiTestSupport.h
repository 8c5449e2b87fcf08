#pragma once

#include "classlib/AfxWin.h"

#include <set>
#include <string>
#include <vector>

class IpMessage;

// A UDP socket on 127.0.0.1 at a free port, for udpSocket.
SOCKET openLoopbackSender();

// Catches what the windows send to port 2425 of any loopback address
// (127.0.0.2, 127.0.0.3, ...), with the address each datagram went to.
class LoopbackWire {
public:
    LoopbackWire();
    ~LoopbackWire();
    bool ready() const { return socket_ != INVALID_SOCKET; }
    // Why the wire is not ready.
    std::string error() const;

    struct Sent {
        std::string to;  // destination address; empty when nothing came
        std::string bytes;
    };
    // The next datagram; empty when none came within a generous guard time
    // (a guard against hanging, not a timing check).
    Sent next();
    // Sends a marker datagram and reads up to it: true when nothing else
    // arrived before it.
    bool nothingElseArrived();

private:
    SOCKET socket_;
    int error_;
    void* receiveMessage_;  // WSARecvMsg
};

// The ':'-separated fields of an IPMSG datagram; extra is everything after
// the fifth ':'.
struct Datagram {
    std::string version, packetNo, user, host, extra;
    long command = -1;
};
Datagram parseDatagram(const std::string& bytes);

// An entry datagram as the engine hands it to the buddy list.
IpMessage* entryMessage(const char* ip, const char* nickname, const char* group, const char* version = "1-1-ZQ");

// Closes every chat window of chatDialogMap and empties it.
void closeChatWindows();

// The names of the bitmap files in a folder.
std::set<std::string> bitmapsIn(const CString& folder);

// Whether Ctrl+P is taken by some window right now.
bool ctrlPIsTaken();

// Holds Ctrl+P for its lifetime, as another program would.
class CtrlPHolder {
public:
    CtrlPHolder();
    ~CtrlPHolder();
    bool holds() const { return holds_; }

private:
    HWND window_;
    bool holds_;
};

// Handles the messages waiting for this thread's windows.
void pumpMessages();

// A fresh folder under the temporary folder, removed with its files.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    CString path() const { return path_; }
    // Creates a file (or a folder) in it; returns its full path.
    CString file(const char* name, const char* content = "x");
    CString folder(const char* name);

private:
    CString path_;
};

// A drop of these paths as the shell hands it over: DROPFILES in global
// memory, ANSI paths, a double NUL at the end.
HDROP makeDrop(const std::vector<CString>& paths);
