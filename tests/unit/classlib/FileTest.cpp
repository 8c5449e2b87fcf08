#include "classlib/CFileFind.h"
#include "classlib/CStdioFile.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// A fresh folder under the temp folder, removed with its files afterwards.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder.Format("%szq-classlib-%lu", temp, GetCurrentProcessId());
        CreateDirectoryA(folder, NULL);
    }
    void TearDown() override { removeTree(folder); }

    CString path(const char* name) const { return folder + "\\" + name; }

    std::string readAll(const char* name) const
    {
        CFile file;
        std::string bytes;
        if (!file.Open(path(name), CFile::modeRead | CFile::shareDenyNone))
            return bytes;
        char chunk[256];
        while (UINT got = file.Read(chunk, sizeof chunk))
            bytes.append(chunk, got);
        return bytes;
    }

    static void removeTree(const CString& dir)
    {
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA(dir + "\\*", &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                CString name(entry.cFileName);
                if (name == "." || name == "..")
                    continue;
                CString child = dir + "\\" + name;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(child);
                else
                    DeleteFileA(child);
            } while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        RemoveDirectoryA(dir);
    }

    CString folder;
};

using CFileTest = ScratchFolder;
using CFileFindTest = ScratchFolder;

}  // namespace

// A log another handle is still writing must stay readable with shareDenyNone;
// the denying share modes must refuse it.
TEST_F(CFileTest, ShareModesAgainstAnOpenWriter)
{
    CString name = path("日志.txt");
    HANDLE writer = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(writer, "hello", 5, &written, NULL);

    struct Case {
        UINT share;
        bool opens;
    } cases[] = {{CFile::shareDenyNone, true}, {CFile::shareDenyWrite, false}, {CFile::shareExclusive, false}};
    for (const Case& c : cases) {
        CFile file;
        EXPECT_EQ(file.Open(name, CFile::modeRead | c.share) != FALSE, c.opens) << c.share;
        EXPECT_EQ(file.IsOpen(), c.opens);
    }

    CFile reader;
    ASSERT_TRUE(reader.Open(name, CFile::modeRead | CFile::shareDenyNone));
    char buffer[16] = {};
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 0u);  // at the end
    EXPECT_EQ(reader.Seek(0, CFile::end), 5u);
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(reader.Seek(-2, CFile::current), 3u);
    EXPECT_EQ(reader.Read(buffer, 2), 2u);
    EXPECT_EQ(reader.GetLength(), 5u);
    CloseHandle(writer);
}

TEST_F(CFileTest, OpenFailsWithoutThrowing)
{
    CFile file;
    EXPECT_FALSE(file.Open(path("无此文件.bin"), CFile::modeRead));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.m_hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(file.Read(NULL, 0), 0u);
    EXPECT_FALSE(file.Open(path("no\\such\\folder.bin"), CFile::modeCreate | CFile::modeWrite));
}

TEST_F(CFileTest, CreateTruncatesUnlessNoTruncate)
{
    {
        CFile file;
        ASSERT_TRUE(file.Open(path("a.bin"), CFile::modeCreate | CFile::modeWrite));
        EXPECT_TRUE(file.Write("12345", 5));
    }
    {
        CFile file;
        ASSERT_TRUE(file.Open(path("a.bin"), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
        EXPECT_EQ(file.GetLength(), 5u);
        file.Seek(0, CFile::end);
        EXPECT_TRUE(file.Write("6", 1));
    }
    EXPECT_EQ(readAll("a.bin"), "123456");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path("a.bin"), CFile::modeCreate | CFile::modeWrite));
    }
    EXPECT_EQ(readAll("a.bin"), "");
}

TEST_F(CFileTest, StdioFileWritesCrLfAndReadsLines)
{
    std::string longLine(1500, 'x');  // longer than one read chunk
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(path("t.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeText));
        EXPECT_TRUE(file.WriteString("第一行\nb\r\n"));
        EXPECT_TRUE(file.WriteString((longLine + "\n\nlast").c_str()));
    }
    EXPECT_EQ(readAll("t.txt"), "第一行\r\nb\r\n" + longLine + "\r\n\r\nlast");

    CStdioFile file;
    ASSERT_TRUE(file.Open(path("t.txt"), CFile::modeRead | CFile::typeText));
    const std::string expected[] = {"第一行", "b", longLine, "", "last"};
    CString line;
    for (const std::string& want : expected) {
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(std::string(line), want);
    }
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());

    // ReadString leaves the file right after the line it read.
    file.Seek(0, CFile::begin);
    ASSERT_TRUE(file.ReadString(line));
    char next[3] = {};
    EXPECT_EQ(file.Read(next, 2), 2u);
    EXPECT_STREQ(next, "b\r");
}

TEST_F(CFileFindTest, EnumeratesEntriesWithDotsAndFolders)
{
    {
        CFile file;
        ASSERT_TRUE(file.Open(path("数据.txt"), CFile::modeCreate | CFile::modeWrite));
        file.Write("abc", 3);
    }
    {
        CFile file;
        ASSERT_TRUE(file.Open(path("x.bin"), CFile::modeCreate | CFile::modeWrite));
    }
    ASSERT_TRUE(CreateDirectoryA(path("乗子"), NULL));  // ends in a 0x5C trail byte

    CFileFind finder;
    BOOL more = finder.FindFile(folder + "\\*.*");
    ASSERT_TRUE(more);
    std::set<std::string> files, folders;
    int dots = 0;
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots()) {
            ++dots;
            EXPECT_TRUE(finder.IsDirectory());
            continue;
        }
        CString name = finder.GetFileName();
        EXPECT_EQ(finder.GetFilePath(), path(name));
        (finder.IsDirectory() ? folders : files).insert(std::string(name));
        if (name == "数据.txt") {
            EXPECT_EQ(finder.GetLength(), 3u);
        }
    }
    EXPECT_EQ(dots, 2);
    EXPECT_EQ(files, (std::set<std::string>{"数据.txt", "x.bin"}));
    EXPECT_EQ(folders, (std::set<std::string>{"乗子"}));
    EXPECT_FALSE(finder.FindNextFile());

    // Inside a folder whose name ends in a trail byte 0x5C, paths still get their separator.
    CString inner = path("乗");
    ASSERT_TRUE(CreateDirectoryA(inner, NULL));
    ASSERT_TRUE(CreateDirectoryA(inner + "\\d", NULL));
    ASSERT_TRUE(finder.FindFile(inner + "\\d"));
    finder.FindNextFile();
    EXPECT_EQ(finder.GetFilePath(), inner + "\\d");
    EXPECT_TRUE(finder.MatchesMask(FILE_ATTRIBUTE_DIRECTORY));

    EXPECT_FALSE(finder.FindFile(path("none*.zzz")));
}
