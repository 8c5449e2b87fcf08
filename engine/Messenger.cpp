#include "engine/Messenger.h"

#include "classlib/Prompts.h"
#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/IpMessage.h"
#include "core/IpMessageFactory.h"
#include "core/IpmsgProtocol.h"
#include "core/Settings.h"
#include "core/UdpPacket.h"
#include "core/UdpPacketSender.h"
#include "engine/IpMessageSender.h"
#include "engine/MessageReceiverThread.h"

namespace {

const char PORT_BUSY_TEXT[] = "错误：UDP端口被其它程序占用!\r\n"
                              "您可能已经开启了飞鸽（IPMsg）、飞秋（FeiQ）或ZQ。\r\n"
                              "如果要开启新程序，请先关闭原程序。";
const char AUTO_START_QUESTION[] = "是否在开机时自动启动ZQ？";
const char AUTO_START_CAPTION[] = "ZQ 开机启动设置";

// No settings file yet means this is the first run: the host name becomes
// the user name, and the user decides once about starting with Windows.
void settleFirstRun()
{
    CString directory = CUtils::getSystemDirectory();
    directory.Trim();
    if (directory.IsEmpty() || hasSettingsFile())
        return;

    CString hostName = CUtils::getHostName();
    {
        SharedStateLock lock;
        userName = hostName;
    }
    int answer = promptMessageBox(NULL, AUTO_START_QUESTION, AUTO_START_CAPTION, MB_YESNO);
    isAutoStart = answer == IDYES ? TRUE : FALSE;
    saveConfig();
}

}  // namespace

int initMessenger()
{
    loadConfig();

    WSADATA details;
    WSAStartup(MAKEWORD(1, 1), &details);

    // Port 2425 taken almost always means another messenger runs here. We
    // never announced ourselves, so we say no goodbye either: an exit with
    // the same user, host and address would sign the running copy off.
    if (!createUdpSocket() || !createTcpSocket()) {
        AfxMessageBox(PORT_BUSY_TEXT, MB_OK);
        WSACleanup();
        PostQuitMessage(0);
        return -1;
    }

    settleFirstRun();
    return 1;
}

int startMessenger(void (*afterEntry)())
{
    // Our entry is the first datagram we send; answers wait in the socket
    // until the receive thread runs, after everything they reach exists.
    sendBrEntry();
    if (afterEntry != NULL)
        afterEntry();
    CUtils::requestShareLists();
    MessageReceiverThread* receiver = new MessageReceiverThread;  // lives for the whole run
    receiver->start();
    return 0;
}

void stopMessenger()
{
    sendBrExit();
    WSACleanup();
}

namespace {

// While the receive thread handles one datagram, the others wait in the
// socket's receive buffer. A few hundred peers answer our entry broadcast
// within milliseconds, and a busy network floods us with datagrams we drop:
// 8 KiB held only a few of them, this holds thousands (Linux caps it at
// net.core.rmem_max).
const int UDP_RECEIVE_BUFFER = 4 * 1024 * 1024;
// A datagram to an address whose lookup is pending stays in the send buffer
// until the lookup fails, about 3 s: a small answer holds about 0.8 KB of it,
// a share list 3.5 KB. 8 KiB were full after some ten of them, and every
// other reply and text waited or, now that the socket does not block, would
// be dropped. 4 MiB hold thousands of them, more than the replies a flood of
// forged sources gets within their lookups (Linux caps it at twice
// net.core.wmem_max).
const int UDP_SEND_BUFFER = 4 * 1024 * 1024;
const int TCP_BUFFER = 0x8000;

// Makes a socket into target and binds it to port 2425 on every local
// address. No SO_REUSEADDR: a second copy of the program must fail here.
int createBoundSocket(SOCKET* target, int type, int protocol, int receiveBuffer, int sendBuffer)
{
    *target = socket(AF_INET, type, protocol);
    if (*target == INVALID_SOCKET)
        return 0;

    sockaddr_in address;
    ZeroMemory(&address, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(IPMSG_PORT);
    if (bind(*target, (const sockaddr*)&address, sizeof address) != 0)
        return 0;

    setsockopt(*target, SOL_SOCKET, SO_RCVBUF, (const char*)&receiveBuffer, sizeof receiveBuffer);
    setsockopt(*target, SOL_SOCKET, SO_SNDBUF, (const char*)&sendBuffer, sizeof sendBuffer);
    return 1;
}

}  // namespace

int createUdpSocket()
{
    if (!createBoundSocket(&udpSocket, SOCK_DGRAM, IPPROTO_UDP, UDP_RECEIVE_BUFFER, UDP_SEND_BUFFER))
        return 0;
    // No send waits: the receive thread and the window thread send on this
    // socket (core/UdpPacketSender.h), and the receive thread waits for
    // datagrams in select.
    u_long nonBlocking = 1;
    return ioctlsocket(udpSocket, FIONBIO, &nonBlocking) == 0 ? 1 : 0;
}

int createTcpSocket()
{
    return createBoundSocket(&tcpSocket, SOCK_STREAM, IPPROTO_TCP, TCP_BUFFER, TCP_BUFFER);
}

namespace {

int broadcastMessage(IpMessage* message)
{
    IpMessageSender sender;
    sender.broadcast(message);
    delete message;
    return 0;
}

}  // namespace

int sendBrEntry()
{
    IpMessageFactory factory;
    return broadcastMessage(factory.createBrEntryMessage());
}

int sendBrExit()
{
    IpMessageFactory factory;
    return broadcastMessage(factory.createBrExitMessage());
}

int sendRecvMessage(CString packetNo, CString ip)
{
    IpMessageFactory factory;
    IpMessage* receipt = factory.createRecvMessage(packetNo);
    UdpPacket packet;
    receipt->toUdpPacket(ip, IPMSG_PORT, &packet);
    UdpPacketSender::sendReplyPacket(udpSocket, packet);
    delete receipt;
    return 0;
}

int sendTextMessage(CString text, CString ipList)
{
    IpMessageFactory factory;
    IpMessage* message = factory.createSendMessage(text);
    // A text too long for one datagram is cut by writeTo at a character
    // boundary; what goes out is exactly what writeTo wrote.
    char buffer[UDP_BUFFER_SIZE];
    int length = message->writeTo(buffer);
    UdpPacketSender::sendOwnToEach(udpSocket, buffer, length, ipList, IPMSG_PORT);
    delete message;
    return 0;
}
