// The file offer: the datagram every addressee gets and the items it makes
// servable.

#include "LoopbackWire.h"
#include "TransferScratch.h"
#include "classlib/CStringArray.h"
#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/IpMessageParser.h"
#include "engine/OutgoingFileOffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::string sharedPath(int packetNo, int fileId)
{
    CString key;
    key.Format("%d-%d", packetNo, fileId);
    CString path;
    SharedStateLock lock;
    if (!shareIdMap.Lookup(key, path))
        return "<none>";
    return (const char*)path;
}

std::string header(int packetNo, const char* text)
{
    return "1:" + std::to_string(packetNo) + ":" + (const char*)CUtils::getLoginUserName() + ":" +
        (const char*)CUtils::getHostName() + ":2097184:" + text;
}

std::vector<std::string> offer(const char* ipList, const char* text, const std::vector<std::string>& paths)
{
    CStringArray items;
    for (const std::string& path : paths)
        items.Add(path.c_str());
    return datagramsSentDuring([&] { sendFileAttachMessage(ipList, text, &items); });
}

TEST(SendFileAttachMessage, SameOfferToEveryAddressWithEveryItemRecorded)
{
    TransferScratch scratch;
    std::string file = scratch.file("a.txt", std::string(1234, 'a'));
    std::string folder = scratch.folder("docs");
    scratch.file("docs\\x", std::string(5000, 'x'));
    scratch.folder("docs\\sub");
    scratch.file("docs\\sub\\y", std::string(3000, 'y'));

    std::vector<std::string> sent = offer("127.0.0.1, , 127.0.0.1", "hello", {file, folder});

    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(sent[0], sent[1]);
    int packetNo = atoi(splitDatagram(sent[0]).packetNo.c_str());
    std::string expected = header(packetNo, "hello") + "\0"s + std::to_string(packetNo + 1) + ":a.txt:4d2:0:1\a" +
        std::to_string(packetNo + 2) + ":docs:1f40:0:2";
    EXPECT_EQ(expected, sent[0]);
    EXPECT_EQ(file, sharedPath(packetNo, packetNo + 1));
    EXPECT_EQ(folder, sharedPath(packetNo, packetNo + 2));
}

TEST(SendFileAttachMessage, PathsThatAreGoneAreLeftOut)
{
    TransferScratch scratch;
    std::string first = scratch.file("first", "1");
    std::string gone = scratch.path("gone");
    std::string last = scratch.file("last", "22");

    std::vector<std::string> sent = offer("127.0.0.1", "", {first, gone, last});

    ASSERT_EQ(1u, sent.size());
    int packetNo = atoi(splitDatagram(sent[0]).packetNo.c_str());
    std::string expected = header(packetNo, "") + "\0"s + std::to_string(packetNo + 1) + ":first:1:0:1\a" +
        std::to_string(packetNo + 2) + ":last:2:0:1";
    EXPECT_EQ(expected, sent[0]);
    EXPECT_EQ(last, sharedPath(packetNo, packetNo + 2));
}

TEST(SendFileAttachMessage, AnOfferTooLongForOneDatagramKeepsTheItemsThatFitWhole)
{
    TransferScratch scratch;
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i)
        paths.push_back(scratch.file(std::string(60, 'a' + i % 26) + std::to_string(i), "z"));

    std::vector<std::string> sent = offer("127.0.0.1", "hello", paths);

    ASSERT_EQ(1u, sent.size());
    ASSERT_LE(sent[0].size(), 2048u);
    int packetNo = atoi(splitDatagram(sent[0]).packetNo.c_str());
    CStringArray entries;
    IpMessageParser parser;
    parser.splitAttachments(sent[0].data(), (int)sent[0].size(), &entries);
    ASSERT_GT(entries.GetSize(), 10);
    ASSERT_LT(entries.GetSize(), 40);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        CString fileId, name, size, mtime, attr;
        parser.parseAttachEntry(entries[i], &fileId, &name, &size, &mtime, &attr);
        EXPECT_EQ(std::to_string(packetNo + 1 + i), (const char*)fileId);
        EXPECT_EQ(paths[i], sharedPath(packetNo, packetNo + 1 + (int)i));
        EXPECT_EQ("1", std::string(attr));
    }
    // The first item that did not fit, and everything after it, was not recorded.
    EXPECT_EQ("<none>", sharedPath(packetNo, packetNo + 1 + (int)entries.GetSize()));
}

}  // namespace
