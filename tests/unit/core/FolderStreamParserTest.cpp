// The folder-stream parser of the download side, fed from a table of streams
// cut into blocks in every way that matters.

#include "core/FolderStreamParser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// What the parser made of a stream.
struct Outcome {
    std::vector<std::string> folders;
    std::map<std::string, std::string> files;  // path -> content
    std::vector<std::string> unknownTypes;
    bool whole = false;
    bool broken = false;
    bool wroteWhileClosed = false;
    bool leftTheTop = false;  // a leave with no folder entered

    bool operator==(const Outcome& other) const
    {
        return folders == other.folders && files == other.files && unknownTypes == other.unknownTypes &&
            whole == other.whole && broken == other.broken && wroteWhileClosed == other.wroteWhileClosed &&
            leftTheTop == other.leftTheTop;
    }
};

// Names places by their paths below the chosen folder, levels joined by '\'.
class RecordingSink : public FolderStreamParser::Sink {
public:
    // refusedPath cannot be created; writes to fullPath fail (a full disk).
    explicit RecordingSink(Outcome& outcome, const std::string& refusedPath = "", const std::string& fullPath = "")
        : m_outcome(outcome),
          m_refused(refusedPath),
          m_full(fullPath)
    {
    }
    bool enterFolder(const CString& name) override
    {
        m_levels.push_back(pathOf(name));
        m_outcome.folders.push_back(m_levels.back());
        return true;
    }
    void leaveFolder() override
    {
        if (m_levels.empty())
            m_outcome.leftTheTop = true;
        else
            m_levels.pop_back();
    }
    bool createFile(const CString& name) override
    {
        std::string path = pathOf(name);
        if (path == m_refused)
            return false;
        m_open = path;
        m_outcome.files[m_open] = "";
        m_isOpen = true;
        return true;
    }
    bool write(const char* data, int length) override
    {
        if (!m_isOpen) {
            m_outcome.wroteWhileClosed = true;
            return false;
        }
        if (m_open == m_full)
            return false;
        m_outcome.files[m_open].append(data, (size_t)length);
        return true;
    }
    void closeFile() override { m_isOpen = false; }
    void unknownType(const CString& attr) override { m_outcome.unknownTypes.push_back((const char*)attr); }

private:
    std::string pathOf(const CString& name) const
    {
        return m_levels.empty() ? std::string((const char*)name) : m_levels.back() + "\\" + (const char*)name;
    }

    Outcome& m_outcome;
    std::vector<std::string> m_levels;
    std::string m_refused;
    std::string m_full;
    std::string m_open;
    bool m_isOpen = false;
};

// A header as any peer may write it: the four-digit length of the whole
// header, then name, size and attr texts as given.
std::string header(const std::string& name, const std::string& size, const std::string& attr)
{
    std::string body = name + ":" + size + ":" + attr + ":14=51e7647a:16=51e76478:";
    char length[16];
    std::snprintf(length, sizeof length, "%04X:", (unsigned)(body.size() + 5));
    return length + body;
}

std::string folder(const std::string& name)
{
    return header(name, "000000000", "2");
}
std::string up()
{
    return header(".", "000000000", "3");
}
std::string file(const std::string& name, const std::string& content)
{
    char size[16];
    std::snprintf(size, sizeof size, "%09x", (unsigned)content.size());
    return header(name, size, "1") + content;
}

// Room enough for any test stream, as below a short chosen folder.
const int AMPLE_ROOM = 32000;

Outcome parse(const std::string& stream, const std::vector<size_t>& cuts, const std::string& refused = "",
              const std::string& full = "", const char* offered = "d", int room = AMPLE_ROOM)
{
    Outcome outcome;
    RecordingSink sink(outcome, refused, full);
    FolderStreamParser parser(sink, offered, room);
    size_t from = 0;
    std::vector<size_t> ends = cuts;
    ends.push_back(stream.size());
    for (size_t end : ends) {
        if (end > from)
            parser.feed(stream.data() + from, (int)(end - from));
        from = end > from ? end : from;
    }
    outcome.broken = parser.broken();
    outcome.whole = parser.finish();
    return outcome;
}

struct StreamCase {
    const char* what;
    std::string stream;
    Outcome expected;
    const char* offered = "d";  // the folder the user accepted
};

Outcome expect(std::vector<std::string> folders, std::map<std::string, std::string> files, bool whole,
               bool broken = false, std::vector<std::string> unknown = {})
{
    Outcome outcome;
    outcome.folders = folders;
    outcome.files = files;
    outcome.whole = whole;
    outcome.broken = broken;
    outcome.unknownTypes = unknown;
    return outcome;
}

