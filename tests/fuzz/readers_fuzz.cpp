// Feeds every reader of received bytes with what a peer could send, built
// natively under AddressSanitizer and UndefinedBehaviorSanitizer, and checks
// cheap properties of what the readers give back.
//
// Each input goes to the readers in a heap buffer of exactly its length, so
// a read of one byte past the end is caught. parse() takes a C string, as its
// callers hand it one: it gets a NUL-terminated copy.
//
// Inputs are edits of real datagrams (entries, chat texts, file offers, file
// requests, folder-stream headers, share commands) and random bytes, 0 to
// 4096 bytes long; the regression cases run first.
//   readers_fuzz [RUNS]           RUNS inputs (default 200000) made from a
//                                 fixed seed: the same inputs every run
//   readers_fuzz --replay FILE... the readers on the bytes of each file
// Built with -DZQ_LIBFUZZER and -fsanitize=fuzzer, libFuzzer drives the
// readers instead, half of its mutations being the edits made here.
//
// Source text is ASCII only (GBK bytes are written as escapes): clang cannot
// compile literals to code page 936.

#include "classlib/CString.h"
#include "classlib/CStringArray.h"
#include "classlib/CStringList.h"
#include "classlib/Mbcs.h"
#include "classlib/Utf8.h"
#include "core/CUtils.h"
#include "core/IpMessage.h"
#include "core/IpMessageParser.h"
#include "core/FolderStreamParser.h"
#include "engine/MessageDispatcher.h"
#include "core/SafeNames.h"
#include "core/ShareListReply.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#ifndef ZQ_LIBFUZZER
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

// ---------------------------------------------------------------------------
// Checking what the readers give back

const int MAX_FIELD_LENGTH = 1023;  // parseRawPacket's bound on every field
const int MAX_INPUT_LENGTH = 4096;

// The input being read, written out when a check or a sanitizer stops the run.
const std::string* currentInput = NULL;
const char* const CRASH_FILE = "readers_fuzz-crash.bin";

void saveCurrentInput()
{
    if (currentInput == NULL)
        return;
    std::ofstream out(CRASH_FILE, std::ios::binary);
    out.write(currentInput->data(), (std::streamsize)currentInput->size());
    std::fprintf(stderr, "readers_fuzz: the input (%zu bytes) is in %s\n", currentInput->size(), CRASH_FILE);
}

[[noreturn]] void fail(const char* reader, const char* check, int line)
{
    std::fprintf(stderr, "readers_fuzz: %s: check failed at line %d: %s\n", reader, line, check);
    saveCurrentInput();
    std::abort();
}

#define CHECK(reader, condition)                                                                                       \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fail(reader, #condition, __LINE__);                                                                        \
    } while (0)

// The bytes one reader was given.
struct Bytes {
    const char* data;
    int length;
};

bool holdsByte(const CString& text, char byte)
{
    return std::memchr((const char*)text, byte, (size_t)text.GetLength()) != NULL;
}

// Output is made of input: every text a reader returns is a run of bytes
// found in what it read.
bool comesFrom(const CString& text, Bytes input)
{
    return text.IsEmpty() ||
        memmem(input.data, (size_t)input.length, (const char*)text, (size_t)text.GetLength()) != NULL;
}

// ch as a character of its own (not the trail byte of a double-byte pair):
// texts cut at whole characters may keep such trail bytes.
bool holdsCharacter(const CString& text, char ch)
{
    for (int i = 0; i < text.GetLength(); i += mbcsCharLength(text, i, text.GetLength())) {
        if (text[i] == ch && mbcsCharLength(text, i, text.GetLength()) == 1)
            return true;
    }
    return false;
}

// A plain field: in the input, no NUL, no ':'.
bool isPlainField(const CString& field, Bytes input)
{
    return comesFrom(field, input) && !holdsByte(field, '\0') && !holdsByte(field, ':');
}

// A name field keeps doubled ':' only: every run of ':' inside it is even.
bool isNameField(const CString& name, Bytes input)
{
    if (!comesFrom(name, input) || holdsByte(name, '\0'))
        return false;
    int run = 0;
    for (int i = 0; i <= name.GetLength(); ++i) {
        if (i < name.GetLength() && name[i] == ':') {
            ++run;
        } else {
            if (run % 2 != 0)
                return false;
            run = 0;
        }
    }
    return true;
}

