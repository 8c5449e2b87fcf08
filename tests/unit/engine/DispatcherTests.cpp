#include "RecordingBuddyWindow.h"
#include "engine/MessageDispatcher.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

struct RouteCase {
    const char* name;
    std::string datagram;
    MessageDispatcher::Route route;
};

// A datagram whose fifth ':' is byte number position (counted from 0).
std::string fifthColonAt(size_t position)
{
    return std::string(position - 4, 'x') + ":::::";
}

const MessageDispatcher::Route share = MessageDispatcher::shareCommandRoute;
const MessageDispatcher::Route ipmsg = MessageDispatcher::ipMessageRoute;
const MessageDispatcher::Route dropped = MessageDispatcher::droppedRoute;

const RouteCase routeCases[] = {
    {"share marker alone, 11 bytes", "ZQMSG=ZQMSG", share},
    {"share marker before IPMSG-like text", "ZQMSG=ZQMSG:1:2:3:4:5", share},
    {"share command", "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST", share},
    {"10 bytes of the marker", "ZQMSG=ZQMS", dropped},
    {"10 bytes of the marker, then IPMSG", "ZQMSG=ZQMS:a:b:c:d:e", ipmsg},
    {"five colons", "1:2:u:h:32:hello", ipmsg},
    {"five colons, empty extra", "1:2:u:h:32:", ipmsg},
    {"four colons", "1:2:u:h:32", dropped},
    {"fifth colon after the first NUL", "1:2:u:h\0:32:hello"s, dropped},
    {"five colons after the first NUL", "hello\0:1:2:3:4:5"s, dropped},
    {"fifth colon is byte 299", fifthColonAt(299), ipmsg},
    {"fifth colon is byte 300", fifthColonAt(300), dropped},
    {"zqMsgVersion=", "zqMsgVersion=1:2:3:4:5:6", dropped},
    {"zqmsgVersion=", "zqmsgVersion=1:2:3:4:5:6", dropped},
    {"ZQMsgVersion=", "ZQMsgVersion=1:2:3:4:5:6", ipmsg},
    {"zqMsgVersion without =", "zqMsgVersion:1:2:3:4:5", ipmsg},
    {"empty", "", dropped},
};

TEST(MessageDispatcher, RoutesEachDatagramByItsFirstBytes)
{
    for (const RouteCase& c : routeCases) {
        SCOPED_TRACE(c.name);
        // As the receive loop hands it over: the bytes, then a NUL.
        std::string received = c.datagram;
        EXPECT_EQ(c.route, MessageDispatcher::routeOf(received.c_str(), (int)received.size()));
    }
}

// The same chat text once as an IPMSG packet and once behind the share
// marker: only the first reaches the buddy list.
TEST(MessageDispatcher, HandsIpmsgPacketsToTheProcessorAndShareCommandsToTheShareHandler)
{
    MessageDispatcher dispatcher;
    std::string chat = "1:70:alice:pc1:32:hi";
    std::string shareCommand = "ZQMSG=ZQMSG:70:alice:pc1:32:hi";

    dispatcher.dispatch(shareCommand.c_str(), (int)shareCommand.size(), "127.0.0.1", "2425");
    EXPECT_TRUE(takeBuddyWindowDeliveries().empty());

    dispatcher.dispatch(chat.c_str(), (int)chat.size(), "127.0.0.1", "2425");
    std::vector<BuddyWindowDelivery> shown = takeBuddyWindowDeliveries();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("hi", shown[0].extra);
}

}  // namespace
