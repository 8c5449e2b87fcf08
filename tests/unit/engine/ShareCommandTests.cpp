#include "LoopbackWire.h"
#include "RecordingBuddyWindow.h"
#include "core/Globals.h"
#include "core/User.h"
#include "engine/ShareCommandProcessor.h"
#include "core/ShareListReply.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

const std::string REPLY = "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE=";
const std::string REQUEST = "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST";

void handle(const std::string& datagram, const char* ip = "127.0.0.1")
{
    ShareCommandProcessor processor;
    processor.handleShareCommand(datagram.c_str(), (int)datagram.size(), ip, "2425");
}

void setOwnShares(const Strings& entries)
{
    SharedStateLock lock;
    ownShareEntries.RemoveAll();
    for (const std::string& entry : entries)
        ownShareEntries.Add(entry.c_str());
}

struct CommandCase {
    const char* name;
    std::string datagram;
    bool request, reply;
};

const CommandCase commandCases[] = {
    {"request", REQUEST, true, false},
    {"reply", REPLY, false, true},
    {"reply with entries", REPLY + "1:2:a:3", false, true},
    {"command with a suffix", REQUEST + "_X", false, false},
    {"command in lower case", "ZQMSG=ZQMSG&COMMAND=get_share_floder_list", false, false},
    {"no command", "ZQMSG=ZQMSG&MESSAGE=1:2:a:3", false, false},
    {"command with two '='", "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST=", false, false},
    {"no marker", "ZQMSG=ZQMSX&COMMAND=GET_SHARE_FLODER_LIST", false, false},
    {"marker alone", "ZQMSG=ZQMSG", false, false},
};

TEST(ShareCommandProcessor, TellsRequestsFromRepliesByTheWholeCommand)
{
    ShareCommandProcessor processor;
    for (const CommandCase& c : commandCases) {
        SCOPED_TRACE(c.name);
        const char* data = c.datagram.c_str();
        int length = (int)c.datagram.size();
        EXPECT_EQ(c.request, processor.isShareListRequest(data, length, "10.0.0.1", "2425") != FALSE);
        EXPECT_EQ(c.reply, processor.isShareListReply(data, length, "10.0.0.1", "2425") != FALSE);
    }
}

struct ReplyCase {
    const char* name;
    std::string message;  // after "MESSAGE=", or a whole datagram with wholeDatagram
    bool delivered;  // the peers' page is handed the reply at all
    Strings entries;
    Strings names;
    int malformed;
    bool wholeDatagram;
};

const ReplyCase replyCases[] = {
    {"empty MESSAGE", "", false, {}, {}, 0, false},
    {"blank MESSAGE", "  \t ", false, {}, {}, 0, false},
    {"no MESSAGE", "ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY", false, {}, {}, 0, true},
    {"one entry", "5:6:docs:1024", true, {"5:6:docs:1024"}, {"docs"}, 0, false},
    {"blanks around entries and a blank piece",
     " 1:2:docs:10 ; ;\t3:4:pics:20 ",
     true,
     {"1:2:docs:10", "3:4:pics:20"},
     {"docs", "pics"},
     0,
     false},
    {"a trailing ';'", "1:2:docs:10;", true, {"1:2:docs:10"}, {"docs"}, 0, false},
    {"a piece with three fields", "1:2:docs;3:4:pics:20", true, {"3:4:pics:20"}, {"pics"}, 1, false},
    {"only malformed pieces", "1:2;x", true, {}, {}, 2, false},
    {"a name with ':'", "1:2:a:b:10;3:4:c:1", true, {"3:4:c:1"}, {"c"}, 1, false},
    {"a name with ';'", "1:2:a;b:10;3:4:c:1", true, {"3:4:c:1"}, {"c"}, 2, false},
    // The rest of the value after '&' is a pair of its own.
    {"a name with '&'", "1:2:ok:5;3:4:a&b:10;5:6:c:1", true, {"1:2:ok:5"}, {"ok"}, 1, false},
    // The pair has three parts and is never matched.
    {"a name with '='", "1:2:ok:5;3:4:a=b:10", false, {}, {}, 0, false},
    {"a chinese name", "7:8:共享资料:99", true, {"7:8:共享资料:99"}, {"共享资料"}, 0, false},
};

