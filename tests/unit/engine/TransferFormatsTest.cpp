// The three file-transfer texts: attachment entries, file requests and folder
// stream headers, read and written.

#include "classlib/CStringArray.h"
#include "core/IpMessageParser.h"
#include "engine/OfferDatagram.h"
#include "engine/TransferWriters.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

std::string str(const CString& text)
{
    return std::string((const char*)text, (size_t)text.GetLength());
}

struct AttachEntry {
    std::string fileId, name, size, mtime, attr;
};

AttachEntry readEntry(const std::string& text)
{
    CString fileId, name, size, mtime, attr;
    IpMessageParser().parseAttachEntry(CString(text.data(), (int)text.size()), &fileId, &name, &size, &mtime, &attr);
    return {str(fileId), str(name), str(size), str(mtime), str(attr)};
}

std::vector<std::string> split(const std::string& datagram)
{
    // An exact-size heap copy: nothing readable follows the bytes.
    std::vector<char> bytes(datagram.begin(), datagram.end());
    CStringArray entries;
    IpMessageParser().splitAttachments(bytes.empty() ? NULL : &bytes[0], (int)bytes.size(), &entries);
    std::vector<std::string> result;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        result.push_back(str(entries[i]));
    return result;
}

struct AttachEntryCase {
    const char* text;
    AttachEntry expected;
};

const AttachEntryCase attachEntryCases[] = {
    {"8:a.txt:4d2:0:1", {"8", "a.txt", "1234", "0", "1"}},
    {"3:b.doc:10:5f5e1000:1:14=5f5e1000:", {"3", "b.doc", "16", "5f5e1000", "1"}},
    {"9:a::b:1f40:0:2", {"9", "a::b", "8000", "0", "2"}},
    {"9:a:::1f40:0:2", {"9", "a::", "8000", "0", "2"}},
    {"9:::a:1:0:1", {"9", "::a", "1", "0", "1"}},
    {"5:big:ffffffff:0:1", {"5", "big", "-1", "0", "1"}},
    {"5:big:80000000:0:1", {"5", "big", "-2147483648", "0", "1"}},
    // A size of 4 GiB and more from another client: its low 32 bits.
    {"5:huge:100000005:0:1", {"5", "huge", "5", "0", "1"}},
    {"5:huge:fffffffff:0:1", {"5", "huge", "-1", "0", "1"}},
    {"5:x: \t0X1A:0:1", {"5", "x", "26", "0", "1"}},
    {"5:x:-1:0:1", {"5", "x", "-1", "0", "1"}},
    {"5:x:1Fg:0:1", {"5", "x", "31", "0", "1"}},
    {"5:x:zz:0:1", {"5", "x", "0", "0", "1"}},
    {"5:x::0:1", {"5", "x::0", "1", "", ""}},
    // Other clients separate entries by BEL and ':'.
    {":10001:\xb1\xa8\xb8\xe6.txt:d:6b19cb9a:1:", {"10001", "\xb1\xa8\xb8\xe6.txt", "13", "6b19cb9a", "1"}},
    {"7", {"7", "", "0", "", ""}},
    {"", {"", "", "0", "", ""}},
};

TEST(TransferFormats, AttachEntryFields)
{
    for (const AttachEntryCase& c : attachEntryCases) {
        SCOPED_TRACE(c.text);
        AttachEntry read = readEntry(c.text);
        EXPECT_EQ(c.expected.fileId, read.fileId);
        EXPECT_EQ(c.expected.name, read.name);
        EXPECT_EQ(c.expected.size, read.size);
        EXPECT_EQ(c.expected.mtime, read.mtime);
        EXPECT_EQ(c.expected.attr, read.attr);
    }
}

struct SplitCase {
    const char* name;
    std::string datagram;
    std::vector<std::string> entries;
};

