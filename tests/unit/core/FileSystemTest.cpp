#include "core/FileSystem.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void removeLink(const std::string& path);

void removeTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                removeLink(child);  // never followed
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(child);
            } else {
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

// A scratch folder in the temporary folder, removed with its contents.
class FileSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        root = std::string(temp) + "zq-core-fs-" + std::to_string(GetCurrentProcessId());
        removeTree(root);
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), NULL));
    }
    void TearDown() override { removeTree(root); }

    std::string folder(const std::string& relative)
    {
        std::string path = root + "\\" + relative;
        CreateDirectoryA(path.c_str(), NULL);
        return path;
    }
    std::string file(const std::string& relative, size_t size)
    {
        std::string path = root + "\\" + relative;
        HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        std::string bytes(size, 'z');
        DWORD written = 0;
        WriteFile(handle, bytes.data(), (DWORD)size, &written, NULL);
        CloseHandle(handle);
        return path;
    }

    std::string root;
};

TEST_F(FileSystemTest, FolderSizeAddsEveryFileOfTheTree)
{
    folder("empty");
    folder("tree");
    file("tree\\ten.bin", 10);
    folder("tree\\sub");
    file("tree\\sub\\five.bin", 5);

    EXPECT_EQ(getFolderSize((root + "\\empty").c_str()), 0u);
    EXPECT_EQ(getFolderSize((root + "\\tree").c_str()), 15u);
    EXPECT_EQ(getFolderSize((root + "\\missing").c_str()), 0u);
}

TEST_F(FileSystemTest, FolderSizeOfADeepTree)
{
    std::string relative = "deep";
    folder(relative);
    for (int level = 0; level < 80; ++level) {
        relative += "\\d";
        folder(relative);
    }
    file(relative + "\\one.bin", 1);
    file("deep\\two.bin", 2);
    EXPECT_EQ(getFolderSize((root + "\\deep").c_str()), 3u);
}

// Links are made and removed the way a user of the machine does it: a Linux
// symbolic link in the prefix's drive, which Wine lists as a folder that is
// a reparse point (Wine's CreateSymbolicLinkA makes nothing, and Wine cannot
// delete such a link). Wine starts Linux programs without waiting for them,
// so each helper waits until the link is there, or gone.
bool runOnLinux(const std::string& program, const std::string& argument, const std::string& path,
                bool (*done)(const std::string&))
{
    typedef char*(CDECL * UnixName)(const WCHAR*);
    UnixName unixName = (UnixName)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (unixName == NULL)
        return false;
    std::wstring wide(path.begin(), path.end());
    char* linuxPath = unixName(wide.c_str());
    if (linuxPath == NULL)
        return false;
    std::string command = program + " " + argument + " " + linuxPath;
    HeapFree(GetProcessHeap(), 0, linuxPath);
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    for (int wait = 0; wait < 200 && !done(path); ++wait)
        Sleep(25);
    return done(path);
}

bool isLink(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool isGone(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool makeLink(const std::string& path, const char* target)
{
    return runOnLinux("/bin/ln", std::string("-s ") + target, path, isLink);
}

void removeLink(const std::string& path)
{
    runOnLinux("/bin/rm", "-f", path, isGone);
}

// Two links back to a parent on every level: following them, the walk would
// grow as 2 to the power of the depth and count the same files again and
// again. The folder stream leaves links out, and so does the count.
TEST_F(FileSystemTest, FolderSizeLeavesOutLinksToFolders)
{
    folder("linked");
    file("linked\\top.bin", 100);
    std::string relative = "linked";
    for (int level = 0; level < 6; ++level) {
        relative += "\\level";
        folder(relative);
        file(relative + "\\f.bin", 10);
        ASSERT_TRUE(makeLink(root + "\\" + relative + "\\up", ".."));
        ASSERT_TRUE(makeLink(root + "\\" + relative + "\\top", "../.."));
    }
    EXPECT_EQ(getFolderSize((root + "\\linked").c_str()), 160u);
}

TEST_F(FileSystemTest, FolderSizeOfAPathLongerThanAnyAreaIsZero)
{
    std::string longPath = root + "\\" + std::string(600, 'x') + "\\" + std::string(600, 'y');
    EXPECT_EQ(getFolderSize(longPath.c_str()), 0u);
    EXPECT_EQ(getFolderSize(NULL), 0u);
}

TEST_F(FileSystemTest, FileSizeOfReadableAndUnreadableFiles)
{
    std::string ten = file("ten.bin", 10);
    EXPECT_EQ(getFileSize(ten.c_str()), 10);
    EXPECT_EQ(getFileSize((root + "\\missing.bin").c_str()), 0);
    EXPECT_EQ(getFileSize(folder("a-folder").c_str()), 0);

    // A file another program is still writing can be measured.
    HANDLE writer = CreateFileA(ten.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(getFileSize(ten.c_str()), 10);
    CloseHandle(writer);
}

TEST_F(FileSystemTest, ExistenceOfFilesAndFolders)
{
    std::string photos = folder("Photos");
    std::string bin = file("a.bin", 1);
    EXPECT_TRUE(isFileExists(photos.c_str()));
    EXPECT_TRUE(isFileExists(bin.c_str()));
    EXPECT_FALSE(isFileExists((root + "\\missing").c_str()));
    EXPECT_FALSE(isFileExists(""));
}

TEST_F(FileSystemTest, FileNameIsTheLastComponentOfTheFirstMatch)
{
    std::string photos = folder("Photos");
    folder("照片");
    file("Photos\\only.bin", 1);
    EXPECT_STREQ(getFileName(photos.c_str()), "Photos");
    EXPECT_STREQ(getFileName((root + "\\照片").c_str()), "照片");
    EXPECT_STREQ(getFileName((photos + "\\*.bin").c_str()), "only.bin");
    EXPECT_STREQ(getFileName((root + "\\missing").c_str()), "");
}

}  // namespace
