// The receiving side of a file transfer: one thread per item connects to the
// offering peer, asks for the item and writes what comes back under the
// folder the user chose, reporting to the receive-progress window.
//
// Every item that does not arrive whole ends with WM_USER_RECEIVE_ERROR: a
// peer that cannot be reached, a file that cannot be created, a connection
// that ends before the announced size, a folder stream that breaks off or
// cannot be followed, and a peer that stays silent for the idle time.

#include "engine/FileDownload.h"

#include "classlib/CStringArray.h"
#include "classlib/Prompts.h"
#include "classlib/Thread.h"
#include "core/CUtils.h"
#include "core/FolderStreamParser.h"
#include "core/Globals.h"
#include "core/IpmsgProtocol.h"
#include "core/NumberField.h"
#include "core/SafeNames.h"
#include "engine/LongPath.h"
#include "engine/WindowLinks.h"

#include <vector>

namespace {

// One receive takes up to 1 MiB: each call into the sockets layer, each
// write and each progress message has a fixed cost that, paid per 32 KiB,
// would cap the rate far below what the link carries.
const int RECEIVE_BLOCK_SIZE = 32 * 32768;

volatile LONG idleTimeoutMs = DEFAULT_DOWNLOAD_IDLE_TIMEOUT_MS;
volatile LONG receiveBufferBytes = DEFAULT_DOWNLOAD_RECEIVE_BUFFER;

// The eight fields of a download parameter.
struct DownloadItem {
    CString packetNo, ip, port, fileId, name, size, attr, saveDir;
};

bool readParameter(const CString& parameter, DownloadItem* item)
{
    CStringArray fields;
    CUtils::splitToArray(parameter, ":", &fields);
    if (fields.GetSize() != 8)
        return false;
    item->packetNo = fields[0];
    item->ip = fields[1];
    item->port = fields[2];
    item->fileId = fields[3];
    item->name = fields[4];
    item->size = fields[5];
    item->attr = fields[6];
    item->saveDir = fields[7];
    item->saveDir.Replace(FULL_WIDTH_COLON, ":");
    return true;
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

// One file being written, by a path of any length.
class OutputFile {
public:
    OutputFile()
        : m_handle(INVALID_HANDLE_VALUE)
    {
    }
    ~OutputFile() { close(); }

    bool create(const std::wstring& path)
    {
        close();
        m_handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL);
        return m_handle != INVALID_HANDLE_VALUE;
    }
    bool write(const char* data, int length)
    {
        DWORD written = 0;
        return WriteFile(m_handle, data, (DWORD)length, &written, NULL) && written == (DWORD)length;
    }
    void close()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

// Writes a folder stream under the save folder, one progress message per write.
class FolderWriter : public FolderStreamParser::Sink {
public:
    FolderWriter(const CString& saveDir, const Report& report)
        : m_root(longPathW(saveDir)),
          m_report(report),
          m_toldUnknown(false)
    {
    }

    void makeFolder(const CString& path) override { CreateDirectoryW(joinPathW(m_root, toWide(path)).c_str(), NULL); }
    bool createFile(const CString& path) override { return m_file.create(joinPathW(m_root, toWide(path))); }
    bool write(const char* data, int length) override
    {
        if (!m_file.write(data, length))
            return false;
        m_report.progress(length);
        return true;
    }
    void closeFile() override { m_file.close(); }
    void unknownType(const CString& attr) override
    {
        // One box per download at most, whatever the stream holds.
        if (m_toldUnknown)
            return;
        m_toldUnknown = true;
        AfxMessageBox("错误，不识别的文件类型：" + attr);
    }

private:
    std::wstring m_root;
    const Report& m_report;
    OutputFile m_file;
    bool m_toldUnknown;
};

SOCKET connectToPeer(const CString& ip)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        AfxMessageBox("Error at socket().\n");
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
        AfxMessageBox("错误：不能连接到对方主机.");
        return INVALID_SOCKET;
    }
    return s;
}

void sendRequest(SOCKET s, const DownloadItem& item, int command)
{
    CString request;
    request.Format("1:%d:%s:%s:%d:%x:%x:0", nextPacketNo(), (const char*)CUtils::getLoginUserName(),
                   (const char*)CUtils::getHostName(), command, (unsigned int)parseNumberField(item.packetNo, 10),
                   (unsigned int)parseNumberField(item.fileId, 10));
    if (send(s, request, request.GetLength(), 0) == SOCKET_ERROR)
        AfxMessageBox("send error.");
}

// The announced size, read as the unsigned 32 bits that an offer carries.
// Exactly the announced bytes go to disk: what a peer sends beyond them is
// not read. True when all of them arrived.
bool receiveFile(SOCKET s, const DownloadItem& item, const Report& report, std::vector<char>& buffer)
{
    ULONGLONG rest = announcedSize(item.size);
    int n = 0;
    if (rest > 0) {
        n = recv(s, &buffer[0], RECEIVE_BLOCK_SIZE, 0);
        if (n <= 0)
            return false;  // nothing arrived: no file
    }
    OutputFile file;
    if (!file.create(joinPathW(longPathW(item.saveDir), toWide(item.name))))
        return false;
    while (rest > 0 && n > 0) {
        int count = (ULONGLONG)n < rest ? n : (int)rest;
        if (!file.write(&buffer[0], count))
            return false;
        report.progress(count);
        rest -= (ULONGLONG)count;
        if (rest > 0)
            n = recv(s, &buffer[0], RECEIVE_BLOCK_SIZE, 0);
    }
    return rest == 0;
}

bool receiveFolder(SOCKET s, const DownloadItem& item, const Report& report, std::vector<char>& buffer)
{
    FolderWriter writer(item.saveDir, report);
    FolderStreamParser parser(writer);
    int n;
    while ((n = recv(s, &buffer[0], RECEIVE_BLOCK_SIZE, 0)) > 0) {
        parser.feed(&buffer[0], n);
        if (parser.broken())
            break;
    }
    bool whole = parser.finish();
    return n == 0 && whole;
}

void download(CString* parameter)
{
    DownloadItem item;
    if (!readParameter(*parameter, &item))
        return;
    // Synchronous: the row exists before any later message about the item.
    SendMessageA(receiveProgressWindow(), WM_USER_RECEIVE_START, 0, (LPARAM)parameter);
    Report report(item);
    bool isFile = item.attr == "1";
    if (!isFile && item.attr != "2") {
        report.failed();
        return;
    }
    // A name that would leave the chosen folder is refused, not renamed.
    if (isFile && !isSafeName(item.name)) {
        report.failed();
        return;
    }
    SOCKET s = connectToPeer(item.ip);
    if (s == INVALID_SOCKET) {
        report.failed();
        return;
    }
    sendRequest(s, item, isFile ? IPMSG_GETFILEDATA : IPMSG_GETDIRFILES);
    std::vector<char> buffer(RECEIVE_BLOCK_SIZE);
    bool whole = isFile ? receiveFile(s, item, report, buffer) : receiveFolder(s, item, report, buffer);
    closesocket(s);
    report.end(whole);
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

void startReceiveThread(CString* parameter)
{
    if (AfxBeginThread(receiveTcpData, parameter) == NULL)
        delete parameter;
}

UINT receiveTcpData(LPVOID parameter)
{
    CString* text = (CString*)parameter;
    download(text);
    delete text;
    return 0;
}
