// The receiving side of a file transfer: a few threads per accepted offer
// take its items in turn; for each, they connect to the offering peer, ask
// for the item and write what comes back under the folder the user chose,
// reporting to the receive-progress window.
//
// Every item that does not arrive whole ends with WM_USER_RECEIVE_ERROR: a
// peer that cannot be reached, a file that cannot be created, a connection
// that ends before the announced size, a folder stream that breaks off or
// cannot be followed, and a peer that stays silent for the idle time.

#include "engine/FileDownload.h"

#include "classlib/CFile.h"
#include "classlib/Mbcs.h"
#include "classlib/Prompts.h"
#include "classlib/Thread.h"
#include "core/CUtils.h"
#include "core/FolderStreamParser.h"
#include "core/Globals.h"
#include "core/IpmsgProtocol.h"
#include "core/NumberField.h"
#include "core/SafeNames.h"
#include "engine/DownloadFolder.h"
#include "engine/WindowLinks.h"

#include <vector>

namespace {

// One receive takes up to 1 MiB: each call into the sockets layer, each
// write and each progress message has a fixed cost that, paid per 32 KiB,
// would cap the rate far below what the link carries.
const int RECEIVE_BLOCK_SIZE = 32 * 32768;

// The full-width colon (code page 936 bytes A3 BA).
const char* const FULL_WIDTH_COLON = "\xA3\xBA";

volatile LONG idleTimeoutMs = DEFAULT_DOWNLOAD_IDLE_TIMEOUT_MS;
volatile LONG receiveBufferBytes = DEFAULT_DOWNLOAD_RECEIVE_BUFFER;

// The items of one accepted offer and the threads that fetch them.
class Batch {
public:
    Batch(const std::vector<DownloadItem>& items, const CString& saveDir)
        : items(items),
          saveDir(saveDir),
          m_next(0),
          m_users(0)
    {
        for (LONG& told : m_told)
            told = 0;
    }

    // The next item nobody has taken, or NULL when all are taken.
    const DownloadItem* take()
    {
        LONG index = InterlockedIncrement(&m_next) - 1;
        return index < (LONG)items.size() ? &items[(size_t)index] : NULL;
    }

    void use(LONG users) { m_users = users; }
    // The last thread done with the batch frees it.
    void release()
    {
        if (InterlockedDecrement(&m_users) == 0)
            delete this;
    }

    enum Box { SOCKET_FAILED, NOT_REACHED, SEND_FAILED, UNKNOWN_TYPE, BOX_COUNT };
    // A box of each kind once for the whole batch: a peer that cannot be
    // reached would otherwise open one per item. It is shown once the item's
    // row tells its end: the box waits for the user, the row should not.
    void tellOnce(Box box, const CString& text)
    {
        if (InterlockedExchange(&m_told[box], 1) == 0)
            AfxMessageBox(text);
    }

    const std::vector<DownloadItem> items;
    const CString saveDir;

private:
    volatile LONG m_next;
    volatile LONG m_users;
    LONG m_told[BOX_COUNT];
};

// A name as the window's row shows it. A name that is written is shown as
// it is; one that is refused (and never written) may hold ':' or end in a
// lead byte, which would cut the window's text elsewhere and leave the row
// without its IP and file id: there, such bytes show as '?', so that the
// row still shows the item and its error.
CString rowName(const CString& name)
{
    if (isSafeName(name))
        return name;
    CString shown = name;
    int length = shown.GetLength();
    // Every ':' byte, also one that a lead byte before it would take as its pair.
    for (int i = 0; i < length; ++i) {
        if (shown[i] == ':')
            shown.SetAt(i, '?');
    }
    int last = 0;
    for (int i = 0; i < length; i += mbcsCharLength(shown, i, length))
        last = i;
    if (length > 0 && isLeadByte((unsigned char)shown[last]) && last == length - 1)
        shown.SetAt(last, '?');
    return shown;
}

// What the receive-progress window gets with the start: the item's fields
// and the save folder joined by ':' (the form its rows are read from). The
// window never reads the folder; its ':' is written full-width here so that
// the text keeps its eight fields. The download itself uses the folder as
// picked.
CString windowParameter(const DownloadItem& item, const CString& saveDir)
{
    CString folder = saveDir;
    folder.Replace(":", FULL_WIDTH_COLON);
    CString text;
    text.Format("%s:%s:%s:%s:%s:%s:%s:%s", (const char*)item.packetNo, (const char*)item.ip, (const char*)item.port,
                (const char*)item.fileId, (const char*)rowName(item.name), (const char*)item.size,
                (const char*)item.attr, (const char*)folder);
    return text;
}

// The messages about one item; a message the window cannot take frees its
// payload at once.
class Report {
public:
    explicit Report(const DownloadItem& item)
        : m_ip(item.ip),
          m_fileId(item.fileId)
    {
    }

