#include "engine/FileOffer.h"

#include "classlib/CFileFind.h"
#include "core/CUtils.h"
#include "core/FileSystem.h"
#include "core/Globals.h"
#include "core/IpmsgProtocol.h"
#include "engine/Messenger.h"
#include "engine/OfferDatagram.h"
#include "engine/TransferWriters.h"
#include "core/UdpPacketSender.h"

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

}  // namespace

int sendFileAttachMessage(CString ipList, CString text, CStringArray* paths)
{
    int packetNo = nextPacketNo();
    OfferDatagram datagram(packetNo, CUtils::getLoginUserName(), CUtils::getHostName(), text);

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
    }

    UdpPacketSender::sendToEach(udpSocket, datagram.data(), datagram.length(), ipList, IPMSG_PORT);
    return 0;
}
