#include "TransferScratch.h"

#include "LoopbackWire.h"

#include <cstdio>
#include <vector>

namespace {

// Removes a tree through the wide calls, which take paths of any length.
void removeTree(const std::wstring& path)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                removeTree(child);
            else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(child.c_str());
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

std::wstring wide(const std::string& text)
{
    std::wstring result(text.size() + 1, L'\0');
    int count = MultiByteToWideChar(CP_ACP, 0, text.c_str(), (int)text.size(), &result[0], (int)result.size());
    result.resize(count > 0 ? count : 0);
    return result;
}

}  // namespace

TransferScratch::TransferScratch()
{
    // Process ids repeat under Wine, and a test that was killed leaves its
    // folder behind: never reuse a folder that is already there.
    static int made = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    for (;;) {
        char name[64];
        snprintf(name, sizeof name, "zq-transfer-%lu-%d", GetCurrentProcessId(), ++made);
        m_root = std::string(temp) + name;
        if (CreateDirectoryA(m_root.c_str(), NULL) || GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

TransferScratch::~TransferScratch()
{
    removeTree(L"\\\\?\\" + wide(m_root));
}

std::string TransferScratch::path(const std::string& relative) const
{
    return m_root + "\\" + relative;
}

std::string TransferScratch::folder(const std::string& relative) const
{
    std::string full = path(relative);
    size_t cut = m_root.size();
    while ((cut = full.find('\\', cut + 1)) != std::string::npos)
        CreateDirectoryW((L"\\\\?\\" + wide(full.substr(0, cut))).c_str(), NULL);
    CreateDirectoryW((L"\\\\?\\" + wide(full)).c_str(), NULL);
    return full;
}

std::string TransferScratch::file(const std::string& relative, const std::string& content) const
{
    std::string full = path(relative);
    HANDLE file = CreateFileW((L"\\\\?\\" + wide(full)).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    if (!content.empty())
        WriteFile(file, content.data(), (DWORD)content.size(), &written, NULL);
    CloseHandle(file);
    return full;
}

TcpPair connectedTcpPair()
{
    TcpPair pair = {INVALID_SOCKET, INVALID_SOCKET};
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = loopbackAddress(0);
    int length = sizeof address;
    if (bind(listener, (sockaddr*)&address, sizeof address) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, (sockaddr*)&address, &length) != 0) {
        closesocket(listener);
        return pair;
    }
    pair.client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (connect(pair.client, (sockaddr*)&address, sizeof address) == 0)
        pair.server = accept(listener, NULL, NULL);
    closesocket(listener);
    return pair;
}

std::string receiveUntilClosed(SOCKET s, bool* closed)
{
    DWORD guard = 20000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, (const char*)&guard, sizeof guard);
    std::string received;
    std::vector<char> buffer(65536);
    for (;;) {
        int n = recv(s, &buffer[0], (int)buffer.size(), 0);
        if (n <= 0) {
            if (closed)
                *closed = n == 0;
            return received;
        }
        received.append(&buffer[0], (size_t)n);
    }
}
