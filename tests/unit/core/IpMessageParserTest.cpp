#include "core/IpMessage.h"
#include "core/IpMessageParser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const int CHAT_TEXT = IpMessageParser::READ_CHAT_TEXT;
const int ENTRY = IpMessageParser::READ_ENTRY;
const int ANSWER_OR_OFFER = IpMessageParser::READ_ANSWER_OR_OFFER;

// Raw datagram bytes; std::string keeps NULs.
std::string bytes(const char* text, size_t length)
{
    return std::string(text, length);
}
#define RAW(literal) bytes(literal, sizeof(literal) - 1)

struct RawCase {
    const char* name;
    std::string datagram;
    int mode;
    const char* version;
    const char* packetNo;
    const char* user;
    const char* host;
    int command;
    const char* extra;
    const char* group;
};

// Every case starts from a message that already holds command 99, extra
// "stale" and group "stale", to show what a reader leaves alone.
const RawCase rawCases[] = {
    {"entry: nickname, NUL, group", RAW("1-1-ZQ:5:u:h:1:Li\0Dev-Web"), ENTRY, "1-1-ZQ", "5", "u", "h", 1, "Li",
     "Dev-Web"},
    {"entry ending with NUL", RAW("1:5:u:h:1:nick\0grp\0"), ENTRY, "1", "5", "u", "h", 1, "nick", "grp"},
    {"entry without group keeps the old group", RAW("1:5:u:h:1:nick"), ENTRY, "1", "5", "u", "h", 1, "nick", "stale"},
    {"entry with empty group", RAW("1:5:u:h:1:nick\0"), ENTRY, "1", "5", "u", "h", 1, "nick", ""},
    {"nickname ending in a lone lead byte keeps its group", RAW("1:5:u:h:1:ab\x81\0grp"), ENTRY, "1", "5", "u", "h", 1,
     "ab\x81", "grp"},
    {"nickname holding ':' is cut there", RAW("1:5:u:h:3:a:b\0grp"), ANSWER_OR_OFFER, "1", "5", "u", "h", 3, "a", "b"},
    {"file offer: text up to its first ':'",
     RAW("1:9:u:h:2097184:see: this\0"
         "1:f.txt:a:5e:1:\a"),
     ANSWER_OR_OFFER, "1", "9", "u", "h", 2097184, "see", " this"},
    {"chat text keeps ':'", RAW("1:5:u:h:32:a:b"), CHAT_TEXT, "1", "5", "u", "h", 32, "a:b", "stale"},
    {"chat text ends at its NUL", RAW("1:5:u:h:32:hello\0"), CHAT_TEXT, "1", "5", "u", "h", 32, "hello", "stale"},
    {"chat text: bytes after the NUL are not shown", RAW("1:5:u:h:32:hi\0junk:more\0"), CHAT_TEXT, "1", "5", "u", "h",
     32, "hi", "stale"},
    {"chat text from iptux", RAW("1_iptux 0.8.3:15:root:vm:288:hello from iptux \xc4\xe3\xba\xc3\0"), CHAT_TEXT,
     "1_iptux 0.8.3", "15", "root", "vm", 288, "hello from iptux 你好", "stale"},
    {"fifth ':' is the last byte", RAW("1:5:u:h:32:"), CHAT_TEXT, "1", "5", "u", "h", 32, "", "stale"},
    {"fifth ':' is the last byte (entry)", RAW("1:5:u:h:1:"), ENTRY, "1", "5", "u", "h", 1, "", "stale"},
    {"too few fields: only closed fields, old command", RAW("1:2:u"), CHAT_TEXT, "1", "2", "", "", 99, "", "stale"},
    {"empty datagram", RAW(""), ENTRY, "", "", "", "", 99, "", "stale"},
    {"header field read up to its NUL", RAW("1\0x:2:u\0v:h:32:t"), CHAT_TEXT, "1", "2", "u", "h", 32, "t", "stale"},
    {"command: blanks, sign, digits up to another character", RAW("1:2:u:h: +32abc:t"), CHAT_TEXT, "1", "2", "u", "h",
     32, "t", "stale"},
    {"command: negative", RAW("1:2:u:h:-5:t"), CHAT_TEXT, "1", "2", "u", "h", -5, "t", "stale"},
    {"command: no digits", RAW("1:2:u:h:abc:t"), CHAT_TEXT, "1", "2", "u", "h", 0, "t", "stale"},
    {"command: unsigned text keeps its bits", RAW("1:2:u:h:4294967295:t"), CHAT_TEXT, "1", "2", "u", "h", -1, "t",
     "stale"},
    // Names in UTF-8 (三个字, 互通组), as clients such as iptux announce themselves.
    {"entry marked utf-8: names turned into GBK",
     RAW("1_iptux:5:u:h:1:\xe4\xb8\x89\xe4\xb8\xaa\xe5\xad\x97\0\xe4\xba\x92\xe9\x80\x9a\xe7\xbb\x84\0icon\0utf-8\0"),
     ENTRY, "1_iptux", "5", "u", "h", 1, "三个字", "互通组"},
    {"answer marked UTF-8: names turned into GBK", RAW("1:5:u:h:3:\xe4\xb8\x89\0\xe4\xba\x92-Dev\0\0UTF-8"),
     ANSWER_OR_OFFER, "1", "5", "u", "h", 3, "三", "互-Dev"},
    {"a character without a GBK form becomes '?'",
     RAW("1:5:u:h:1:a\xed\x95\x9c"
         "b\0g\0\0utf-8\0"),
     ENTRY, "1", "5", "u", "h", 1, "a?b", "g"},
    {"marked utf-8 but GBK names: read as GBK", RAW("1:5:u:h:1:\xc8\xfd\xb8\xf6\xd7\xd6\0\xbb\xa5\0\0utf-8\0"), ENTRY,
     "1", "5", "u", "h", 1, "三个字", "互"},
    {"UTF-8 names without the mark stay as they came", RAW("1:5:u:h:1:\xe4\xb8\x89\0g\0icon\0"), ENTRY, "1", "5", "u",
     "h", 1, "\xe4\xb8\x89", "g"},
    {"a file offer is never read as names",
     RAW("1:9:u:h:2097184:\xe4\xb8\x89\0"
         "1:f:utf-8:0:\a"),
     ANSWER_OR_OFFER, "1", "9", "u", "h", 2097184, "\xe4\xb8\x89", "1"},
};