const std::string BIG_CONTENT(70000, 'x');

std::vector<StreamCase> streamCases()
{
    return {
        {"one folder with two files", folder("docs") + file("a.txt", "hello") + file("b.bin", "\0\1\2"s) + up(),
         expect({"docs"}, {{"docs\\a.txt", "hello"}, {"docs\\b.bin", "\0\1\2"s}}, true), "docs"},
        {"empty files do not disturb the next header",
         folder("d") + file("e1", "") + file("e2", "") + file("f", "data") + up(),
         expect({"d"}, {{"d\\e1", ""}, {"d\\e2", ""}, {"d\\f", "data"}}, true)},
        {"nested folders: each file in its own folder",
         folder("top") + folder("sub") + folder("deep") + file("x", "1") + up() + file("y", "22") + up() +
             file("z", "333") + up(),
         expect({"top", "top\\sub", "top\\sub\\deep"},
                {{"top\\sub\\deep\\x", "1"}, {"top\\sub\\y", "22"}, {"top\\z", "333"}}, true),
         "top"},
        {"a file larger than a block", folder("d") + file("big", BIG_CONTENT) + up(),
         expect({"d"}, {{"d\\big", BIG_CONTENT}}, true)},
        {"attribute 9001 is a file", folder("d") + header("n", "000000002", "9001") + "ok" + up(),
         expect({"d"}, {{"d\\n", "ok"}}, true)},
        {"attribute with option bits above the low byte is still a folder",
         header("d", "000000000", "258") + file("f", "1") + up(), expect({"d"}, {{"d\\f", "1"}}, true)},
        {"attribute 4 is told once and ends the stream",
         folder("d") + header("what", "000000000", "4") + file("later", "x") + header("x", "0", "4") + up(),
         expect({"d"}, {}, false, true, {"4"})},
        {"return-to-parent before the offered folder ends the stream", up() + folder("d") + file("f", "1") + up(),
         expect({}, {}, false, true)},
        {"size from 2^31 on is read unsigned", folder("d") + header("neg", "080000000", "1") + "abc",
         expect({"d"}, {{"d\\neg", "abc"}}, false)},
        {"peer closes inside a file: partial file, not whole", folder("d") + file("f", "0123456789").substr(0, 49),
         expect({"d"}, {{"d\\f", "012345"}}, false)},
        {"peer closes inside a header", folder("d") + file("f", "1") + up().substr(0, 10),
         expect({"d"}, {{"d\\f", "1"}}, false)},
        {"a stream that ends without its last return-to-parent is still whole", folder("d") + file("f", "1"),
         expect({"d"}, {{"d\\f", "1"}}, true)},
        // Everything goes under the offered folder's name, whatever the stream calls it.
        {"the first folder is written under the offered name",
         folder("Startup") + folder("sub") + file("evil.bat", "x") + up() + up(),
         expect({"photos", "photos\\sub"}, {{"photos\\sub\\evil.bat", "x"}}, true), "photos"},
        {"a file before the offered folder ends the stream", file("evil.bat", "x") + folder("d") + up(),
         expect({}, {}, false, true)},
        {"headers that climb back and write beside the offered folder",
         folder("photos") + folder("AppData") + folder("Roaming") + file("evil.bat", "x") + up() + up() + up() +
             file("notes.docx", "overwritten") + up(),
         expect({"photos", "photos\\AppData", "photos\\AppData\\Roaming"},
                {{"photos\\AppData\\Roaming\\evil.bat", "x"}}, false, true),
         "photos"},
        {"a second folder at the top ends the stream", folder("d") + up() + folder("e") + file("f", "1") + up(),
         expect({"d"}, {}, false, true)},
        {"a return past the offered folder ends the stream", folder("d") + file("f", "1") + up() + up(),
         expect({"d"}, {{"d\\f", "1"}}, false, true)},
        {"an offered name that would leave the chosen folder", folder("d") + file("f", "1") + up(),
         expect({}, {}, false, true), ".."},
    };
}

// Every place a single cut can fall, plus every byte on its own.
TEST(FolderStreamParser, readsEveryStreamTheSameWhereverTheBlocksAreCut)
{
    for (const StreamCase& c : streamCases()) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(parse(c.stream, {}, "", "", c.offered), c.expected);
        size_t step = c.stream.size() > 2000 ? 997 : 1;
        for (size_t cut = 1; cut < c.stream.size(); cut += step) {
            SCOPED_TRACE(cut);
            ASSERT_EQ(parse(c.stream, {cut}, "", "", c.offered), c.expected);
        }
        if (c.stream.size() < 2000) {
            std::vector<size_t> everyByte;
            for (size_t cut = 1; cut < c.stream.size(); ++cut)
                everyByte.push_back(cut);
            EXPECT_EQ(parse(c.stream, everyByte, "", "", c.offered), c.expected);
        }
    }
}