    void progress(int bytes) const
    {
        CString text;
        text.Format("%s:%s:%d", (const char*)m_ip, (const char*)m_fileId, bytes);
        post(WM_USER_RECEIVE_PROGRESS, text);
    }
    void finished() const { post(WM_USER_RECEIVE_FINISH, endText()); }
    void failed() const { post(WM_USER_RECEIVE_ERROR, endText()); }
    void end(bool whole) const { whole ? finished() : failed(); }

private:
    CString endText() const
    {
        CString text;
        text.Format("%s:%s", (const char*)m_ip, (const char*)m_fileId);
        return text;
    }
    static void post(UINT message, const CString& text)
    {
        CString* payload = new CString(text);
        HWND window = receiveProgressWindow();
        if (window == NULL || !PostMessageA(window, message, 0, (LPARAM)payload))
            delete payload;
    }

    CString m_ip;
    CString m_fileId;
};

// Writes a folder stream under the save folder, one progress message per write.
class FolderWriter : public FolderStreamParser::Sink {
public:
    FolderWriter(DownloadFolder& place, const Report& report)
        : m_place(place),
          m_report(report)
    {
    }

    bool enterFolder(const CString& name) override { return m_place.enter(name); }
    void leaveFolder() override { m_place.leave(); }
    bool createFile(const CString& name) override { return m_file.Attach(m_place.createFile(name)) != FALSE; }
    bool write(const char* data, int length) override
    {
        if (!m_file.Write(data, (UINT)length))
            return false;
        m_report.progress(length);
        return true;
    }
    void closeFile() override { m_file.Close(); }
    void unknownType(const CString& attr) override
    {
        m_sawUnknownType = true;
        m_unknownType = attr;
    }

    // Whether the stream held an entry of unknown type, and its attribute.
    bool sawUnknownType() const { return m_sawUnknownType; }
    const CString& unknownType() const { return m_unknownType; }

private:
    DownloadFolder& m_place;
    const Report& m_report;
    CFile m_file;
    bool m_sawUnknownType = false;
    CString m_unknownType;
};

// What an item's end leaves the user to be told, once its row shows the end.
struct Told {
    Told()
        : box(Batch::BOX_COUNT)
    {
    }
    void set(Batch::Box kind, const CString& what)
    {
        box = kind;
        text = what;
    }

    Batch::Box box;  // BOX_COUNT: nothing
    CString text;
};

SOCKET connectToPeer(const CString& ip, Told& told)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        told.set(Batch::SOCKET_FAILED, "Error at socket().\n");
        return INVALID_SOCKET;
    }
    int receiveBuffer = (int)receiveBufferBytes;
    if (receiveBuffer > 0)
        setsockopt(s, SOL_SOCKET, SO_RCVBUF, (const char*)&receiveBuffer, sizeof receiveBuffer);
    DWORD idle = (DWORD)idleTimeoutMs;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, (const char*)&idle, sizeof idle);
    sockaddr_in address;
    ZeroMemory(&address, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr(ip);
    address.sin_port = htons(IPMSG_PORT);
    if (connect(s, (sockaddr*)&address, sizeof address) == SOCKET_ERROR) {
        closesocket(s);
        told.set(Batch::NOT_REACHED, "错误：不能连接到对方主机.");
        return INVALID_SOCKET;
    }
    return s;
}

// False when the request could not be sent: the connection is gone.
bool sendRequest(SOCKET s, const DownloadItem& item, int command, Told& told)
{
    CString request;
    request.Format("1:%d:%s:%s:%d:%x:%x:0", nextPacketNo(), (const char*)CUtils::getLoginUserName(),
                   (const char*)CUtils::getHostName(), command, (unsigned int)parseNumberField(item.packetNo, 10),
                   (unsigned int)parseNumberField(item.fileId, 10));
    if (send(s, request, request.GetLength(), 0) != SOCKET_ERROR)
        return true;
    told.set(Batch::SEND_FAILED, "send error.");
    return false;
}

