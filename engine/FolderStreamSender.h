#pragma once

#include "classlib/CString.h"
#include "classlib/Types.h"
#include "engine/FileBlocks.h"

#include <string>
#include <vector>

// Sends the folder stream of one folder tree: the folder's header, the
// streams of its sub-folders, its files (header and content each), and a
// return-to-parent header; the same for every sub-folder, to any depth.
//
// The tree is walked with an explicit stack of folders, not by recursion, and
// one heap area of blocks carries the content of every file, so the depth of
// a tree costs only the names of the folders on the way down.
//
// What the stream cannot carry faithfully is left out: a file that cannot be
// opened, a file of 4 GiB or more (a header holds 32 bits of size), links to
// other folders (they may lead back into the tree) and links to files (they
// may lead out of it, to files that were never shared). A file whose size
// changes after its header went out still gets exactly the announced number
// of bytes.
class FolderStreamSender {
public:
    explicit FolderStreamSender(SOCKET s);

    // FALSE as soon as the connection fails; the rest is then not sent.
    BOOL send(const CString& name, const CString& path);

private:
    struct Folder {
        std::wstring path;
        std::wstring objectName;  // the file system's name of it; empty when unknown
        std::vector<std::wstring> subFolders;
        std::vector<std::wstring> files;
        size_t nextSubFolder;
    };

    BOOL enter(const CString& name, const std::wstring& path);
    BOOL sendFilesAndLeave();
    BOOL sendFile(const Folder& folder, const std::wstring& name);
    BOOL sendHeader(const CString& name, const CString& sizeText, int attr);

    BlockSender m_sender;
    std::vector<Folder> m_stack;
    std::vector<char> m_nameBuffer;  // for the names of what is opened
};
