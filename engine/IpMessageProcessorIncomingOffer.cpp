// A file offer from a peer: on the receive thread, the words sent with the
// files go to the peer's chat window and the receipt goes out; asking the
// user, choosing the folder and starting the downloads happen on a thread of
// the offer's own, so that datagrams from everybody go on being read while
// the box is open.

#include "engine/IpMessageProcessor.h"

#include "classlib/CStringArray.h"
#include "classlib/Prompts.h"
#include "classlib/Thread.h"
#include "core/CUtils.h"
#include "core/Globals.h"
#include "core/IpMessage.h"
#include "core/IpMessageParser.h"
#include "core/IpmsgProtocol.h"
#include "core/NumberField.h"
#include "core/UdpPacketSender.h"
#include "engine/FileDownload.h"
#include "engine/Messenger.h"
#include "engine/ServingSlots.h"
#include "engine/WindowLinks.h"

#include <vector>

namespace {

// Each open question is a thread and a box on the user's screen until the
// user answers it, and a source address costs a sender nothing. Two per
// address let a peer offer again while the user still thinks about its
// first offer; more would let one host fill the screen. Thirty-two in all
// take sixteen addresses to fill, so a flood from a few hosts leaves room
// for the honest peers' offers. One question, its thread (a 2 MiB stack
// reserved) and its box, measured about 2 MB resident under Wine, so all
// of them hold about 64 MB and 64 MiB of stacks: a small part of the
// 32-bit program's 2 GiB. An offer past either bound is neither asked nor
// acknowledged, so its sender learns that it was not delivered.
const int OFFER_QUESTIONS_PER_ADDRESS = 2;
const int OFFER_QUESTIONS_IN_ALL = 32;

ServingSlots& openQuestions()
{
    // Made on first use and never destroyed: a question may still be open
    // while the process ends.
    static ServingSlots* questions = new ServingSlots(OFFER_QUESTIONS_PER_ADDRESS, OFFER_QUESTIONS_IN_ALL);
    return *questions;
}

const UINT ONLY_FILE_SYSTEM_FOLDERS = 0x0001;  // BIF_RETURNONLYFSDIRS

// What the user is asked about, read once out of the datagram: the prompt
// shows, and the downloads write, these very names.
struct FileOffer {
    CString ip;
    ULONG address;  // the place it holds among the open questions
    CString senderName;
    std::vector<DownloadItem> items;
};

CString senderNameOf(const CString& ip, const CString& userField)
{
    CString nickname;
    return lookUpNickname(ip, &nickname) ? nickname : userField;
}

// The items of the entries that are not empty after trimming.
void readItems(const CStringArray& entries, const IpMessage& message, const CString& port,
               std::vector<DownloadItem>* items)
{
    IpMessageParser parser;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
        CString trimmed = entries[i];
        trimmed.Trim();
        if (trimmed.IsEmpty())
            continue;
        DownloadItem item;
        CString mtime;
        parser.parseAttachEntry(entries[i], &item.fileId, &item.name, &item.size, &mtime, &item.attr);
        item.packetNo = message.packetNo;
        item.ip = message.senderIp;
        item.port = port;
        items->push_back(item);
    }
}

CString promptText(const FileOffer& offer)
{
    CString text;
    text.Format("来自：%s，IP：%s。\r\n对方发送了如下文件，是否接收？\r\n", (const char*)offer.senderName,
                (const char*)offer.ip);
    bool toldUnknown = false;
    for (const DownloadItem& item : offer.items) {
        int type = parseNumberField(item.attr, 10);
        CString line;
        if (type == IPMSG_FILE_REGULAR) {
            line.Format("文件：%s。\r\n", (const char*)item.name);
        } else if (type == IPMSG_FILE_DIR) {
            line.Format("目录：%s。\r\n", (const char*)item.name);
        } else if (!toldUnknown) {
            // One box per offer, however many such entries it holds.
            toldUnknown = true;
            AfxMessageBox("不能解析是文件，还是目录！", MB_OK);
        }
        text += line;
    }
    return text;
}

UINT askAndDownload(LPVOID parameter)
{
    FileOffer* offer = (FileOffer*)parameter;
    CString prompt = promptText(*offer);
    if (promptMessageBox(NULL, prompt, "接收文件", MB_YESNO) == IDYES) {
        CString folder;
        if (promptBrowseForFolder("选择目录", ONLY_FILE_SYSTEM_FOLDERS, folder)) {
            folder.Trim();
            if (!folder.IsEmpty()) {
                HWND progressWindow = receiveProgressWindow();
                if (progressWindow != NULL)
                    ShowWindow(progressWindow, SW_SHOW);
                startDownloads(offer->items, folder);
            }
        }
    }
    openQuestions().give(offer->address);
    delete offer;
    return 0;
}

}  // namespace

void IpMessageProcessor::takeFileAttachMessage(const char* data, int length, IpMessage* message, CString ip,
                                               CString port)
{
    // The words sent with the files are read as a chat text is: up to the
    // first NUL, ':' and all.
    IpMessageParser parser;
    parser.parseRawPacket(data, length, IpMessageParser::READ_CHAT_TEXT, message);
    CStringArray entries;
    parser.splitAttachments(data, length, &entries);

    ULONG address = inet_addr(ip);
    if (!openQuestions().take(address))
        return;
    // Shown once, before the question, as a text from the peer; the chat
    // window's own bound holds for it as for any text, and an offer whose
    // words are not shown is not asked either.
    if (!message->extra.IsEmpty() &&
        SendMessageA(buddyListWindow(), WM_USER_RECEIVE_MESSAGE, 0, (LPARAM)message) != CHAT_TEXT_TAKEN) {
        openQuestions().give(address);
        return;
    }

    FileOffer* offer = new FileOffer;
    offer->ip = message->senderIp;
    offer->address = address;
    offer->senderName = senderNameOf(ip, message->user);
    readItems(entries, *message, port, &offer->items);
    if (AfxBeginThread(askAndDownload, offer) == NULL) {
        openQuestions().give(address);
        delete offer;
        return;
    }

    // Acknowledged once the user is asked, whatever the user decides.
    CString receipt;
    receipt.Format("1:%d:%s:%s:%d:%s", nextPacketNo(), (const char*)CUtils::getLoginUserName(),
                   (const char*)CUtils::getHostName(), IPMSG_RECVMSG, (const char*)message->packetNo);
    UdpPacketSender::sendReply(udpSocket, receipt, receipt.GetLength(), ip, IPMSG_PORT);
}
