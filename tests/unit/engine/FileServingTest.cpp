// Serving over a loopback connection: what the stream holds when files are
// locked, huge or change size under the server.

#include "TransferScratch.h"
#include "classlib/CFile.h"
#include "classlib/Thread.h"
#include "core/Globals.h"
#include "engine/FileBlocks.h"
#include "engine/FileServing.h"
#include "engine/MessageReceiverThread.h"
#include "engine/TransferWriters.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

using namespace std::string_literals;

std::string header(const char* name, const char* size, int attr)
{
    CString text = folderStreamHeader(name, size, attr);
    return std::string((const char*)text, (size_t)text.GetLength());
}

// Serves one connection on its own thread, as the accept thread does, with
// the item at path under a key of its own; returns what the peer receives
// for request made with that key.
std::string served(const std::string& path, const char* requestFormat, bool* closed)
{
    static int packetNo = 900000;
    ++packetNo;
    CString key;
    key.Format("%d-1", packetNo);
    {
        SharedStateLock lock;
        shareIdMap.SetAt(key, path.c_str());
    }
    TcpPair pair = connectedTcpPair();
    if (pair.client == INVALID_SOCKET || pair.server == INVALID_SOCKET)
        return "<no connection>";
    TcpConnectionInfo* info = new TcpConnectionInfo;
    info->socket = pair.server;
    AfxBeginThread(MessageReceiverThread::serveTcpConnection, info);

    CString request;
    request.Format(requestFormat, packetNo);
    send(pair.client, request, request.GetLength(), 0);
    std::string received = receiveUntilClosed(pair.client, closed);
    closesocket(pair.client);
    return received;
}

TEST(FileServing, FolderStreamSubFoldersFirstThenFiles)
{
    TransferScratch scratch;
    std::string top = scratch.folder("top");
    scratch.file("top\\x.txt", "abc");
    scratch.folder("top\\sub");
    scratch.file("top\\sub\\e", "");

    bool closed = false;
    std::string stream = served(top, "1:5:u:h:98:%x:1:0", &closed);

    EXPECT_TRUE(closed);
    EXPECT_EQ(header("top", "000000000", 2) + header("sub", "000000000", 2) + header("e", "000000000", 1) +
                  header(".", "000000000", 3) + header("x.txt", "000000003", 1) + "abc" + header(".", "000000000", 3),
              stream);
}

// Holds a file open without sharing, as a program that locks it does.
class LockedFile {
public:
    explicit LockedFile(const std::string& path)
        : m_handle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL))
    {
    }
    ~LockedFile() { CloseHandle(m_handle); }
    bool held() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

TEST(FileServing, ALockedFileIsLeftOutOfItsFolderStream)
{
    TransferScratch scratch;
    std::string top = scratch.folder("top");
    LockedFile locked(scratch.file("top\\locked.txt", "secret"));
    ASSERT_TRUE(locked.held());
    scratch.file("top\\open.txt", "b");

    bool closed = false;
    std::string stream = served(top, "1:5:u:h:98:%x:1:0", &closed);

    EXPECT_TRUE(closed);
    EXPECT_EQ(header("top", "000000000", 2) + header("open.txt", "000000001", 1) + "b" + header(".", "000000000", 3),
              stream);
}

TEST(FileServing, ALockedFileAskedForAloneEndsTheConnectionWithoutData)
{
    TransferScratch scratch;
    std::string path = scratch.file("locked.txt", "secret");
    LockedFile locked(path);
    ASSERT_TRUE(locked.held());

    bool closed = false;
    std::string data = served(path, "1:5:u:h:96:%x:1:0", &closed);

    EXPECT_TRUE(closed);
    EXPECT_EQ("", data);
}

// A sparse file of 4 GiB and ten bytes, the ten bytes being "0123456789".
std::string hugeFile(const TransferScratch& scratch, const std::string& relative)
{
    std::string path = scratch.file(relative, "");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    LARGE_INTEGER end;
    end.QuadPart = 0x100000000LL;
    SetFilePointerEx(file, end, NULL, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(file, "0123456789", 10, &written, NULL);
    CloseHandle(file);
    return path;
}

TEST(FileServing, FilesOf4GiBAndMoreAreServedWholeAloneAndLeftOutOfFolderStreams)
{
    TransferScratch scratch;
    std::string top = scratch.folder("top");
    std::string huge = hugeFile(scratch, "top\\huge");
    scratch.file("top\\small", "xyz");

    // The offset field carries 32 bits, read unsigned: fffffff0 is 16 bytes before 4 GiB.
    bool closed = false;
    EXPECT_EQ(std::string(16, '\0') + "0123456789", served(huge, "1:5:u:h:96:%x:1:fffffff0", &closed));
    EXPECT_TRUE(closed);

    std::string stream = served(top, "1:5:u:h:98:%x:1:0", &closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(header("top", "000000000", 2) + header("small", "000000003", 1) + "xyz" + header(".", "000000000", 3),
              stream);
}

// What sendExactly puts on a connection for count bytes of a file.
std::string sentExactly(const std::string& path, ULONGLONG count)
{
    TcpPair pair = connectedTcpPair();
    if (pair.client == INVALID_SOCKET || pair.server == INVALID_SOCKET)
        return "<no connection>";
    std::string received;
    std::thread reader([&] { received = receiveUntilClosed(pair.client); });
    CFile file;
    BlockSender sender(pair.server);
    if (file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone) && sendExactly(sender, file, count))
        sender.flush();
    closesocket(pair.server);
    reader.join();
    closesocket(pair.client);
    return received;
}

TEST(FileServing, AFileSendsExactlyItsAnnouncedSizeWhateverItsSizeNow)
{
    TransferScratch scratch;
    std::string path = scratch.file("ten", "0123456789");

    EXPECT_EQ("0123456789", sentExactly(path, 10));
    // Grew after its header went out: cut at the announced size.
    EXPECT_EQ("0123", sentExactly(path, 4));
    // Shrank: made up with zeros, over several blocks and several sends.
    EXPECT_EQ("0123456789" + std::string(70000 - 10, '\0'), sentExactly(path, 70000));
    EXPECT_EQ("0123456789" + std::string(600000 - 10, '\0'), sentExactly(path, 600000));
    EXPECT_EQ("", sentExactly(path, 0));
}

}  // namespace