// The "%d" text of a 32-bit value.
bool isDecimalInt(const CString& text)
{
    const char* p = text;
    if (*p == '-')
        ++p;
    size_t digits = std::strspn(p, "0123456789");
    return digits >= 1 && digits <= 10 && p[digits] == '\0' && (digits == 1 || *p != '0');
}

// Counters showing that the made-up inputs reach the readers' deep paths.
struct Reach {
    long inputs = 0, headers = 0, entries = 0, requests = 0, dirHeaders = 0, shareValues = 0, shareEntries = 0,
         streamFiles = 0;
};
Reach reach;

// A name of an entry marked UTF-8 is the conversion of one well-formed
// piece of the input (cut at NUL and ':') rather than a run of its bytes.
bool isConvertedPiece(const CString& field, Bytes input)
{
    for (int start = 0; start <= input.length;) {
        int end = start;
        while (end < input.length && input.data[end] != '\0' && input.data[end] != ':')
            ++end;
        const char* piece = input.data + start;
        int length = end - start < MAX_FIELD_LENGTH ? end - start : MAX_FIELD_LENGTH;
        if (isWellFormedUtf8(piece, length) && utf8ToAnsi(piece, length) == field)
            return true;
        start = end + 1;
    }
    return false;
}

void checkRawPacket(Bytes input)
{
    const int modes[] = {IpMessageParser::READ_CHAT_TEXT, IpMessageParser::READ_ENTRY,
                         IpMessageParser::READ_ANSWER_OR_OFFER};
    for (int mode : modes) {
        IpMessage packet;
        IpMessageParser().parseRawPacket(input.data, input.length, mode, &packet);
        const CString* headerFields[] = {&packet.version, &packet.packetNo, &packet.user, &packet.host};
        for (const CString* field : headerFields) {
            CHECK("parseRawPacket", field->GetLength() <= MAX_FIELD_LENGTH);
            CHECK("parseRawPacket", isPlainField(*field, input));
        }
        const CString* tailFields[] = {&packet.extra, &packet.group};
        for (const CString* field : tailFields) {
            CHECK("parseRawPacket", field->GetLength() <= MAX_FIELD_LENGTH);
            CHECK("parseRawPacket",
                  (comesFrom(*field, input) || isConvertedPiece(*field, input)) && !holdsByte(*field, '\0'));
            if (mode != IpMessageParser::READ_CHAT_TEXT)
                CHECK("parseRawPacket", !holdsCharacter(*field, ':'));
        }
        if (mode == IpMessageParser::READ_CHAT_TEXT)
            CHECK("parseRawPacket", packet.group.IsEmpty());
        if (mode == IpMessageParser::READ_CHAT_TEXT && !packet.host.IsEmpty())
            ++reach.headers;
    }
}

// Five ':' bytes: both readers end every header field at each of them,
// whatever byte comes before it.
bool hasFiveSeparators(Bytes input)
{
    int separators = 0;
    for (int i = 0; i < input.length; ++i) {
        if (input.data[i] == ':')
            ++separators;
    }
    return separators >= 5;
}

// parse() and parseRawPacket() read the same header from a short text
// without NUL.
void checkParse(Bytes input, const std::string& cText)
{
    std::unique_ptr<IpMessage> message(IpMessageParser().parse(CString(cText.c_str())));
    // Header fields end at every ':' byte; the extra text at a ':' character.
    const CString* fields[] = {&message->version, &message->packetNo, &message->user, &message->host};
    for (const CString* field : fields)
        CHECK("parse", comesFrom(*field, input) && !holdsByte(*field, '\0') && !holdsByte(*field, ':'));
    CHECK("parse",
          comesFrom(message->extra, input) && !holdsByte(message->extra, '\0') && !holdsCharacter(message->extra, ':'));
    CHECK("parse", message->group.IsEmpty());

    bool hasNul = std::memchr(input.data, '\0', (size_t)input.length) != NULL;
    if (!hasNul && input.length <= MAX_FIELD_LENGTH && hasFiveSeparators(input)) {
        IpMessage packet;
        IpMessageParser().parseRawPacket(input.data, input.length, IpMessageParser::READ_CHAT_TEXT, &packet);
        CHECK("parse", message->version == packet.version);
        CHECK("parse", message->packetNo == packet.packetNo);
        CHECK("parse", message->user == packet.user);
        CHECK("parse", message->host == packet.host);
        CHECK("parse", message->command == packet.command);
    }
}

