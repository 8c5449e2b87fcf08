#include "LoopbackWire.h"
#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/IpMessage.h"
#include "core/IpMessageFactory.h"
#include "engine/IpMessageSender.h"
#include "engine/Messenger.h"
#include "core/UdpPacketSender.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

std::string sentByIpMessageSender(int command, const char* extra)
{
    IpMessage message;
    message.version = "1-1-ZQ";
    message.packetNo = "9";
    message.user = "u";
    message.host = "h";
    message.command = command;
    message.extra = extra;
    std::vector<std::string> sent = datagramsSentDuring([&] {
        IpMessageSender sender;
        sender.sendTo(&message, "127.0.0.1");
    });
    return sent.size() == 1 ? sent[0] : "<" + std::to_string(sent.size()) + " datagrams>";
}

struct NicknameSeparationCase {
    const char* name;
    int command;
    const char* extra;
    std::string extraOnTheWire;
};

const NicknameSeparationCase nicknameSeparationCases[] = {
    {"nickname and group", 1, "Tom;Sales-East", "Tom\0Sales-East"s},
    {"nickname alone", 1, "Tom", "Tom"s},
    {"group alone", 3, "Sales-East", "Sales-East"s},
    {"colon after the semicolon", 1, "Tom;Sales:East", "Tom;Sales:East"s},
    {"exit with semicolons in the login name", 2, "dom;ain;user", "dom;ain\0user"s},
};

TEST(IpMessageSender, SeparatesNicknameFromGroupWithANulAndKeepsTheFullLength)
{
    for (const NicknameSeparationCase& c : nicknameSeparationCases) {
        SCOPED_TRACE(c.name);
        std::string header = "1-1-ZQ:9:u:h:" + std::to_string(c.command) + ":";
        EXPECT_EQ(header + c.extraOnTheWire, sentByIpMessageSender(c.command, c.extra));
    }
}

// A ';' of the user's own in the nickname or group must not move the cut
// between them: it goes out as the full-width "；".
TEST(IpMessageSender, EntryKeepsNicknameAndGroupApartWhenTheyHoldSemicolons)
{
    struct Case {
        const char* name;
        const char* nickname;
        const char* group;
        std::string extraOnTheWire;
    } cases[] = {
        {"in the group", "小李", "开发;测试", "小李\0开发；测试"s},
        {"in both", "小;李", ";开发;", "小；李\0；开发；"s},
        {"nickname alone", "a;b", "", "a；b"s},
        {"group alone", "", "x;y", "x；y"s},
    };
    CString savedName = userName;
    CString savedGroup = userGroupName;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        userName = c.nickname;
        userGroupName = c.group;
        IpMessageFactory factory;
        IpMessage* entry = factory.createBrEntryMessage();
        std::vector<std::string> sent = datagramsSentDuring([&] {
            IpMessageSender sender;
            sender.sendTo(entry, "127.0.0.1");
        });
        delete entry;
        ASSERT_EQ(1u, sent.size());
        EXPECT_EQ(splitDatagram(sent[0]).extra, c.extraOnTheWire);
    }
    userName = savedName;
    userGroupName = savedGroup;
}

TEST(SendTextMessage, SendsTheSameBytesToEveryAddressAndSkipsBlankPieces)
{
    std::vector<std::string> sent = datagramsSentDuring([] { sendTextMessage("a;b:c", "127.0.0.1, ,127.0.0.1"); });

    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(sent[0], sent[1]);
    WireFields fields = splitDatagram(sent[0]);
    EXPECT_EQ("1-1-ZQ", fields.version);
    EXPECT_EQ("32", fields.command);
    EXPECT_EQ("a;b:c", fields.extra);  // a chat text goes unchanged
}

TEST(SendTextMessage, CutsAnOverlongTextAtACharacterBoundaryWithinOneDatagram)
{
    CString text;
    for (int i = 0; i < 1500; ++i)
        text += "中";  // two bytes each in code page 936
    std::vector<std::string> sent = datagramsSentDuring([&] { sendTextMessage(text, "127.0.0.1"); });

    ASSERT_EQ(1u, sent.size());
    EXPECT_GE(sent[0].size(), 2046u);
    EXPECT_LE(sent[0].size(), 2047u);
    std::string extra = splitDatagram(sent[0]).extra;
    EXPECT_EQ(0u, extra.size() % 2) << "a double-byte character was split";
    EXPECT_EQ(std::string(text, extra.size()), extra) << "what was sent is not the start of the text";
}

// A text that is not a dotted IPv4 address must never turn into a
// broadcast (inet_addr's INADDR_NONE is 255.255.255.255).
const char* const notDottedIPv4[] = {"", "buddy-pc", "255.255.255.255", "127.0.0.1.5", "10.0.0.300"};

TEST(UdpPacketSender, HasNoDestinationForATextThatIsNotDottedIPv4)
{
    sockaddr_in destination;
    for (const char* ip : notDottedIPv4) {
        SCOPED_TRACE(ip);
        EXPECT_FALSE(UdpPacketSender::destinationOf(ip, 2425, &destination));
    }
    ASSERT_TRUE(UdpPacketSender::destinationOf("10.77.0.2", 2425, &destination));
    EXPECT_EQ(AF_INET, destination.sin_family);
    EXPECT_EQ(htonl(0x0A4D0002), destination.sin_addr.s_addr);
    EXPECT_EQ(htons(2425), destination.sin_port);
}

TEST(Senders, SendNothingToAnAddressTextThatIsNotDottedIPv4)
{
    for (const char* ip : notDottedIPv4) {
        SCOPED_TRACE(ip);
        std::vector<std::string> sent = datagramsSentDuring([&] {
            sendTextMessage("hello", ip);
            sendTextMessage("hello", CString(" , ") + ip);
            sendRecvMessage("12", ip);
            UdpPacketSender::sendString(udpSocket, "hello", ip, 2425);
        });
        EXPECT_TRUE(sent.empty());
    }
}

}  // namespace

namespace {

TEST(ShareListSenders, ReplyIsTheCommandTextWithTheListAndNoNul)
{
    struct {
        const char* list;
        const char* onTheWire;
    } cases[] = {
        {"", "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE="},
        {"3:4:照片:15;5:6:Docs:0", "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE=3:4:照片:15;5:6:Docs:0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        std::vector<std::string> sent = datagramsSentDuring([&] { CUtils::sendShareListReply("127.0.0.1", c.list); });
        ASSERT_EQ(1u, sent.size());
        EXPECT_EQ(c.onTheWire, sent[0]);
    }
}

}  // namespace
