#include "engine/FolderStreamSender.h"

#include "core/FileSystem.h"
#include "core/IpmsgProtocol.h"
#include "engine/LongPath.h"
#include "engine/TransferWriters.h"

namespace {

const char NO_SIZE[] = "000000000";
const ULONGLONG LARGEST_ANNOUNCED_SIZE = 0xFFFFFFFFull;

bool isDots(const wchar_t* name)
{
    return (name[0] == L'.' && name[1] == 0) || (name[0] == L'.' && name[1] == L'.' && name[2] == 0);
}

// The sub-folders and files of folder, in the order the file system lists
// them. A folder that cannot be listed has none.
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
        } else {
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
    folder.nextSubFolder = 0;
    listFolder(path, &folder.subFolders, &folder.files);
    return TRUE;
}

BOOL FolderStreamSender::sendFilesAndLeave()
{
    Folder& folder = m_stack.back();
    for (size_t i = 0; i < folder.files.size(); ++i) {
        if (!sendFile(folder.path, folder.files[i]))
            return FALSE;
    }
    m_stack.pop_back();
    return sendHeader(".", NO_SIZE, IPMSG_FILE_RETPARENT);
}

BOOL FolderStreamSender::sendFile(const std::wstring& folder, const std::wstring& name)
{
    ServedFile file;
    if (!file.openForServing(joinPathW(folder, name)))
        return TRUE;  // gone or locked: left out before anything of it was sent
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