void checkAttachEntry(const CString& entry)
{
    Bytes text = {entry, entry.GetLength()};
    CString fileId, name, size, mtime, attr;
    IpMessageParser().parseAttachEntry(entry, &fileId, &name, &size, &mtime, &attr);
    CHECK("parseAttachEntry", isPlainField(fileId, text));
    CHECK("parseAttachEntry", isNameField(name, text));
    CHECK("parseAttachEntry", isDecimalInt(size));
    CHECK("parseAttachEntry", isPlainField(mtime, text));
    CHECK("parseAttachEntry", isPlainField(attr, text));
}

void checkAttachments(Bytes input)
{
    CStringArray entries;
    IpMessageParser().splitAttachments(input.data, input.length, &entries);
    const char* nul = (const char*)std::memchr(input.data, '\0', (size_t)input.length);
    if (nul == NULL) {
        CHECK("splitAttachments", entries.GetSize() == 0);
    } else {
        int bels = 0;
        for (const char* p = nul + 1; p < input.data + input.length; ++p)
            bels += *p == '\a';
        CHECK("splitAttachments", entries.GetSize() <= bels + 1);
    }
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        const CString& entry = entries[i];
        CHECK("splitAttachments", entry.GetLength() < input.length);
        CHECK("splitAttachments", comesFrom(entry, input));
        CHECK("splitAttachments", !holdsByte(entry, '\0') && !holdsByte(entry, '\a'));
        checkAttachEntry(entry);
        if (!entry.IsEmpty())
            ++reach.entries;
    }
    // An entry may hold any byte but NUL and BEL: the datagram's text up to
    // its first NUL is a harsher one.
    checkAttachEntry(CString(input.data, nul != NULL ? (int)(nul - input.data) : input.length));
}

void checkFileRequest(Bytes input)
{
    CString version, packetNo, user, host, command, packetId, fileId, offset;
    IpMessageParser().parseFileRequest(input.data, input.length, &version, &packetNo, &user, &host, &command, &packetId,
                                       &fileId, &offset);
    const CString* plain[] = {&version, &user, &host, &command};
    for (const CString* field : plain)
        CHECK("parseFileRequest", isPlainField(*field, input));
    CHECK("parseFileRequest", isNameField(packetNo, input));
    CHECK("parseFileRequest", isDecimalInt(packetId) && isDecimalInt(fileId) && isDecimalInt(offset));
    if (!command.IsEmpty())
        ++reach.requests;
}

void checkDirHeader(Bytes input)
{
    CString name, size, attr;
    IpMessageParser().parseDirHeader(input.data, input.length, &name, &size, &attr);
    CHECK("parseDirHeader", isNameField(name, input));
    CHECK("parseDirHeader", isDecimalInt(size));
    CHECK("parseDirHeader", isPlainField(attr, input));
    if (!attr.IsEmpty())
        ++reach.dirHeaders;
}

void checkShareCommand(Bytes input)
{
    const char* keys[] = {"ZQMSG", "COMMAND", "MESSAGE"};
    for (const char* key : keys) {
        CString value;
        CUtils::getParamValue(&value, input.data, input.length, key);
        CHECK("getParamValue", comesFrom(value, input));
        CHECK("getParamValue", !holdsByte(value, '\0') && !holdsCharacter(value, '&') && !holdsCharacter(value, '='));
        if (!value.IsEmpty()) {
            CString pair = CString(key) + "=" + value;
            CHECK("getParamValue", comesFrom(pair, input));
            ++reach.shareValues;
        }
    }
}