TEST(TransferFormats, SplitAttachmentsCutsAfterTheFirstNulAtEveryBel)
{
    const SplitCase cases[] = {
        {"two entries", "text\0e1\ae2"s, {"e1", "e2"}},
        {"BEL at the very end", "text\0e1\ae2\a"s, {"e1", "e2"}},
        {"NUL after the last BEL", "text\0e1\ae2\a\0"s, {"e1", "e2", ""}},
        {"BEL inside the text", "te\axt\0e1"s, {"e1"}},
        {"no NUL", "text\ae1"s, {}},
        {"NUL as the last byte", "text\ae1\0"s, {}},
        {"empty entry between BELs", "t\0e1\a\ae3"s, {"e1", "", "e3"}},
        {"NUL inside an entry ends its text", "t\0e1\0junk\ae2"s, {"e1", "e2"}},
        {"one-byte entry at the end", "t\0e1\ax"s, {"e1", "x"}},
        {"nothing at all", ""s, {}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.entries, split(c.datagram));
    }
}

TEST(TransferFormats, SplitAttachmentsAppendsToWhatTheArrayHolds)
{
    CStringArray entries;
    entries.Add("kept");
    std::string datagram = "t\0e1"s;
    IpMessageParser().splitAttachments(datagram.data(), (int)datagram.size(), &entries);
    ASSERT_EQ(2, entries.GetSize());
    EXPECT_EQ("kept", str(entries[0]));
    EXPECT_EQ("e1", str(entries[1]));
}

TEST(TransferFormats, OfferOfAnotherClientWithColonsAfterEveryBel)
{
    const std::string datagram = "1_iptux 0.8.3:16:root:vm:2097184:\0"s
                                 "10000:hello.txt:11:6b19cb9a:1:"
                                 "\x07"
                                 ":10001:\xb1\xa8\xb8\xe6.txt:d:6b19cb9a:1:"
                                 "\x07"
                                 ":10002:dir1:d:6b19cb9a:2:"
                                 "\x07\0"s;

    std::vector<std::string> entries = split(datagram);
    ASSERT_EQ(4u, entries.size());
    EXPECT_EQ("", entries[3]);  // skipped by the offer's receiver

    const AttachEntry expected[] = {
        {"10000", "hello.txt", "17", "6b19cb9a", "1"},
        {"10001", "\xb1\xa8\xb8\xe6.txt", "13", "6b19cb9a", "1"},
        {"10002", "dir1", "13", "6b19cb9a", "2"},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(entries[i]);
        AttachEntry read = readEntry(entries[i]);
        EXPECT_EQ(expected[i].fileId, read.fileId);
        EXPECT_EQ(expected[i].name, read.name);
        EXPECT_EQ(expected[i].size, read.size);
        EXPECT_EQ(expected[i].mtime, read.mtime);
        EXPECT_EQ(expected[i].attr, read.attr);
    }
}

struct FileRequest {
    std::string version, packetNo, user, host, command, packetId, fileId, offset;
};

FileRequest readRequest(const std::string& bytes, int length)
{
    std::vector<char> data(bytes.begin(), bytes.end());
    CString version, packetNo, user, host, command, packetId, fileId, offset;
    IpMessageParser().parseFileRequest(data.empty() ? NULL : &data[0], length, &version, &packetNo, &user, &host,
                                       &command, &packetId, &fileId, &offset);
    return {str(version), str(packetNo), str(user), str(host), str(command), str(packetId), str(fileId), str(offset)};
}

