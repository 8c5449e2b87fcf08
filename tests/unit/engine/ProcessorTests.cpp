#include "LoopbackWire.h"
#include "RecordingBuddyWindow.h"
#include "core/Globals.h"
#include "engine/WindowLinks.h"
#include "engine/IpMessageProcessor.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

// Hands datagram to a fresh processor as coming from 127.0.0.1, so every
// answer comes back to our own port 2425.
std::vector<std::string> processFromLoopback(const std::string& datagram)
{
    return datagramsSentDuring([&] {
        IpMessageProcessor processor;
        processor.process(datagram.c_str(), (int)datagram.size(), "127.0.0.1", "2425");
    });
}

struct ChatCase {
    const char* name;
    std::string datagram;
    std::string text;
};

const ChatCase chatCases[] = {
    {"no options", "1:77:alice:pc1:32:hello\0"s, "hello"},
    {"send check", "1:78:alice:pc1:288:hi there"s, "hi there"},
    {"send check, secret, read check", "1:79:alice:pc1:1049376:a:b\0"s, "a:b"},
    {"more after the NUL", "1:80:alice:pc1:32:hey\0junk\0"s, "hey"},
};

TEST(IpMessageProcessor, ShowsChatTextThenAcknowledgesIt)
{
    for (const ChatCase& c : chatCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> sent = processFromLoopback(c.datagram);
        std::vector<BuddyWindowDelivery> shown = takeBuddyWindowDeliveries();

        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(WM_USER_RECEIVE_MESSAGE, shown[0].message);
        EXPECT_EQ(c.text, shown[0].extra);
        EXPECT_EQ("alice", shown[0].user);
        EXPECT_EQ("127.0.0.1", shown[0].senderIp);
        EXPECT_FALSE(shown[0].datagramWaiting) << "the receipt left before the window had the text";

        ASSERT_EQ(1u, sent.size());
        WireFields receipt = splitDatagram(sent[0]);
        EXPECT_EQ("33", receipt.command);
        EXPECT_EQ(splitDatagram(c.datagram).packetNo, receipt.extra);
    }
}

TEST(IpMessageProcessor, ATextTheWindowDidNotTakeGetsNoReceipt)
{
    refuseChatTexts(true);
    std::vector<std::string> sent = processFromLoopback("1:81:alice:pc1:288:hello\0"s);
    refuseChatTexts(false);

    EXPECT_EQ(1u, takeBuddyWindowDeliveries().size());
    EXPECT_TRUE(sent.empty()) << sent[0];
}

TEST(IpMessageProcessor, AnswersAnEntryThenAddsThePeer)
{
    {
        SharedStateLock lock;
        userName = "Tester";
        userGroupName = "QA";
    }
    std::vector<std::string> sent = processFromLoopback("1-1-ZQ#:5:bob:pc2:1:Bob\0Sales-East\0"s);
    std::vector<BuddyWindowDelivery> shown = takeBuddyWindowDeliveries();

    ASSERT_EQ(1u, sent.size());
    WireFields answer = splitDatagram(sent[0]);
    EXPECT_EQ("3", answer.command);
    EXPECT_EQ("Tester\0QA"s, answer.extra);

    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(WM_USER_ADD_BUDDY, shown[0].message);
    EXPECT_EQ("Bob", shown[0].extra);
    EXPECT_EQ("Sales-East", shown[0].group);
    EXPECT_EQ("pc2", shown[0].host);
    EXPECT_EQ("1-1-ZQ#", shown[0].version);
    EXPECT_EQ("127.0.0.1", shown[0].senderIp);
    EXPECT_TRUE(shown[0].datagramWaiting) << "the window learnt of the peer before our answer left";
}

TEST(IpMessageProcessor, AddsThePeerOfAnAnswerWithoutSendingAnything)
{
    std::vector<std::string> sent = processFromLoopback("1:6:carol:pc3:3:Carol\0Ops\0"s);
    std::vector<BuddyWindowDelivery> shown = takeBuddyWindowDeliveries();

    EXPECT_TRUE(sent.empty());
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(WM_USER_ADD_BUDDY, shown[0].message);
    EXPECT_EQ("Carol", shown[0].extra);
    EXPECT_EQ("Ops", shown[0].group);
    EXPECT_EQ("pc3", shown[0].host);
    EXPECT_EQ("1", shown[0].version);
}

// An exit names nobody the window may trust: only its source address counts,
// whatever user, host or options it carries, and it is not answered.
TEST(IpMessageProcessor, TakesOutThePeerAtTheSourceOfAnExit)
{
    const std::string exits[] = {"1:92:alice:pc1:2:alice\0"s, "1:93:bob:pc9:8388610:10.0.0.9\0"s, "1:94:::2:"s};
    for (const std::string& datagram : exits) {
        SCOPED_TRACE(datagram);
        std::vector<std::string> sent = processFromLoopback(datagram);
        std::vector<BuddyWindowDelivery> shown = takeBuddyWindowDeliveries();
        EXPECT_TRUE(sent.empty());
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(WM_USER_REMOVE_BUDDY, shown[0].message);
        EXPECT_EQ("127.0.0.1", shown[0].senderIp);
    }
}

struct IgnoredCase {
    const char* name;
    std::string datagram;
};

const IgnoredCase ignoredCases[] = {
    {"broadcast option", "1:90:alice:pc1:1056:hello\0"s},
    {"secret without read check", "1:91:alice:pc1:800:hello\0"s},
    {"receipt", "1:93:alice:pc1:33:77\0"s},
    {"command not a number", "1:94:alice:pc1:chat:hello"s},
};

TEST(IpMessageProcessor, IgnoresEveryOtherDatagramSilently)
{
    for (const IgnoredCase& c : ignoredCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> sent = processFromLoopback(c.datagram);
        EXPECT_TRUE(sent.empty());
        EXPECT_TRUE(takeBuddyWindowDeliveries().empty());
    }
}

}  // namespace
