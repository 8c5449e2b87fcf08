#include "engine/FolderStreamSender.h"

#include "core/FileSystem.h"
#include "core/IpmsgProtocol.h"
#include "engine/LongPath.h"
#include "engine/TransferWriters.h"

#include <winternl.h>

namespace {

const char NO_SIZE[] = "000000000";
const ULONGLONG LARGEST_ANNOUNCED_SIZE = 0xFFFFFFFFull;

bool isDots(const wchar_t* name)
{
    return (name[0] == L'.' && name[1] == 0) || (name[0] == L'.' && name[1] == L'.' && name[2] == 0);
}

// The name of what handle opened, after every link on the way, in the file
// system's own form (such as \??\C:\x\y); empty when it cannot tell. buffer
// is the room for it, NAME_BUFFER_SIZE bytes. GetFinalPathNameByHandleW
// gives the same name in another form, but under Wine 8 it fails
// (ERROR_MORE_DATA, whatever the buffer) once the path passes about 260
// characters, which a deep shared tree does; the object name has no such
// limit.
typedef LONG(NTAPI* QueryObjectCall)(HANDLE, int, PVOID, ULONG, PULONG);
const int OBJECT_NAME_INFORMATION = 1;
const ULONG NAME_BUFFER_SIZE = sizeof(UNICODE_STRING) + 65536;

std::wstring objectNameOf(HANDLE handle, std::vector<char>& buffer)
{
    static QueryObjectCall queryObject =
        (QueryObjectCall)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject");
    buffer.resize(NAME_BUFFER_SIZE);
    ULONG length = 0;
    if (queryObject == NULL || queryObject(handle, OBJECT_NAME_INFORMATION, &buffer[0], NAME_BUFFER_SIZE, &length) < 0)
        return std::wstring();
    const UNICODE_STRING* name = (const UNICODE_STRING*)&buffer[0];
    if (name->Buffer == NULL)
        return std::wstring();
    return std::wstring(name->Buffer, name->Length / sizeof(wchar_t));
}

// The object name of the folder at path; empty when it cannot be opened.
std::wstring folderObjectName(const std::wstring& path, std::vector<char>& buffer)
{
    HANDLE folder = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (folder == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring name = objectNameOf(folder, buffer);
    CloseHandle(folder);
    return name;
}

// Whether the open file is the entry name of the folder whose object name is
// folderName itself, not what a link of that name leads to. Windows marks
// links to files as reparse points in the listing; Wine 8 lists a link to a
// file as a plain file, and only the name of the opened file tells.
bool isTheEntryItself(const CFile& file, const std::wstring& folderName, const std::wstring& name,
                      std::vector<char>& buffer)
{
    if (folderName.empty())
        return false;
    std::wstring expected = joinPathW(folderName, name);
    std::wstring opened = objectNameOf(file.m_hFile, buffer);
    return CompareStringOrdinal(opened.c_str(), (int)opened.size(), expected.c_str(), (int)expected.size(), TRUE) ==
        CSTR_EQUAL;
}

// The sub-folders and files of folder, in the order the file system lists
// them, links left out. A folder that cannot be listed has none.
void listFolder(const std::wstring& folder, std::vector<std::wstring>* subFolders, std::vector<std::wstring>* files)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(joinPathW(folder, L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!isDots(entry.cFileName) && isEnteredFolder(entry.dwFileAttributes))
                subFolders->push_back(entry.cFileName);
        } else if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            files->push_back(entry.cFileName);
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

}  // namespace

FolderStreamSender::FolderStreamSender(SOCKET s)
    : m_sender(s)
{
}

BOOL FolderStreamSender::send(const CString& name, const CString& path)
{
    m_stack.clear();
    if (!enter(name, longPathW(path)))
        return FALSE;
    while (!m_stack.empty()) {
        Folder& top = m_stack.back();
        if (top.nextSubFolder < top.subFolders.size()) {
            std::wstring subPath = joinPathW(top.path, top.subFolders[top.nextSubFolder]);
            CString subName = toAnsi(top.subFolders[top.nextSubFolder]);
            ++top.nextSubFolder;
            if (!enter(subName, subPath))  // may move top
                return FALSE;
        } else if (!sendFilesAndLeave()) {
            return FALSE;
        }
    }
    return m_sender.flush();
}

BOOL FolderStreamSender::enter(const CString& name, const std::wstring& path)
{
    if (!sendHeader(name, NO_SIZE, IPMSG_FILE_DIR))
        return FALSE;
    m_stack.push_back(Folder());
    Folder& folder = m_stack.back();
    folder.path = path;
    folder.objectName = folderObjectName(path, m_nameBuffer);
    folder.nextSubFolder = 0;
    listFolder(path, &folder.subFolders, &folder.files);
    return TRUE;
}

BOOL FolderStreamSender::sendFilesAndLeave()
{
    Folder& folder = m_stack.back();
    for (size_t i = 0; i < folder.files.size(); ++i) {
        if (!sendFile(folder, folder.files[i]))
            return FALSE;
    }
    m_stack.pop_back();
    return sendHeader(".", NO_SIZE, IPMSG_FILE_RETPARENT);
}

BOOL FolderStreamSender::sendFile(const Folder& folder, const std::wstring& name)
{
    CFile file;
    if (!file.OpenLong(joinPathW(folder.path, name).c_str(), SERVED_FILE_FLAGS))
        return TRUE;  // gone or locked: left out before anything of it was sent
    if (!isTheEntryItself(file, folder.objectName, name, m_nameBuffer))
        return TRUE;  // a link, which may lead out of the tree
    ULONGLONG size = file.GetLength();
    if (size > LARGEST_ANNOUNCED_SIZE)
        return TRUE;
    if (!sendHeader(toAnsi(name), folderStreamSize((DWORD)size), IPMSG_FILE_REGULAR))
        return FALSE;
    return sendExactly(m_sender, file, size);
}

BOOL FolderStreamSender::sendHeader(const CString& name, const CString& sizeText, int attr)
{
    CString header = folderStreamHeader(name, sizeText, attr);
    return m_sender.queueText(header, header.GetLength());
}