// The announced size, read as the unsigned 32 bits that an offer carries.
// Exactly the announced bytes go to disk: what a peer sends beyond them is
// not read. True when all of them arrived.
bool receiveFile(SOCKET s, const DownloadItem& item, DownloadFolder& place, const Report& report,
                 std::vector<char>& buffer)
{
    ULONGLONG rest = announcedSize(item.size);
    int n = 0;
    if (rest > 0) {
        n = recv(s, &buffer[0], RECEIVE_BLOCK_SIZE, 0);
        if (n <= 0)
            return false;  // nothing arrived: no file
    }
    CFile file;
    if (!file.Attach(place.createFile(item.name)))
        return false;
    while (rest > 0 && n > 0) {
        int count = (ULONGLONG)n < rest ? n : (int)rest;
        if (!file.Write(&buffer[0], (UINT)count))
            return false;
        report.progress(count);
        rest -= (ULONGLONG)count;
        if (rest > 0)
            n = recv(s, &buffer[0], RECEIVE_BLOCK_SIZE, 0);
    }
    return rest == 0;
}

bool receiveFolder(SOCKET s, const DownloadItem& item, DownloadFolder& place, const Report& report, Told& told,
                   std::vector<char>& buffer)
{
    FolderWriter writer(place, report);
    FolderStreamParser parser(writer, item.name, place.room());
    int n;
    while ((n = recv(s, &buffer[0], RECEIVE_BLOCK_SIZE, 0)) > 0) {
        parser.feed(&buffer[0], n);
        if (parser.broken())
            break;
    }
    bool whole = parser.finish();
    if (writer.sawUnknownType())
        told.set(Batch::UNKNOWN_TYPE, "错误，不识别的文件类型：" + writer.unknownType());
    return n == 0 && whole;
}

void download(const DownloadItem& item, Batch& batch, std::vector<char>& buffer)
{
    CString parameter = windowParameter(item, batch.saveDir);
    // Synchronous: the row exists before any later message about the item.
    SendMessageA(receiveProgressWindow(), WM_USER_RECEIVE_START, 0, (LPARAM)&parameter);
    Report report(item);
    bool isFile = item.attr == "1";
    // A name that would leave the chosen folder is refused, not renamed.
    if ((!isFile && item.attr != "2") || !isSafeName(item.name)) {
        report.failed();
        return;
    }
    DownloadFolder place(batch.saveDir);
    if (!place.usable()) {
        report.failed();
        return;
    }
    Told told;
    SOCKET s = connectToPeer(item.ip, told);
    bool whole = false;
    if (s != INVALID_SOCKET) {
        if (sendRequest(s, item, isFile ? IPMSG_GETFILEDATA : IPMSG_GETDIRFILES, told))
            whole = isFile ? receiveFile(s, item, place, report, buffer)
                           : receiveFolder(s, item, place, report, told, buffer);
        closesocket(s);
    }
    report.end(whole);
    if (told.box != Batch::BOX_COUNT)
        batch.tellOnce(told.box, told.text);
}

// A thread of the batch: items in turn until none is left.
UINT downloadInTurn(LPVOID parameter)
{
    Batch* batch = (Batch*)parameter;
    std::vector<char> buffer(RECEIVE_BLOCK_SIZE);
    while (const DownloadItem* item = batch->take())
        download(*item, *batch, buffer);
    batch->release();
    return 0;
}

// The number text of a field, as the request and the window's rows read it.
CString numberText(const CString& field)
{
    CString text;
    text.Format("%d", parseNumberField(field, 10));
    return text;
}

}  // namespace

void setDownloadReceiveBuffer(int bytes)
{
    InterlockedExchange(&receiveBufferBytes, (LONG)bytes);
}

void setDownloadIdleTimeout(DWORD milliseconds)
{
    InterlockedExchange(&idleTimeoutMs, (LONG)milliseconds);
}

void startDownloads(const std::vector<DownloadItem>& items, const CString& saveDir)
{
    if (items.empty())
        return;
    // Numbers are carried as the numbers they are read as, so that the rows,
    // the progress messages and the request all name the same item.
    std::vector<DownloadItem> read(items);
    for (DownloadItem& item : read) {
        item.packetNo = numberText(item.packetNo);
        item.fileId = numberText(item.fileId);
        item.size = numberText(item.size);
        item.attr = numberText(item.attr);
    }
    Batch* batch = new Batch(read, saveDir);
    LONG threads = (LONG)(items.size() < (size_t)MAX_DOWNLOADS_AT_ONCE ? items.size() : MAX_DOWNLOADS_AT_ONCE);
    batch->use(threads);
    for (LONG i = 0; i < threads; ++i) {
        if (AfxBeginThread(downloadInTurn, batch) == NULL)
            batch->release();
    }
}