// A share-list reply: every entry it yields is four fields of the input,
// trimmed and free of ';'; a list of them fits one datagram when joined.
void checkShareReply(Bytes input)
{
    bool request = ShareListReply::hasCommand(input.data, input.length, "GET_SHARE_FLODER_LIST");
    bool reply = ShareListReply::hasCommand(input.data, input.length, "GET_SHARE_FLODER_LIST_REPLY");
    CHECK("isShareListReply", !(request && reply));
    CHECK("isShareListReply", !reply || (input.length > 10 && std::memcmp(input.data, "ZQMSG=ZQMSG", 11) == 0));

    ShareListReply read;
    read.read(input.data, input.length);
    CHECK("ShareListReply::read", read.entries.GetSize() == read.names.GetSize() && read.malformedPieces >= 0);
    for (INT_PTR i = 0; i < read.entries.GetSize(); ++i) {
        const CString& entry = read.entries[i];
        CHECK("ShareListReply::read", !entry.IsEmpty() && comesFrom(entry, input));
        CHECK("ShareListReply::read", !holdsByte(entry, '\0') && !holdsCharacter(entry, ';'));
        CStringArray fields;
        CUtils::splitToArray(entry, ":", &fields);
        CHECK("ShareListReply::read", fields.GetSize() == 4 && fields[2] == read.names[i]);
        CString trimmed = entry;
        CHECK("ShareListReply::read", trimmed.Trim() == entry);
        ++reach.shareEntries;
    }
    CString list = ShareListReply::joinWithinOneDatagram(read.entries);
    CHECK("joinWithinOneDatagram", list.GetLength() + 56 <= ShareListReply::MAX_REPLY_BYTES);
}

// What a folder stream made: every path is a run of safe names below the
// chosen folder, and content goes only into an open file.
class CheckingSink : public FolderStreamParser::Sink {
public:
    explicit CheckingSink(Bytes input)
        : m_input(input)
    {
    }
    bool enterFolder(const CString& name) override
    {
        CHECK("FolderStreamParser", isSafeName(name) && !m_open && !m_leftTop);
        ++m_depth;
        add('D', (const char*)name);
        return true;
    }
    void leaveFolder() override
    {
        // Never above the offered folder, and never back into it once left.
        CHECK("FolderStreamParser", m_depth > 0 && !m_open);
        if (--m_depth == 0)
            m_leftTop = true;
        add('L', "");
    }
    bool createFile(const CString& name) override
    {
        CHECK("FolderStreamParser", isSafeName(name));
        // Only inside the offered folder.
        CHECK("FolderStreamParser", !m_open && m_depth > 0 && !m_leftTop);
        m_open = true;
        add('F', (const char*)name);
        return true;
    }
    bool write(const char* data, int length) override
    {
        CHECK("FolderStreamParser", m_open && length > 0);
        CHECK("FolderStreamParser", data >= m_blockStart && data + length <= m_blockEnd);
        m_written += length;
        CHECK("FolderStreamParser", m_written <= m_input.length);
        add('W', std::string(data, (size_t)length));
        return true;
    }
    void closeFile() override
    {
        CHECK("FolderStreamParser", m_open);
        m_open = false;
        add('C', "");
    }
    void unknownType(const CString& attr) override
    {
        CHECK("FolderStreamParser", ++m_unknown == 1);
        add('U', (const char*)attr);
    }

    void block(const char* start, int length)
    {
        m_blockStart = start;
        m_blockEnd = start + length;
    }
    // What was made, in order; a file's content comes in pieces that depend
    // on the cuts, so the pieces of one write run are joined.
    const std::vector<std::pair<char, std::string>>& events() const { return m_events; }
    bool madeFile() const { return m_madeFile; }
    bool open() const { return m_open; }

private:
    void add(char kind, const std::string& text)
    {
        if (kind == 'F')
            m_madeFile = true;
        if (kind == 'W' && !m_events.empty() && m_events.back().first == 'W')
            m_events.back().second += text;
        else
            m_events.emplace_back(kind, text);
    }

