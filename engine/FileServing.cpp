// The serving side of a file transfer: one thread per accepted connection
// reads a file request and answers with the file's bytes or a folder stream.

#include "engine/FileServing.h"

#include "core/Globals.h"
#include "core/IpMessageParser.h"
#include "core/NumberField.h"
#include "engine/FileBlocks.h"
#include "engine/FolderStreamSender.h"
#include "engine/LongPath.h"

#include <vector>

namespace {

const int REQUEST_BUFFER_SIZE = 32768;

// Bytes a peer may still send after its item was served, read before the
// close so that the close does not reset the connection under the data.
const int DRAIN_LIMIT = 65536;
const int DRAIN_WAIT_MS = 5000;

// Accepted connections inherit the listening socket's small buffers; file
// data needs far more in flight to keep a fast link busy (the system caps
// the value at its own limit).
const int SERVING_SEND_BUFFER = 1 << 20;

// The local path the request asks for, copied out of shareIdMap; false when
// the map does not know the request's key, or when the item was offered to
// others than peerIp (the peer cannot tell that from an unknown key).
bool requestedPath(const char* request, int length, const CString& peerIp, CString* path, int* offset)
{
    CString version, packetNo, user, host, command, packetId, fileId, offsetText;
    IpMessageParser parser;
    parser.parseFileRequest(request, length, &version, &packetNo, &user, &host, &command, &packetId, &fileId,
                            &offsetText);
    *offset = parseNumberField(offsetText, 10);
    CString key = packetId + "-" + fileId;
    SharedStateLock lock;
    CString recipients;
    if (shareRecipients.Lookup(key, recipients) && recipients.Find("," + peerIp + ",") < 0)
        return false;
    return shareIdMap.Lookup(key, *path) != FALSE;
}

// The dotted address of the connection's peer; empty when it is unknown,
// which no recipient list holds.
CString peerAddressOf(SOCKET s)
{
    sockaddr_in peer;
    int length = sizeof peer;
    if (getpeername(s, (sockaddr*)&peer, &length) != 0 || peer.sin_family != AF_INET)
        return CString();
    return CString(inet_ntoa(peer.sin_addr));
}

// Ends the connection after the last byte: the peer sees the end of the data
// first, then whatever it still sends is read and dropped.
void closeConnection(SOCKET s, char* buffer)
{
    shutdown(s, SD_SEND);
    DWORD wait = DRAIN_WAIT_MS;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, (const char*)&wait, sizeof wait);
    DWORD start = GetTickCount();
    for (int drained = 0; drained < DRAIN_LIMIT && GetTickCount() - start < (DWORD)DRAIN_WAIT_MS;) {
        int n = recv(s, buffer, REQUEST_BUFFER_SIZE, 0);
        if (n <= 0)
            break;
        drained += n;
    }
    closesocket(s);
}

}  // namespace

void serveConnection(SOCKET s, DWORD requestTimeoutMs, DWORD sendTimeoutMs)
{
    // The request's time limit runs from the start, whatever arrives: bytes
    // that are no request must not keep the connection and its thread.
    DWORD start = GetTickCount();
    setsockopt(s, SOL_SOCKET, SO_SNDBUF, (const char*)&SERVING_SEND_BUFFER, sizeof SERVING_SEND_BUFFER);
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, (const char*)&sendTimeoutMs, sizeof sendTimeoutMs);
    CString peerIp = peerAddressOf(s);

    // One request per connection. A request that cannot be served gets no
    // answer, and the peer may send another one on the same connection.
    std::vector<char> request(REQUEST_BUFFER_SIZE);
    bool served = false;
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= requestTimeoutMs)
            break;
        DWORD left = requestTimeoutMs - elapsed;
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, (const char*)&left, sizeof left);
        int n = recv(s, &request[0], REQUEST_BUFFER_SIZE, 0);
        if (n <= 0)
            break;
        CString path;
        int offset = 0;
        if (!requestedPath(&request[0], n, peerIp, &path, &offset))
            continue;
        DWORD attributes = GetFileAttributesW(longPathW(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;  // gone since it was offered
        // The kind of the path decides, not the command of the request.
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            sendFolderByTcp(s, lastPathComponent(path), path);
        else
            sendFileData(s, path, offset);
        served = true;
        break;
    }
    if (served)
        closeConnection(s, &request[0]);
    else
        closesocket(s);  // no data of ours can be lost
}

BOOL sendFileData(SOCKET s, CString path, int offset)
{
    CFile file;
    if (!file.OpenLong(longPathW(path).c_str(), SERVED_FILE_FLAGS))
        return FALSE;
    // The offset travels as 32 bits; read unsigned it reaches up to 4 GiB.
    if (file.Seek((LONGLONG)(unsigned int)offset, CFile::begin) == (ULONGLONG)-1)
        return FALSE;
    BlockSender sender(s);
    return sendToEnd(sender, file) && sender.flush();
}

BOOL sendFolderByTcp(SOCKET s, CString name, CString path)
{
    FolderStreamSender sender(s);
    return sender.send(name, path);
}
