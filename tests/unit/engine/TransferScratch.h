#pragma once

#include "classlib/Types.h"

#include <string>

// A folder of its own under the temporary folder for one test, removed with
// everything in it at the end of the test. Paths are ANSI texts, as the
// messenger keeps them.
class TransferScratch {
public:
    TransferScratch();
    ~TransferScratch();
    TransferScratch(const TransferScratch&) = delete;
    TransferScratch& operator=(const TransferScratch&) = delete;

    // The full path of relative ("a\\b.txt") below the scratch folder.
    std::string path(const std::string& relative) const;

    // Makes a folder (and the folders above it); returns its full path.
    std::string folder(const std::string& relative) const;
    // Writes a file with the given content; returns its full path.
    std::string file(const std::string& relative, const std::string& content) const;

private:
    std::string m_root;
};

// The bytes of one loopback TCP connection.
struct TcpPair {
    SOCKET server;
    SOCKET client;
};

// A connected pair over 127.0.0.1; both INVALID_SOCKET on failure.
TcpPair connectedTcpPair();

// Everything the socket receives until the other side closes it. closed
// tells whether it did, rather than the 20-second guard running out.
std::string receiveUntilClosed(SOCKET s, bool* closed = NULL);
