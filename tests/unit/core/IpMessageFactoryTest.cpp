#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/IpMessage.h"
#include "core/IpMessageFactory.h"
#include "core/IpmsgProtocol.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <thread>

namespace {

// Keeps the settings globals of the process as they were.
class IpMessageFactoryTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedName = userName;
        savedGroup = userGroupName;
    }
    void TearDown() override
    {
        userName = savedName;
        userGroupName = savedGroup;
    }

    IpMessageFactory factory;
    CString savedName;
    CString savedGroup;
};

TEST_F(IpMessageFactoryTest, EveryMessageHasOurHeaderAndAFreshNumber)
{
    userName = "Li";
    userGroupName = "Dev";
    struct Case {
        const char* name;
        IpMessage* message;
        int command;
        CString extra;
    } cases[] = {
        {"entry", factory.createBrEntryMessage(), IPMSG_BR_ENTRY, "Li;Dev"},
        {"answer", factory.createAnsEntryMessage(), IPMSG_ANSENTRY, "Li;Dev"},
        {"exit", factory.createBrExitMessage(), IPMSG_BR_EXIT, CUtils::getLoginUserName()},
        {"send", factory.createSendMessage("你好:there"), IPMSG_SENDMSG, "你好:there"},
        {"receipt", factory.createRecvMessage("42"), IPMSG_RECVMSG, "42"},
    };
    int previousNumber = 0;
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<IpMessage> message(c.message);
        EXPECT_STREQ(message->version, "1-1-ZQ");
        EXPECT_STREQ(message->user, CUtils::getLoginUserName());
        EXPECT_STREQ(message->host, CUtils::getHostName());
        EXPECT_FALSE(message->host.IsEmpty());
        EXPECT_EQ(message->command, c.command);
        EXPECT_STREQ(message->extra, c.extra);
        int number = atoi(message->packetNo);
        EXPECT_GT(number, previousNumber);
        previousNumber = number;
    }
}

struct EntryCase {
    const char* name;
    const char* userName;
    const char* groupName;
    const char* extra;  // NULL: the login name
    const char* trimmedName;
    const char* trimmedGroup;
};

TEST_F(IpMessageFactoryTest, EntryRuleTrimsTheGlobalsAndJoinsWhatIsSet)
{
    const EntryCase cases[] = {
        {"both set", "  Li ", "Dev-Web", "Li;Dev-Web", "Li", "Dev-Web"},
        {"only the name", "Li", " \t", "Li", "Li", ""},
        {"only the group", "", "Dev", "Dev", "", "Dev"},
        {"both blank", " \r\n\v\f", "\t", NULL, "", ""},
        {"both empty", "", "", NULL, "", ""},
        {"inner blanks stay", " 李 四 ", " 研发 部 ", "李 四;研发 部", "李 四", "研发 部"},
    };
    for (const EntryCase& c : cases) {
        for (int answer = 0; answer < 2; ++answer) {
            SCOPED_TRACE(std::string(c.name) + (answer ? " (answer)" : " (entry)"));
            userName = c.userName;
            userGroupName = c.groupName;
            std::unique_ptr<IpMessage> message(answer ? factory.createAnsEntryMessage()
                                                      : factory.createBrEntryMessage());
            CString expected = c.extra != NULL ? CString(c.extra) : CUtils::getLoginUserName();
            EXPECT_STREQ(message->extra, expected);
            EXPECT_STREQ(userName, c.trimmedName);
            EXPECT_STREQ(userGroupName, c.trimmedGroup);
        }
    }
}

// The receive thread answers entries while the user-interface thread edits
// the name: with the shared-state lock neither sees a half-written text.
TEST_F(IpMessageFactoryTest, AnswersStayWholeWhileTheNameIsRewritten)
{
    userName = "  Li ";
    userGroupName = " Dev ";
    std::atomic<bool> stop(false);
    std::thread editor([&stop]() {
        bool longName = false;
        while (!stop) {
            SharedStateLock lock;
            userName = longName ? " 一个很长很长很长很长很长的名字 " : "  Li ";
            userGroupName = " Dev ";
            longName = !longName;
        }
    });
    for (int i = 0; i < 5000; ++i) {
        std::unique_ptr<IpMessage> message(factory.createAnsEntryMessage());
        CString extra = message->extra;
        if (extra != "Li;Dev" && extra != "一个很长很长很长很长很长的名字;Dev") {
            ADD_FAILURE() << "torn entry text: " << (const char*)extra;
            break;
        }
    }
    stop = true;
    editor.join();
}

}  // namespace
