// A file offer from a peer: the receipt goes out at once from the receive
// thread; asking the user, choosing the folder and starting the downloads
// happen on a thread of the offer's own, so that datagrams from everybody go
// on being read while the box is open.

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
#include "engine/WindowLinks.h"

#include <atomic>
#include <vector>

namespace {

// Each open question is a thread and a box on the user's screen: a peer that
// floods offers must not open them without bound. Offers beyond these are
// acknowledged and not asked.
const int MAX_OPEN_OFFER_QUESTIONS = 8;
std::atomic<int> openOfferQuestions(0);
const UINT ONLY_FILE_SYSTEM_FOLDERS = 0x0001;  // BIF_RETURNONLYFSDIRS

// What the user is asked about, read once out of the datagram: the prompt
// shows, and the downloads write, these very names.
struct FileOffer {
    CString ip;
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
    delete offer;
    --openOfferQuestions;
    return 0;
}

}  // namespace

void IpMessageProcessor::takeFileAttachMessage(const char* data, int length, IpMessage* message, CString ip,
                                               CString port)
{
    IpMessageParser parser;
    parser.parseRawPacket(data, length, IpMessageParser::READ_ANSWER_OR_OFFER, message);
    CStringArray entries;
    parser.splitAttachments(data, length, &entries);

    // Acknowledged before the user is asked, whatever the user decides.
    CString receipt;
    receipt.Format("1:%d:%s:%s:%d:%s", nextPacketNo(), (const char*)CUtils::getLoginUserName(),
                   (const char*)CUtils::getHostName(), IPMSG_RECVMSG, (const char*)message->packetNo);
    UdpPacketSender::sendReply(udpSocket, receipt, receipt.GetLength(), ip, IPMSG_PORT);

    FileOffer* offer = new FileOffer;
    offer->ip = message->senderIp;
    offer->senderName = senderNameOf(ip, message->user);
    readItems(entries, *message, port, &offer->items);
    if (++openOfferQuestions > MAX_OPEN_OFFER_QUESTIONS || AfxBeginThread(askAndDownload, offer) == NULL) {
        --openOfferQuestions;
        delete offer;
    }
}