    Bytes m_input;
    std::vector<std::pair<char, std::string>> m_events;
    bool m_madeFile = false;
    bool m_open = false;
    int m_written = 0;
    int m_unknown = 0;
    int m_depth = 0;
    bool m_leftTop = false;
    const char* m_blockStart = NULL;
    const char* m_blockEnd = NULL;
};

// Small enough that deep inputs reach it.
const int STREAM_PATH_ROOM = 600;

// The input as a stream, whole and cut into blocks of sizes taken from its
// length: the same folders, files and content either way.
void checkFolderStream(Bytes input)
{
    std::vector<std::pair<char, std::string>> summaries[2];
    for (int pass = 0; pass < 2; ++pass) {
        CheckingSink sink(input);
        FolderStreamParser parser(sink, "offered", STREAM_PATH_ROOM);
        int block = pass == 0 ? input.length : 1 + input.length % 13;
        for (int at = 0; at < input.length; at += block) {
            int length = input.length - at < block ? input.length - at : block;
            // Each block on the heap by itself: a read past it is caught.
            std::unique_ptr<char[]> exact(new char[(size_t)length]);
            std::memcpy(exact.get(), input.data + at, (size_t)length);
            sink.block(exact.get(), length);
            parser.feed(exact.get(), length);
        }
        parser.finish();
        CHECK("FolderStreamParser", !sink.open());
        summaries[pass] = sink.events();
        if (pass == 0 && sink.madeFile())
            ++reach.streamFiles;
    }
    // Only the first block may drop the "0<" prefix, so cut inputs that
    // start with it may differ.
    if (!(input.length > 3 && input.data[0] == '0' && input.data[1] == '<'))
        CHECK("FolderStreamParser", summaries[0] == summaries[1]);
}

// Splitting and joining again gives the text back, with any delimiter.
void checkSplit(Bytes input)
{
    static const char* const delimiters[] = {":", "&", "\a", "::", "\xb1\xa8"};
    const char* delimiter = delimiters[(unsigned)input.length % (sizeof delimiters / sizeof *delimiters)];
    CString text(input.data, input.length);

    std::unique_ptr<CStringList> list(CUtils::splitToList(text, delimiter));
    CStringArray array;
    CUtils::splitToArray(text, delimiter, &array);
    CHECK("splitToList", list->GetCount() == array.GetSize() && array.GetSize() >= 1);

    CString joined;
    POSITION position = list->GetHeadPosition();
    for (INT_PTR i = 0; position != NULL; ++i) {
        const CString& piece = list->GetNext(position);
        CHECK("splitToArray", piece == array[i]);
        if (i > 0)
            joined += delimiter;
        joined += piece;
    }
    CHECK("splitToList",
          joined.GetLength() == text.GetLength() &&
              std::memcmp((const char*)joined, input.data, (size_t)input.length) == 0);

    // The cuts are where CString::Find finds the delimiter (each search
    // walks from the start: short texts only).
    if (input.length <= 256) {
        INT_PTR piece = 0;
        int start = 0;
        for (int found; (found = text.Find(delimiter, start)) >= 0; start = found + (int)std::strlen(delimiter))
            CHECK("splitToArray", piece < array.GetSize() && array[piece++] == text.Mid(start, found - start));
        CHECK("splitToArray", piece == array.GetSize() - 1);
    }
}

void checkRoute(Bytes input)
{
    MessageDispatcher::Route route = MessageDispatcher::routeOf(input.data, input.length);
    bool marked = input.length >= 11 && std::memcmp(input.data, "ZQMSG=ZQMSG", 11) == 0;
    CHECK("routeOf", (route == MessageDispatcher::shareCommandRoute) == marked);
}

// All readers on one input.
void readAll(const std::string& bytes)
{
    currentInput = &bytes;
    // Exactly the input's bytes on the heap: ASan sees a read past them.
    std::unique_ptr<char[]> exact(new char[bytes.size()]);
    std::memcpy(exact.get(), bytes.data(), bytes.size());
    Bytes input = {exact.get(), (int)bytes.size()};

    checkRoute(input);
    checkRawPacket(input);
    checkParse(input, bytes);
    checkAttachments(input);
    checkFileRequest(input);
    checkDirHeader(input);
    checkFolderStream(input);
    checkShareCommand(input);
    checkShareReply(input);
    checkSplit(input);
    ++reach.inputs;
    currentInput = NULL;
}

