#include "LoopbackWire.h"
#include "classlib/Prompts.h"
#include "core/IpmsgProtocol.h"
#include "engine/MessageDispatcher.h"
#include "engine/MessageReceiverThread.h"
#include "engine/Messenger.h"
#include "tests/unit/support/RecordingPrompts.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

struct Dispatched {
    std::string data;
    bool nulBehind;
    std::string ip, port;
};

// Records what the receive loop hands over; closes the socket when the
// closing datagram arrives, which ends the loop.
class RecordingDispatcher : public MessageDispatcher {
public:
    RecordingDispatcher(SOCKET socket, const std::string& closing)
        : socket(socket),
          closing(closing)
    {
    }

    void dispatch(const char* data, int length, CString ip, CString port) override
    {
        seen.push_back({std::string(data, length), data[length] == '\0', (const char*)ip, (const char*)port});
        if (seen.back().data == closing)
            closesocket(socket);
    }

    std::vector<Dispatched> seen;

private:
    SOCKET socket;
    std::string closing;
};

SOCKET boundLoopbackSocket(sockaddr_in* boundTo)
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in any = loopbackAddress(0);
    bind(s, (const sockaddr*)&any, sizeof any);
    int length = sizeof *boundTo;
    getsockname(s, (sockaddr*)boundTo, &length);
    return s;
}

TEST(MessageReceiverThread, HandsOverDatagramsOfUpTo2048BytesWholeAndSkipsLongerOnes)
{
    // The messenger's socket does not block; the loop waits for datagrams all the same.
    for (u_long nonBlocking : {0ul, 1ul}) {
        SCOPED_TRACE(nonBlocking ? "non-blocking socket" : "blocking socket");
        sockaddr_in receiverAddress, senderAddress;
        SOCKET receiver = boundLoopbackSocket(&receiverAddress);
        ioctlsocket(receiver, FIONBIO, &nonBlocking);
        SOCKET sender = boundLoopbackSocket(&senderAddress);
        const std::string closing = "last";
        RecordingDispatcher dispatcher(receiver, closing);

        std::thread loop([&] { MessageReceiverThread::receiveDatagrams(receiver, dispatcher); });
        std::string largest(UDP_BUFFER_SIZE, 'a');
        largest[UDP_BUFFER_SIZE - 1] = 'z';
        std::string tooLong(UDP_BUFFER_SIZE + 1, 'b');
        const std::string* datagrams[] = {&largest, &tooLong, &closing};
        for (const std::string* datagram : datagrams)
            sendto(sender, datagram->data(), (int)datagram->size(), 0, (const sockaddr*)&receiverAddress,
                   sizeof receiverAddress);
        loop.join();
        closesocket(sender);

        ASSERT_EQ(2u, dispatcher.seen.size());
        EXPECT_EQ(largest, dispatcher.seen[0].data);
        EXPECT_TRUE(dispatcher.seen[0].nulBehind);
        EXPECT_EQ("127.0.0.1", dispatcher.seen[0].ip);
        EXPECT_EQ(std::to_string(ntohs(senderAddress.sin_port)), dispatcher.seen[0].port);
        EXPECT_EQ(closing, dispatcher.seen[1].data);
    }
}

TEST(MessageReceiverThread, TellsTheUserWhenTheTcpSocketCannotListen)
{
    RecordingPrompts prompts;
    setPromptScript(&prompts);
    SOCKET saved = tcpSocket;
    tcpSocket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);  // a datagram socket cannot listen

    EXPECT_EQ(0u, MessageReceiverThread::acceptTcpLoop(NULL));

    closesocket(tcpSocket);
    tcpSocket = saved;
    setPromptScript(NULL);
    ASSERT_EQ(1u, prompts.texts.size());
    EXPECT_EQ("错误...\n", prompts.texts[0]);
    EXPECT_EQ((UINT)MB_OK, prompts.types[0] & 0xF);
}

}  // namespace
