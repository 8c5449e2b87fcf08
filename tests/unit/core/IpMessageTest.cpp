#include "core/IpMessage.h"
#include "core/IpmsgProtocol.h"
#include "core/UdpPacket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

IpMessage* makeMessage(const char* extra, int command = IPMSG_SENDMSG)
{
    IpMessage* message = new IpMessage;
    message->version = "1-1-ZQ";
    message->packetNo = "7";
    message->user = "u";
    message->host = "h";
    message->command = command;
    message->extra = extra;
    return message;
}

TEST(IpMessage, TextIsTheSixFieldsWithoutTheGroup)
{
    std::unique_ptr<IpMessage> message(makeMessage("hi"));
    message->group = "Dev";
    EXPECT_STREQ(message->toString(), "1-1-ZQ:7:u:h:32:hi");

    char buffer[UDP_BUFFER_SIZE];
    memset(buffer, 'X', sizeof(buffer));
    EXPECT_EQ(message->writeTo(buffer), 18);
    EXPECT_STREQ(buffer, "1-1-ZQ:7:u:h:32:hi");
    EXPECT_EQ(message->getLength(), 18);
}

TEST(IpMessage, CommandWordIsSignedDecimal)
{
    std::unique_ptr<IpMessage> offer(makeMessage("", IPMSG_SENDMSG | IPMSG_FILEATTACHOPT));
    EXPECT_STREQ(offer->toString(), "1-1-ZQ:7:u:h:2097184:");
    std::unique_ptr<IpMessage> negative(makeMessage("", -1));
    EXPECT_STREQ(negative->toString(), "1-1-ZQ:7:u:h:-1:");
}

// "1-1-ZQ:7:u:h:32:" is 16 bytes; the datagram text may hold 2047.
const int HEADER_LENGTH = 16;

struct LongTextCase {
    const char* name;
    std::string extra;
    int expectedLength;
};

std::string filler(int length)
{
    return std::string(length, 'a');
}

TEST(IpMessage, TextLongerThanADatagramIsCutOnACharacterBoundary)
{
    const int room = 2047 - HEADER_LENGTH;
    const LongTextCase cases[] = {
        {"fits exactly", filler(room), 2047},
        {"one byte too long", filler(room + 1), 2047},
        {"far too long", filler(5000), 2047},
        // "你" (2 bytes) would occupy bytes 2046 and 2047: it goes whole.
        {"double-byte character across the end", filler(room - 1) + "你好", 2046},
        {"double-byte character ending at the end", filler(room - 2) + "你好", 2047},
    };
    for (const LongTextCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<IpMessage> message(makeMessage(c.extra.c_str()));
        std::vector<char> buffer(UDP_BUFFER_SIZE + 64, 'X');

        int written = message->writeTo(buffer.data());
        EXPECT_EQ(written, c.expectedLength);
        EXPECT_EQ(message->getLength(), written);
        EXPECT_EQ(buffer[written], '\0');
        for (size_t i = UDP_BUFFER_SIZE; i < buffer.size(); ++i) {
            ASSERT_EQ(buffer[i], 'X') << "written past the datagram buffer at " << i;
        }
        std::string expected = ("1-1-ZQ:7:u:h:32:" + c.extra).substr(0, written);
        EXPECT_EQ(std::string(buffer.data(), written), expected);
    }
}

TEST(IpMessage, UdpPacketCarriesTheSameBytesAndLength)
{
    std::unique_ptr<IpMessage> message(makeMessage(filler(3000).c_str()));
    UdpPacket packet;
    message->toUdpPacket("10.77.0.2", IPMSG_PORT, &packet);
    EXPECT_STREQ(packet.ip, "10.77.0.2");
    EXPECT_EQ(packet.port, 2425);
    EXPECT_EQ(packet.length, 2047);
    EXPECT_EQ(packet.length, message->getLength());
    EXPECT_EQ(std::string(packet.data, 16), "1-1-ZQ:7:u:h:32:");
    EXPECT_EQ(packet.data[packet.length], '\0');
}

}  // namespace