TEST(FolderStreamParser, headerCutInsideItsLengthFieldAndBlockHoldingEndHeaderAndStart)
{
    std::string first = file("a", "AAAA");
    std::string second = file("b", "BBBB");
    std::string stream = folder("d") + first + second + up();
    size_t aData = folder("d").size() + first.size() - 4;
    // Cut two bytes into the length field of "a"'s header; then one block
    // from the middle of a's content to the middle of b's.
    size_t lengthCut = folder("d").size() + 2;
    size_t bMiddle = folder("d").size() + first.size() + second.size() - 2;
    Outcome outcome = parse(stream, {lengthCut, aData + 2, bMiddle});
    EXPECT_EQ(outcome, expect({"d"}, {{"d\\a", "AAAA"}, {"d\\b", "BBBB"}}, true));
}

TEST(FolderStreamParser, dropsTheLeadingZeroAngleBytesOfTheFirstBlockOnly)
{
    std::string stream = folder("d") + file("f", "1") + up();
    EXPECT_EQ(parse("0<x\0\0\0"s + stream, {}), expect({"d"}, {{"d\\f", "1"}}, true));
    // In a later block those bytes are not a prefix: the header is broken.
    Outcome later = parse(stream + "0<x\0\0\0"s + file("g", "2"), {stream.size()});
    EXPECT_TRUE(later.broken);
    EXPECT_FALSE(later.whole);
    // A first block of three bytes or less is read as it is.
    EXPECT_TRUE(parse("0<x"s + stream, {3}).broken);
}

TEST(FolderStreamParser, fileThatCannotBeCreatedOrWrittenIsSkippedByItsSizeAndTheNextIsRead)
{
    std::string stream = folder("d") + file("locked", "secret") + file("next", "fine") + up();
    for (size_t cut = 1; cut < stream.size(); ++cut) {
        Outcome refused = parse(stream, {cut}, "d\\locked");
        EXPECT_FALSE(refused.wroteWhileClosed);
        EXPECT_EQ(refused.files, (std::map<std::string, std::string>{{"d\\next", "fine"}}));
        EXPECT_FALSE(refused.whole);
        EXPECT_FALSE(refused.broken);

        Outcome full = parse(stream, {cut}, "", "d\\locked");
        EXPECT_FALSE(full.wroteWhileClosed);
        EXPECT_EQ(full.files, (std::map<std::string, std::string>{{"d\\locked", ""}, {"d\\next", "fine"}}));
        EXPECT_FALSE(full.whole);
        EXPECT_FALSE(full.broken);
    }
}

struct HostileCase {
    const char* what;
    std::string entry;
};

// Each entry follows a good file in a good folder; nothing of it, or after
// it, reaches the sink.
std::vector<HostileCase> hostileCases()
{
    return {
        {"name ..", folder("..")},
        {"name .", folder(".")},
        {"file named ..", file("..", "x")},
        {"backslash in a name", file("a\\b", "x")},
        {"slash in a name", folder("a/b")},
        {"absolute path", file("\\Windows\\x", "x")},
        {"drive path (doubled ':' kept in the name)", file("C::\\x", "x")},
        {"device name", file("CON", "x")},
        {"device name with extension", file("com1.txt", "x")},
        {"device name in lower case", folder("lpt9")},
        {"trailing dot", file("a.", "x")},
        {"trailing blank", folder("a ")},
        {"empty name", file("", "x")},
        {"control character", file("a\tb", "x")},
        {"wildcard", file("a*", "x")},
        {"lead byte before a slash", folder("\x81/x")},
        {"lead byte before a control character", file("a\x81\x01", "x")},
        {"lead byte at the end of a name", file("a\x81", "x")},
        {"length over the header buffer", "0801:" + std::string(0x801, 'y')},
        {"length FFFF", "FFFF:name:000000000:2:"},
        {"length not hexadecimal", "00G0:a:000000001:1:14=51e7647a:16=51e76478:x"},
        {"length empty", ":a:000000001:1:14=51e7647a:16=51e76478:x"},
        {"length shorter than its own field", "0004:a:000000001:1:14=51e7647a:16=51e76478:x"},
        {"length equal to its own field", "0005:a:000000001:1:14=51e7647a:16=51e76478:x"},
        {"length zero", "0000:a:000000001:1:"},
        {"no ':' after the length", "002Fa.txt000000001114=51e7647a16=51e76478" + std::string(3000, '0')},
        {"negative length", "-02F:a:000000001:1:14=51e7647a:16=51e76478:x"},
    };
}