TEST(IpMessageParser, RawDatagramsInEveryMode)
{
    IpMessageParser parser;
    for (const RawCase& c : rawCases) {
        SCOPED_TRACE(c.name);
        IpMessage packet;
        packet.command = 99;
        packet.extra = "stale";
        packet.group = "stale";
        EXPECT_EQ(parser.parseRawPacket(c.datagram.data(), (int)c.datagram.size(), c.mode, &packet), 1);
        EXPECT_STREQ(packet.version, c.version);
        EXPECT_STREQ(packet.packetNo, c.packetNo);
        EXPECT_STREQ(packet.user, c.user);
        EXPECT_STREQ(packet.host, c.host);
        EXPECT_EQ(packet.command, c.command);
        EXPECT_STREQ(packet.extra, c.extra);
        EXPECT_STREQ(packet.group, c.group);
    }
}

TEST(IpMessageParser, RawDatagramIsReadOnlyUpToTheGivenLength)
{
    const char datagram[] = "1:2:u:h:32:abcdef";
    IpMessageParser parser;
    IpMessage packet;
    parser.parseRawPacket(datagram, 13, CHAT_TEXT, &packet);
    EXPECT_STREQ(packet.extra, "ab");
}

struct LongFieldCase {
    const char* name;
    std::string datagram;
    int mode;
    std::string user;
    std::string extra;
};

TEST(IpMessageParser, OverLongFieldsKeepTheirFirst1023BytesOnACharacterBoundary)
{
    const std::string a1023(1023, 'a');
    const std::string u1023(1023, 'u');
    const LongFieldCase cases[] = {
        {"long user name", "1:2:" + std::string(1500, 'u') + ":h:32:t", CHAT_TEXT, u1023, "t"},
        {"long chat text", "1:2:u:h:32:" + std::string(2000, 'a') + std::string(1, '\0'), CHAT_TEXT, "u", a1023},
        {"chat text with a character across byte 1023", "1:2:u:h:32:" + std::string(1022, 'a') + "你好", CHAT_TEXT, "u",
         std::string(1022, 'a')},
        {"chat text with a character ending at byte 1023", "1:2:u:h:32:" + std::string(1021, 'a') + "你好", CHAT_TEXT,
         "u", std::string(1021, 'a') + "你"},
        {"long entry nickname", "1:2:u:h:1:" + std::string(1500, 'a') + std::string(1, '\0') + "grp", ENTRY, "u",
         a1023},
    };
    IpMessageParser parser;
    for (const LongFieldCase& c : cases) {
        SCOPED_TRACE(c.name);
        IpMessage packet;
        parser.parseRawPacket(c.datagram.data(), (int)c.datagram.size(), c.mode, &packet);
        EXPECT_EQ(std::string(packet.user), c.user);
        EXPECT_EQ(std::string(packet.extra), c.extra);
        EXPECT_STREQ(packet.host, "h");
        EXPECT_EQ(packet.command, c.mode == ENTRY ? 1 : 32);
    }
}

struct TextCase {
    const char* text;
    const char* version;
    const char* packetNo;
    const char* user;
    const char* host;
    int command;
    const char* extra;
};

TEST(IpMessageParser, TextIsCutAtEveryColon)
{
    const TextCase cases[] = {
        {"1:2:u:h:32:a:b", "1", "2", "u", "h", 32, "a"},
        {"1:2:u", "1", "2", "u", "", 0, ""},
        {"", "", "", "", "", 0, ""},
        {"1-1-ZQ:7:u:h:2097184:", "1-1-ZQ", "7", "u", "h", 2097184, ""},
        {"1::u:h:x:e", "1", "", "u", "h", 0, "e"},
    };
    IpMessageParser parser;
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::unique_ptr<IpMessage> message(parser.parse(c.text));
        EXPECT_STREQ(message->version, c.version);
        EXPECT_STREQ(message->packetNo, c.packetNo);
        EXPECT_STREQ(message->user, c.user);
        EXPECT_STREQ(message->host, c.host);
        EXPECT_EQ(message->command, c.command);
        EXPECT_STREQ(message->extra, c.extra);
        EXPECT_STREQ(message->group, "");
    }
}

}  // namespace
