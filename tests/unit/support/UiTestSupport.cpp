#include "tests/unit/support/UiTestSupport.h"

#include "core/Globals.h"
#include "core/IpMessage.h"
#include "dialogs/ChartDlg.h"

#include <mswsock.h>
#include <shellapi.h>
#include <shlobj.h>
#include <ws2tcpip.h>

#include <cstring>

namespace {

const int PORT = 2425;
const long GUARD_SECONDS = 20;

sockaddr_in addressOf(const char* ip, int port)
{
    sockaddr_in address;
    memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr(ip);
    address.sin_port = htons((u_short)port);
    return address;
}

void removeTree(const CString& path)
{
    // Double NUL ends the list of SHFileOperation.
    std::string from(path.GetString());
    from.push_back('\0');
    from.push_back('\0');
    SHFILEOPSTRUCTA operation;
    memset(&operation, 0, sizeof(operation));
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&operation);
}

}  // namespace

SOCKET openLoopbackSender()
{
    SOCKET made = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address = addressOf("127.0.0.1", 0);
    if (made != INVALID_SOCKET && bind(made, (sockaddr*)&address, sizeof(address)) != 0) {
        closesocket(made);
        return INVALID_SOCKET;
    }
    return made;
}

LoopbackWire::LoopbackWire()
    : socket_(socket(AF_INET, SOCK_DGRAM, 0)),
      error_(0),
      receiveMessage_(NULL)
{
    sockaddr_in address = addressOf("0.0.0.0", PORT);
    DWORD on = 1;
    GUID receiveMessageId = WSAID_WSARECVMSG;
    DWORD returned = 0;
    if (socket_ == INVALID_SOCKET || bind(socket_, (sockaddr*)&address, sizeof(address)) != 0 ||
        setsockopt(socket_, IPPROTO_IP, IP_PKTINFO, (const char*)&on, sizeof(on)) != 0 ||
        WSAIoctl(socket_, SIO_GET_EXTENSION_FUNCTION_POINTER, &receiveMessageId, sizeof(receiveMessageId),
                 &receiveMessage_, sizeof(receiveMessage_), &returned, NULL, NULL) != 0) {
        error_ = WSAGetLastError();
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
        }
        socket_ = INVALID_SOCKET;
    }
}

LoopbackWire::~LoopbackWire()
{
    if (socket_ != INVALID_SOCKET) {
        closesocket(socket_);
    }
}

std::string LoopbackWire::error() const
{
    return "no socket on UDP port 2425 (error " + std::to_string(error_) + ")";
}

LoopbackWire::Sent LoopbackWire::next()
{
    Sent sent;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_, &readable);
    timeval limit = {GUARD_SECONDS, 0};
    if (select(0, &readable, NULL, NULL, &limit) != 1) {
        return sent;
    }
    static char buffer[65536];
    char control[256];
    sockaddr_in sender;
    WSABUF data = {sizeof(buffer), buffer};
    WSAMSG message;
    memset(&message, 0, sizeof(message));
    message.name = (sockaddr*)&sender;
    message.namelen = sizeof(sender);
    message.lpBuffers = &data;
    message.dwBufferCount = 1;
    message.Control.buf = control;
    message.Control.len = sizeof(control);
    DWORD received = 0;
    if (((LPFN_WSARECVMSG)receiveMessage_)(socket_, &message, &received, NULL, NULL) != 0) {
        return sent;
    }
    for (WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message); header != NULL; header = WSA_CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            sent.to = inet_ntoa(((IN_PKTINFO*)WSA_CMSG_DATA(header))->ipi_addr);
        }
    }
    sent.bytes.assign(buffer, received);
    return sent;
}

bool LoopbackWire::nothingElseArrived()
{
    const std::string marker = "--marker--";
    sockaddr_in self = addressOf("127.0.0.1", PORT);
    sendto(socket_, marker.data(), (int)marker.size(), 0, (sockaddr*)&self, sizeof(self));
    return next().bytes == marker;
}

Datagram parseDatagram(const std::string& bytes)
{
    Datagram datagram;
    std::string* fields[] = {&datagram.version, &datagram.packetNo, &datagram.user, &datagram.host};
    size_t start = 0;
    for (std::string* field : fields) {
        size_t colon = bytes.find(':', start);
        if (colon == std::string::npos) {
            return datagram;
        }
        *field = bytes.substr(start, colon - start);
        start = colon + 1;
    }
    size_t colon = bytes.find(':', start);
    if (colon == std::string::npos) {
        return datagram;
    }
    datagram.command = strtol(bytes.substr(start, colon - start).c_str(), NULL, 10);
    datagram.extra = bytes.substr(colon + 1);
    return datagram;
}

IpMessage* entryMessage(const char* ip, const char* nickname, const char* group, const char* version)
{
    IpMessage* message = new IpMessage;
    message->version = version;
    message->packetNo = "100";
    message->user = "peer";
    message->host = "peerbox";
    message->command = 1;
    message->extra = nickname;
    message->group = group;
    message->senderIp = ip;
    return message;
}

void closeChatWindows()
{
    POSITION position = chatDialogMap.GetStartPosition();
    while (position != NULL) {
        CString ip;
        CObject* chat = NULL;
        chatDialogMap.GetNextAssoc(position, ip, chat);
        CChartDlg* dialog = static_cast<CChartDlg*>(chat);
        dialog->DestroyWindow();
        delete dialog;
    }
    chatDialogMap.RemoveAll();
}

std::set<std::string> bitmapsIn(const CString& folder)
{
    std::set<std::string> names;
    CFileFind finder;
    BOOL more = finder.FindFile(folder + "\\*.bmp");
    while (more) {
        more = finder.FindNextFile();
        names.insert(finder.GetFileName().GetString());
    }
    return names;
}

bool ctrlPIsTaken()
{
    CtrlPHolder probe;
    return !probe.holds();
}

CtrlPHolder::CtrlPHolder()
    : window_(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL)),
      holds_(RegisterHotKey(window_, 1, MOD_CONTROL, 'P') != FALSE)
{
}

CtrlPHolder::~CtrlPHolder()
{
    if (holds_) {
        UnregisterHotKey(window_, 1);
    }
    DestroyWindow(window_);
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

ScratchFolder::ScratchFolder()
{
    char base[MAX_PATH] = {0};
    GetTempPathA(sizeof(base), base);
    static int made = 0;
    path_.Format("%szq-ui-%lu-%d", base, GetCurrentProcessId(), ++made);
    CreateDirectoryA(path_, NULL);
}

ScratchFolder::~ScratchFolder()
{
    removeTree(path_);
}

CString ScratchFolder::file(const char* name, const char* content)
{
    CString full = path_ + "\\" + name;
    HANDLE handle = CreateFileA(full, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    WriteFile(handle, content, (DWORD)strlen(content), &written, NULL);
    CloseHandle(handle);
    return full;
}

CString ScratchFolder::folder(const char* name)
{
    CString full = path_ + "\\" + name;
    CreateDirectoryA(full, NULL);
    return full;
}

HDROP makeDrop(const std::vector<CString>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const CString& path : paths) {
        size += path.GetLength() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    DROPFILES* drop = (DROPFILES*)GlobalLock(memory);
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* text = (char*)drop + sizeof(DROPFILES);
    for (const CString& path : paths) {
        memcpy(text, path.GetString(), path.GetLength() + 1);
        text += path.GetLength() + 1;
    }
    GlobalUnlock(memory);
    return (HDROP)memory;
}