// ---------------------------------------------------------------------------
// Making inputs

std::string bytesOf(const char* literal, size_t size)
{
    return std::string(literal, size - 1);
}
#define BYTES(literal) bytesOf(literal, sizeof literal)

// A folder stream nested as deep as an input allows, with names long enough
// that its paths pass the room the parser is given, then a file and the way
// back.
std::string deepStream()
{
    const std::string level = "0040:level-of-a-deep-tree-n:000000000:2:14=51e7647a:16=51e76478:";
    std::string stream = "002B:d:000000000:2:14=51e7647a:16=51e76478:";
    for (int i = 0; i < 40; ++i)
        stream += level;
    stream += "002B:f:000000001:1:14=51e7647a:16=51e76478:x";
    for (int i = 0; i < 8; ++i)
        stream += "002B:.:000000000:3:14=51e7647a:16=51e76478:";
    return stream;
}

// Real datagrams and stream texts of each kind, as peers write them.
// GBK: \xc4\xe3\xba\xc3 is "ni hao", \xb1\xa8\xb8\xe6 "bao gao".
const std::vector<std::string>& startingInputs()
{
    static const std::vector<std::string> inputs = {
        // Entry and answer: nickname, NUL, group.
        BYTES("1-1-ZQ:1700000001:alice:PC-1:1:Alice\0Dev-Web\0"),
        BYTES("1-1-ZQ:5:bob:HOST2:3:\xc4\xe3\xba\xc3\0\xb1\xa8\xb8\xe6\0"),
        // An entry with its names in UTF-8 (三个字, 互通组), marked so.
        BYTES("1_iptux 0.8.3:7:root:vm:1:\xe4\xb8\x89\xe4\xb8\xaa\xe5\xad\x97\0\xe4\xba\x92\xe9\x80\x9a"
              "\xe7\xbb\x84\0icon-tux.png\0utf-8\0"),
        // Chat text, with ':' inside and NULs after it.
        BYTES("1:10:u:h:288:hello: \xc4\xe3\xba\xc3 \\ | \0junk\0"),
        BYTES("1_other 0.9:15:root:vm:1048864:see you\0"),
        // File offers: our entries, and another client's with ':' after each BEL.
        BYTES("1:9:u:h:2097184:files\0"
              "8:a.txt:4d2:5e1f0000:1:\a"
              "9:docs:0:5e1f0000:2:\a"),
        BYTES("1_other 0.9:16:root:vm:2097184:\0"
              "10000:hello.txt:11:6b19cb9a:1:\a"
              ":10001:\xb1\xa8\xb8\xe6.txt:d:6b19cb9a:1:\a"
              ":10002:dir1:d:6b19cb9a:2:14=6b19cb9a:\a\0"),
        BYTES("1:9:u:h:2097440:x\0"
              "5:a::b:ffffffff:0:1:\a"),
        // File requests: a file from an offset, a folder.
        BYTES("1:12:alice:PC1:96:1a:1b:1f4"),
        BYTES("1:3:u:h:98:7:8:0:\0"),
        // Folder stream headers.
        BYTES("002E:docs:000000000:2:14=51e7647a:16=51e76478:"),
        BYTES("002E:a::b:000000003:1:14=51e7647a:16=51e76478:"),
        BYTES("0024:..:000000000:3:"),
        // A folder stream: a folder, a sub-folder, an empty file, a file, and the way back.
        BYTES("002B:d:000000000:2:14=51e7647a:16=51e76478:"
              "002D:sub:000000000:2:14=51e7647a:16=51e76478:"
              "002B:e:000000000:1:14=51e7647a:16=51e76478:"
              "002B:.:000000000:3:14=51e7647a:16=51e76478:"
              "002F:f.txt:000000005:1:14=51e7647a:16=51e76478:"
              "hello"
              "0033:\xb1\xa8.txt:000000002:9001:14=51e7647a:16=51e76478:"
              "ab"
              "002B:.:000000000:3:14=51e7647a:16=51e76478:"),
        deepStream(),
        // Share commands.
        BYTES("ZQMSG=ZQMSG&COMMAND=REQUEST_SHARE_LIST&MESSAGE="),
        BYTES("ZQMSG=ZQMSG&COMMAND=SHARE_LIST&MESSAGE=D:\\share\\\xb1\xa8\xb8\xe6|C:\\x\0&COMMAND=late"),
        BYTES("ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST"),
        BYTES("ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE= 3:4:docs:1024 ; ;5:6:\xb1\xa8\xb8\xe6:0;7:8:x"),
        // Another program's datagram that looks like ours.
        BYTES("zqMsgVersion=2:1:2:3:4:5:6"),
    };
    return inputs;
}