TEST(ShareCommandProcessor, HandsEachReplysEntriesToThePeersPageWithoutABox)
{
    takeShareWindowDeliveries();
    for (const ReplyCase& c : replyCases) {
        SCOPED_TRACE(c.name);
        handle(c.wholeDatagram ? c.message : REPLY + c.message, "10.9.9.9");
        std::vector<ShareWindowDelivery> delivered = takeShareWindowDeliveries();
        if (!c.delivered) {
            EXPECT_TRUE(delivered.empty());
            continue;
        }
        ASSERT_EQ(1u, delivered.size());
        EXPECT_EQ(c.entries, delivered[0].entries);
        EXPECT_EQ(c.names, delivered[0].names);
        EXPECT_EQ(c.malformed, delivered[0].malformedPieces);
        EXPECT_EQ("10.9.9.9", delivered[0].ip);
        EXPECT_EQ("", delivered[0].userName);  // not in userMap
    }
}

TEST(ShareCommandProcessor, NamesTheSenderOfAReplyByItsNickname)
{
    User* user = new User;
    user->nickname = "小王";
    user->ip = "10.9.9.8";
    {
        SharedStateLock lock;
        userMap.SetAt("10.9.9.8", user);
    }
    takeShareWindowDeliveries();
    handle(REPLY + "1:2:docs:10", "10.9.9.8");
    std::vector<ShareWindowDelivery> delivered = takeShareWindowDeliveries();
    removeAllUsers();
    ASSERT_EQ(1u, delivered.size());
    EXPECT_EQ("小王", delivered[0].userName);
}

TEST(ShareCommandProcessor, AnswersARequestWithTheOwnSharesAndNothingElse)
{
    setOwnShares({"11:12:docs:100", "13:14:pics:0"});
    std::vector<std::string> sent = datagramsSentDuring([] { handle(REQUEST); });
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(REPLY + "11:12:docs:100;13:14:pics:0", sent[0]);

    setOwnShares({});
    sent = datagramsSentDuring([] { handle(REQUEST); });
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(REPLY, sent[0]);
}

TEST(ShareCommandProcessor, NeverTakesAReplyForARequest)
{
    setOwnShares({"11:12:docs:100"});
    EXPECT_TRUE(datagramsSentDuring([] { handle(REPLY + "1:2:a:3"); }).empty());
    EXPECT_TRUE(datagramsSentDuring([] { handle(REPLY); }).empty());
    takeShareWindowDeliveries();
    setOwnShares({});
}

// Entries of 40 bytes each: the reply holds the ones that fit into one
// datagram, whole and in order, and a later short one that still fits.
TEST(ShareCommandProcessor, KeepsALongListWithinOneDatagram)
{
    Strings entries;
    for (int i = 0; i < 100; ++i) {
        char entry[64];
        snprintf(entry, sizeof entry, "%d:%d:%s:%d", 1000 + i, 2000 + i, std::string(25, 'a' + i % 26).c_str(), i);
        entries.push_back(entry);
    }
    setOwnShares(entries);
    std::vector<std::string> sent = datagramsSentDuring([] { handle(REQUEST); });
    setOwnShares({});
    ASSERT_EQ(1u, sent.size());
    ASSERT_LE(sent[0].size(), 2048u);
    ASSERT_EQ(0u, sent[0].find(REPLY));
    std::string expected;
    for (const std::string& entry : entries) {
        if (REPLY.size() + expected.size() + entry.size() + (expected.empty() ? 0 : 1) > 2048)
            break;
        expected += (expected.empty() ? "" : ";") + entry;
    }
    EXPECT_EQ(REPLY + expected, sent[0]);

    // A receiver reads back every entry it carries.
    ShareListReply reply;
    reply.read(sent[0].c_str(), (int)sent[0].size());
    EXPECT_GT(reply.entries.GetSize(), 40);
    EXPECT_EQ(0, reply.malformedPieces);
}

TEST(ShareListReply, LeavesOutAnEntryTooLongForTheDatagramButKeepsLaterOnes)
{
    CStringArray entries;
    entries.Add("1:2:a:1");
    entries.Add(CString("3:4:") + CString(std::string(2100, 'n').c_str()) + ":5");
    entries.Add("6:7:b:1");
    EXPECT_EQ(CString("1:2:a:1;6:7:b:1"), ShareListReply::joinWithinOneDatagram(entries));
}

TEST(ShareListReply, AcceptsOnlyNamesFreeOfTheReplySeparators)
{
    EXPECT_TRUE(ShareListReply::isShareableName("我的文档 2024"));
    for (const char* name : {"a;b", "a&b", "a=b", "a:b"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ShareListReply::isShareableName(name));
    }
}

}  // namespace