TEST(TransferFormats, FileRequestFields)
{
    struct Case {
        const char* name;
        std::string bytes;
        int length;  // -1: all bytes
        FileRequest expected;
    };
    const Case cases[] = {
        {"file", "1:12:alice:PC1:96:1a:1b:0", -1, {"1", "12", "alice", "PC1", "96", "26", "27", "0"}},
        {"offset", "1:12:alice:PC1:96:1a:1b:1f4", -1, {"1", "12", "alice", "PC1", "96", "26", "27", "500"}},
        {"offset and ':'", "1:12:alice:PC1:96:1a:1b:1f4:", -1, {"1", "12", "alice", "PC1", "96", "26", "27", "500"}},
        {"folder", "1:3:u:h:98:7:8:0", -1, {"1", "3", "u", "h", "98", "7", "8", "0"}},
        {"pair in the packet number", "1:1::2:u:h:98:7:8:0", -1, {"1", "1::2", "u", "h", "98", "7", "8", "0"}},
        {"ids past 2^31",
         "1:3:u:h:96:80000000:ffffffff:fffffff0",
         -1,
         {"1", "3", "u", "h", "96", "-2147483648", "-1", "-16"}},
        {"offset wider than 32 bits", "1:3:u:h:96:7:8:1000001f4", -1, {"1", "3", "u", "h", "96", "7", "8", "500"}},
        {"text ends at a NUL",
         "1:12:alice:PC1:96:1a:1b:1f4\0:99"s,
         -1,
         {"1", "12", "alice", "PC1", "96", "26", "27", "500"}},
        {"only the given bytes",
         "1:12:alice:PC1:96:1a:1b:1f4",
         26,
         {"1", "12", "alice", "PC1", "96", "26", "27", "31"}},
        {"too few fields", "1:12:alice", -1, {"1", "12", "alice", "", "", "0", "0", "0"}},
        {"nothing", "", -1, {"", "", "", "", "", "0", "0", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileRequest read = readRequest(c.bytes, c.length < 0 ? (int)c.bytes.size() : c.length);
        EXPECT_EQ(c.expected.version, read.version);
        EXPECT_EQ(c.expected.packetNo, read.packetNo);
        EXPECT_EQ(c.expected.user, read.user);
        EXPECT_EQ(c.expected.host, read.host);
        EXPECT_EQ(c.expected.command, read.command);
        EXPECT_EQ(c.expected.packetId, read.packetId);
        EXPECT_EQ(c.expected.fileId, read.fileId);
        EXPECT_EQ(c.expected.offset, read.offset);
    }
}

struct DirHeader {
    std::string name, size, attr;
};

DirHeader readHeader(const std::string& header)
{
    std::vector<char> bytes(header.begin(), header.end());
    CString name, size, attr;
    IpMessageParser().parseDirHeader(bytes.empty() ? NULL : &bytes[0], (int)bytes.size(), &name, &size, &attr);
    return {str(name), str(size), str(attr)};
}

TEST(TransferFormats, FolderStreamHeadersWrittenAndReadBack)
{
    struct Case {
        const char* name;
        const char* sizeText;
        int attr;
        std::string written;
        DirHeader read;
    };
    const Case cases[] = {
        {"docs", "000000000", 2, "002E:docs:000000000:2:14=51e7647a:16=51e76478:", {"docs", "0", "2"}},
        {"a.txt", "0000004d2", 1, "002F:a.txt:0000004d2:1:14=51e7647a:16=51e76478:", {"a.txt", "1234", "1"}},
        {".", "000000000", 3, "002B:.:000000000:3:14=51e7647a:16=51e76478:", {".", "0", "3"}},
        {"big", "0ffffffff", 1, "002D:big:0ffffffff:1:14=51e7647a:16=51e76478:", {"big", "-1", "1"}},
        {"\xb1\xa8\xb8\xe6",
         "000000003",
         1,
         "002E:\xb1\xa8\xb8\xe6:000000003:1:14=51e7647a:16=51e76478:",
         {"\xb1\xa8\xb8\xe6", "3", "1"}},
        // A name from another platform keeps its ':' doubled, and the fields after it stay in place.
        {"a:b", "000000003", 1, "002E:a::b:000000003:1:14=51e7647a:16=51e76478:", {"a::b", "3", "1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string header = str(folderStreamHeader(c.name, c.sizeText, c.attr));
        EXPECT_EQ(c.written, header);
        EXPECT_EQ((size_t)strtoul(header.substr(0, 4).c_str(), NULL, 16), header.size());
        DirHeader read = readHeader(header);
        EXPECT_EQ(c.read.name, read.name);
        EXPECT_EQ(c.read.size, read.size);
        EXPECT_EQ(c.read.attr, read.attr);
    }
}

TEST(TransferFormats, IncompleteFolderStreamHeaders)
{
    DirHeader noColonAfterAttr = readHeader("0013:x:000000003:1");
    EXPECT_EQ("x", noColonAfterAttr.name);
    EXPECT_EQ("3", noColonAfterAttr.size);
    EXPECT_EQ("", noColonAfterAttr.attr);

    DirHeader endsAtNul = readHeader("002B:.:000000000:3:\0:9:"s);
    EXPECT_EQ("3", endsAtNul.attr);

    DirHeader nothing = readHeader("");
    EXPECT_EQ("", nothing.name);
    EXPECT_EQ("0", nothing.size);
    EXPECT_EQ("", nothing.attr);
}

TEST(TransferFormats, FolderStreamSizeIsNineHexDigits)
{
    EXPECT_EQ("0000004d2", str(folderStreamSize(1234)));
    EXPECT_EQ("000000000", str(folderStreamSize(0)));
    EXPECT_EQ("0ffffffff", str(folderStreamSize(0xFFFFFFFFu)));
}

TEST(TransferFormats, AttachEntriesKeepNamesWithColonsApartFromTheirFields)
{
    const char* names[] = {"a:b", ":a", "a:", "::", "\xb1\xa8:\xb8\xe6"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        std::string entry = str(attachEntry(42, name, 0x1f40, true));
        AttachEntry read = readEntry(entry);
        EXPECT_EQ("42", read.fileId);
        EXPECT_EQ(str(wireName(name)), read.name);
        EXPECT_EQ("8000", read.size);
        EXPECT_EQ("0", read.mtime);
        EXPECT_EQ("2", read.attr);
    }
    EXPECT_EQ("a::b", str(wireName("a:b")));
    EXPECT_EQ("8:a.txt:4d2:0:1", str(attachEntry(8, "a.txt", 1234, false)));
}

std::string bytesOf(const OfferDatagram& datagram)
{
    return std::string(datagram.data(), (size_t)datagram.length());
}

TEST(OfferDatagram, HeaderThenEntriesAfterNulAndBel)
{
    OfferDatagram datagram(7, "alice", "PC1", "hello");
    ASSERT_TRUE(datagram.addEntry(attachEntry(8, "a.txt", 1234, false)));
    EXPECT_EQ("1:7:alice:PC1:2097184:hello\0008:a.txt:4d2:0:1"s, bytesOf(datagram));
    EXPECT_EQ(43, datagram.length());

    ASSERT_TRUE(datagram.addEntry(attachEntry(9, "docs", 8000, true)));
    EXPECT_EQ("1:7:alice:PC1:2097184:hello\0008:a.txt:4d2:0:1\a9:docs:1f40:0:2"s, bytesOf(datagram));
    EXPECT_EQ(2, datagram.entryCount());
}

TEST(OfferDatagram, EntriesThatDoNotFitAreLeftOutWhole)
{
    OfferDatagram datagram(7, "alice", "PC1", "hello");
    std::string entry = std::string(100, 'n');
    int added = 0;
    while (datagram.addEntry(entry.c_str()))
        ++added;
    // 27 header bytes, then 101 bytes per entry: 20 fit in 2048, the 21st would not.
    EXPECT_EQ(20, added);
    EXPECT_EQ(27 + 20 * 101, datagram.length());
    EXPECT_EQ('n', datagram.data()[datagram.length() - 1]);

    EXPECT_TRUE(datagram.addEntry(std::string(2048 - 27 - 20 * 101 - 1, 'x').c_str()));
    EXPECT_EQ(2048, datagram.length());
    EXPECT_FALSE(datagram.addEntry(""));
    EXPECT_EQ(2048, datagram.length());
}

TEST(OfferDatagram, TooLongATextIsCutAtACharacterBoundary)
{
    std::string text;
    for (int i = 0; i < 1100; ++i)
        text += "\xb1\xa8";  // 2200 bytes of double-byte characters
    std::string oddHeader = "1:7:alice:PC12:2097184:";  // 23 bytes: a character would straddle byte 2048
    OfferDatagram datagram(7, "alice", "PC12", text.c_str());

    EXPECT_EQ(2047, datagram.length());
    EXPECT_EQ(oddHeader + text.substr(0, 2047 - oddHeader.size()), bytesOf(datagram));
    EXPECT_FALSE(datagram.addEntry("1:a:1:0:1"));
    EXPECT_EQ(2047, datagram.length());
}

}  // namespace