// Inputs that once broke a reader, and edges worth keeping.
const std::vector<std::string>& regressionInputs()
{
    static const std::vector<std::string> inputs = {
        // An entry's nickname ending in a lone lead byte swallowed the NUL
        // after it: nickname and group came back as one text with a ':'.
        BYTES("1:2:u:h:1:\x81\0\x81"),
        BYTES(""),
        BYTES(":"),
        BYTES("\0"),
        BYTES("\x81"),  // a lead byte as the last byte
        BYTES("1:2:u:h:32:\x81"),
        BYTES("1:2:u:h:4:a\x81:b\0g"),  // lead byte and ':' make one character
        BYTES("ZQMSG=ZQMSG&COMMAND=\x81=&MESSAGE=x"),
        BYTES("t\0\a"),
        BYTES("t\0:"),
        BYTES("t\0\a:"),
        BYTES("002E:a:"),
        BYTES("ZQMSG=ZQMSG"),
        BYTES("zqMsgVersion="),
        BYTES("1:2:3:4:5"),
    };
    return inputs;
}

// xorshift64*: the same numbers on every compiler and library.
class Random {
public:
    explicit Random(std::uint64_t seed)
        : m_state(seed)
    {
    }
    std::uint64_t next()
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 2685821657736338717ull;
    }
    size_t below(size_t bound) { return bound == 0 ? 0 : (size_t)(next() >> 11) % bound; }
    bool oneIn(size_t n) { return below(n) == 0; }

private:
    std::uint64_t m_state;
};

// Bytes the readers treat specially, and GBK lead and trail bytes.
char interestingByte(Random& random)
{
    static const char bytes[] = {'\0', ':', '\a', '&',    '=',    '\\',   '|',    '0',    '9',    'a',    'f',
                                 'x',  '-', ' ',  '\x80', '\x81', '\xb1', '\xa8', '\xfe', '\xff', '\x7f', '\x40'};
    return random.oneIn(4) ? (char)random.next() : bytes[random.below(sizeof bytes)];
}

std::string randomBytes(Random& random, size_t length)
{
    std::string bytes(length, '\0');
    bool anyByte = random.oneIn(2);
    for (char& byte : bytes)
        byte = anyByte ? (char)random.next() : interestingByte(random);
    return bytes;
}

// A few edits of a starting input: overwrites, insertions, cuts, copies,
// long runs (to cross the 1023-byte bound) and pieces of other inputs.
std::string mutate(Random& random, std::string bytes)
{
    const std::vector<std::string>& others = startingInputs();
    int edits = 1 + (int)random.below(8);
    for (int e = 0; e < edits; ++e) {
        size_t at = random.below(bytes.size() + 1);
        size_t span = random.below(bytes.size() - at + 1);
        switch (random.below(8)) {
        case 0:
            if (at < bytes.size())
                bytes[at] = interestingByte(random);
            break;
        case 1:
            bytes.insert(at, 1, interestingByte(random));
            break;
        case 2:
            bytes.erase(at, span);
            break;
        case 3:
            bytes.insert(random.below(bytes.size() + 1), bytes.substr(at, span));
            break;
        case 4: {
            static const char* const runs[] = {"a", ":", "::", "\xc4\xe3", "\x81", "\a", "\0", "0"};
            const char* unit = runs[random.below(sizeof runs / sizeof *runs)];
            size_t unitLength = *unit != '\0' ? std::strlen(unit) : 1;
            // Now and then long enough to cross the 1023-byte bound.
            size_t count = 1 + random.below(random.oneIn(4) ? 1100 : 16);
            std::string run;
            for (size_t n = count; n > 0; --n)
                run.append(unit, unitLength);
            bytes.insert(at, run);
            break;
        }
        case 5:
            bytes.resize(at);
            break;
        case 6: {
            const std::string& other = others[random.below(others.size())];
            size_t from = random.below(other.size());
            bytes.insert(at, other.substr(from, random.below(other.size() - from + 1)));
            break;
        }
        default:
            if (at < bytes.size())
                bytes[at] = (char)(bytes[at] ^ (1 << random.below(8)));
            break;
        }
    }
    if (bytes.size() > (size_t)MAX_INPUT_LENGTH)
        bytes.resize(random.below(MAX_INPUT_LENGTH + 1));
    return bytes;
}

