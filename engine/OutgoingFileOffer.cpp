#include "engine/OutgoingFileOffer.h"

#include "classlib/CFileFind.h"
#include "classlib/CStringArray.h"
#include "core/CUtils.h"
#include "core/FileSystem.h"
#include "core/Globals.h"
#include "core/IpmsgProtocol.h"
#include "core/UdpPacketSender.h"
#include "engine/Messenger.h"
#include "engine/OfferDatagram.h"
#include "engine/TransferWriters.h"

namespace {

struct OfferedItem {
    CString name;
    DWORD size;  // low 32 bits
    bool isFolder;
};

// What the file system says about path now; false when nothing is there.
bool lookUpItem(const CString& path, OfferedItem* item)
{
    CFileFind finder;
    if (!finder.FindFile(path))
        return false;
    finder.FindNextFile();
    item->name = finder.GetFileName();
    item->isFolder = finder.IsDirectory() != FALSE;
    ULONGLONG size = item->isFolder ? getFolderSize(path) : finder.GetLength();
    item->size = (DWORD)(size & 0xFFFFFFFFu);
    finder.Close();
    return true;
}

// The addresses of ipList as the serving side sees its peers, ",a,b,": each
// piece that is a dotted IPv4 address (the only ones the offer is sent to) in
// the form inet_ntoa writes.
CString recipientsOf(const CString& ipList)
{
    CStringArray pieces;
    CUtils::splitToArray(ipList, ",", &pieces);
    CString recipients(",");
    for (INT_PTR i = 0; i < pieces.GetSize(); ++i) {
        CString ip = pieces[i];
        ip.Trim();
        sockaddr_in address;
        if (!UdpPacketSender::destinationOf(ip, IPMSG_PORT, &address))
            continue;
        recipients += CString(inet_ntoa(address.sin_addr)) + ",";
    }
    return recipients;
}

}  // namespace

int sendFileAttachMessage(CString ipList, CString text, CStringArray* paths)
{
    int packetNo = nextPacketNo();
    OfferDatagram datagram(packetNo, CUtils::getLoginUserName(), CUtils::getHostName(), text);
    // Only the addressees may fetch the items: the keys are no secret, as
    // every datagram shows the packet counter.
    CString recipients = recipientsOf(ipList);

    for (INT_PTR i = 0; i < paths->GetSize(); ++i) {
        CString path = paths->GetAt(i);
        OfferedItem item;
        if (!lookUpItem(path, &item))
            continue;
        int fileId = nextPacketNo();
        if (!datagram.addEntry(attachEntry(fileId, item.name, item.size, item.isFolder)))
            break;  // keeps the offer in the caller's order: nothing after a gap
        CString key;
        key.Format("%d-%d", packetNo, fileId);
        SharedStateLock lock;
        shareIdMap.SetAt(key, path);
        shareRecipients.SetAt(key, recipients);
    }

    UdpPacketSender::sendOwnToEach(udpSocket, datagram.data(), datagram.length(), ipList, IPMSG_PORT);
    return 0;
}