TEST(FolderStreamParser, hostileNamesAndHeadersEndTheStreamWithNothingWritten)
{
    std::string before = folder("d") + file("good", "g");
    Outcome expected = expect({"d"}, {{"d\\good", "g"}}, false, true);
    for (const HostileCase& c : hostileCases()) {
        SCOPED_TRACE(c.what);
        std::string stream = before + c.entry + file("after", "a") + up();
        EXPECT_EQ(parse(stream, {}), expected);
        for (size_t cut = before.size(); cut < before.size() + c.entry.size() + 1; ++cut)
            ASSERT_EQ(parse(stream, {cut}), expected) << cut;
    }
}

TEST(FolderStreamParser, doubleByteNameWhoseTrailByteLooksLikeABackslashIsKept)
{
    // GBK 0x95 0x5C is one character.
    std::string name = "\x95\x5C"s + ".txt";
    EXPECT_EQ(parse(folder("d") + file(name, "z") + up(), {}), expect({"d"}, {{"d\\" + name, "z"}}, true));
}

// The room is counted in UTF-16 units, one per character: "\\d\\sub\\f.txt"
// is 12 units, and a double-byte character is one unit.
TEST(FolderStreamParser, aPathLongerThanItsRoomEndsTheStream)
{
    std::string stream = folder("d") + folder("sub") + file("f.txt", "1") + up() + up();
    EXPECT_EQ(parse(stream, {}, "", "", "d", 12), expect({"d", "d\\sub"}, {{"d\\sub\\f.txt", "1"}}, true));
    EXPECT_EQ(parse(stream, {}, "", "", "d", 11), expect({"d", "d\\sub"}, {}, false, true));
    EXPECT_EQ(parse(stream, {}, "", "", "d", 5), expect({"d"}, {}, false, true));
    EXPECT_EQ(parse(stream, {}, "", "", "d", 1), expect({}, {}, false, true));

    std::string report = "\xb1\xa8\xb8\xe6";  // two characters
    std::string wide = folder("d") + folder(report) + up() + up();
    EXPECT_EQ(parse(wide, {}, "", "", "d", 5), expect({"d", "d\\" + report}, {}, true));
    EXPECT_EQ(parse(wide, {}, "", "", "d", 4), expect({"d"}, {}, false, true));
}

// Counts levels only: a sink that kept paths would itself cost the square of the depth.
class DepthSink : public FolderStreamParser::Sink {
public:
    bool enterFolder(const CString&) override
    {
        ++depth;
        deepest = depth > deepest ? depth : deepest;
        return true;
    }
    void leaveFolder() override { --depth; }
    bool createFile(const CString&) override { return ++files > 0; }
    bool write(const char*, int) override { return true; }
    void closeFile() override {}
    void unknownType(const CString&) override {}

    int depth = 0;
    int deepest = 0;
    int files = 0;
};

// A tree 15,000 levels deep reads to its end when its deepest path just fits
// the room; levels of 2 KB names stop where a Windows path (32,767 units with
// the "\\?\\" prefix) would be too long.
TEST(FolderStreamParser, aDeepTreeIsReadLevelByLevelUpToTheRoom)
{
    const int LEVELS = 15000;
    std::string stream = folder("d");
    for (int i = 0; i < LEVELS; ++i)
        stream += folder("n");
    stream += file("f", "x");
    for (int i = 0; i <= LEVELS; ++i)
        stream += up();
    DepthSink deep;
    FolderStreamParser whole(deep, "d", 2 + LEVELS * 2 + 2);
    whole.feed(stream.data(), (int)stream.size());
    EXPECT_TRUE(whole.finish());
    EXPECT_EQ(deep.deepest, LEVELS + 1);
    EXPECT_EQ(deep.depth, 0);
    EXPECT_EQ(deep.files, 1);

    std::string longName(2000, 'n');
    std::string tall = folder("d");
    for (int i = 0; i < 20; ++i)
        tall += folder(longName);
    DepthSink cut;
    FolderStreamParser parser(cut, "d", 32767 - 10);  // below "\\?\\C:\\recv"
    parser.feed(tall.data(), (int)tall.size());
    EXPECT_TRUE(parser.broken());
    EXPECT_EQ(cut.deepest, 1 + (32767 - 10 - 2) / 2001);
}

}  // namespace