std::string makeInput(Random& random)
{
    if (random.oneIn(8))
        return randomBytes(random, random.below(MAX_INPUT_LENGTH + 1));
    const std::vector<std::string>& inputs = startingInputs();
    return mutate(random, inputs[random.below(inputs.size())]);
}

void readFixedInputs()
{
    for (const std::string& input : regressionInputs())
        readAll(input);
    for (const std::string& input : startingInputs())
        readAll(input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size <= (size_t)MAX_INPUT_LENGTH)
        readAll(std::string((const char*)data, size));
    return 0;
}

#ifdef ZQ_LIBFUZZER

extern "C" size_t LLVMFuzzerMutate(std::uint8_t* data, size_t size, size_t maxSize);

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    readFixedInputs();
    return 0;
}

// Half of the mutations are libFuzzer's own, half the edits around real
// datagrams made here.
extern "C" size_t LLVMFuzzerCustomMutator(std::uint8_t* data, size_t size, size_t maxSize, unsigned int seed)
{
    Random random(seed | 0x100000000ull);
    if (random.oneIn(2))
        return LLVMFuzzerMutate(data, size, maxSize);
    std::string input = random.oneIn(2) ? mutate(random, std::string((const char*)data, size)) : makeInput(random);
    size_t length = input.size() < maxSize ? input.size() : maxSize;
    std::memcpy(data, input.data(), length);
    return length;
}

#else

namespace {

int replay(int count, char** files)
{
    for (int i = 0; i < count; ++i) {
        std::ifstream in(files[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "readers_fuzz: cannot read %s\n", files[i]);
            return 2;
        }
        readAll(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    std::printf("readers_fuzz: %d input(s) read without fault\n", count);
    return 0;
}

int fuzz(long runs)
{
    auto start = std::chrono::steady_clock::now();
    readFixedInputs();

    Random random(0x5A51A5EEDull);
    long long totalBytes = 0;
    for (long i = 0; i < runs; ++i) {
        std::string input = makeInput(random);
        totalBytes += (long long)input.size();
        readAll(input);
    }

    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("readers_fuzz: %ld inputs (%lld bytes) in %.1f s without fault\n", reach.inputs, totalBytes, seconds);
    std::printf("  reached: %ld full headers, %ld attachment entries, %ld file requests, "
                "%ld folder headers, %ld share values, %ld share entries, %ld stream files\n",
                reach.headers, reach.entries, reach.requests, reach.dirHeaders, reach.shareValues, reach.shareEntries,
                reach.streamFiles);
    // Made-up inputs that never get past the first checks would fuzz nothing.
    if (runs >= 1000 &&
        (reach.headers == 0 || reach.entries == 0 || reach.requests == 0 || reach.dirHeaders == 0 ||
         reach.shareValues == 0 || reach.shareEntries == 0 || reach.streamFiles == 0)) {
        std::fprintf(stderr, "readers_fuzz: some reader was never reached past its first checks\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    __sanitizer_set_death_callback(saveCurrentInput);
    if (argc >= 2 && std::strcmp(argv[1], "--replay") == 0)
        return replay(argc - 2, argv + 2);
    long runs = argc >= 2 ? std::atol(argv[1]) : 200000;
    return fuzz(runs);
}

#endif
