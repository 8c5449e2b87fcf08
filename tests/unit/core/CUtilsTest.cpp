#include "core/CUtils.h"
#include "core/FileSystem.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct SplitCase {
    const char* text;
    const char* delimiter;
    std::vector<std::string> pieces;
};

std::vector<std::string> piecesOf(CStringList& list)
{
    std::vector<std::string> pieces;
    POSITION position = list.GetHeadPosition();
    while (position != NULL) {
        pieces.push_back((const char*)list.GetNext(position));
    }
    return pieces;
}

std::vector<std::string> piecesOf(CStringArray& array)
{
    std::vector<std::string> pieces;
    for (INT_PTR i = 0; i < array.GetSize(); ++i) {
        pieces.push_back((const char*)array[i]);
    }
    return pieces;
}

TEST(CUtils, SplittingCutsAtEveryDelimiterAndKeepsEmptyPieces)
{
    const SplitCase cases[] = {
        {"1:2::4:", ":", {"1", "2", "", "4", ""}},
        {"", ":", {""}},
        {":a", ":", {"", "a"}},
        {"abc", ":", {"abc"}},
        {" a , b ", ",", {" a ", " b "}},
        // Trail bytes 0x7C ('|') and 0x5C ('\') of double-byte characters are
        // not delimiters.
        {"\x81\x7c|x", "|", {"\x81\x7c", "x"}},
        {"C:\\\x81\x5c\\d", "\\", {"C:", "\x81\x5c", "d"}},
        {"a：b：", "：", {"a", "b", ""}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::unique_ptr<CStringList> list(CUtils::splitToList(c.text, c.delimiter));
        EXPECT_EQ(piecesOf(*list), c.pieces);

        CStringArray array;
        array.Add("kept");
        CUtils::splitToArray(c.text, c.delimiter, &array);
        std::vector<std::string> expected = c.pieces;
        expected.insert(expected.begin(), "kept");
        EXPECT_EQ(piecesOf(array), expected);
    }
}

struct ParamCase {
    const char* data;
    const char* key;
    const char* value;
};

TEST(CUtils, ParamValueIsTheFirstExactKeyValuePiece)
{
    const ParamCase cases[] = {
        {"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST", "COMMAND", "GET_SHARE_FLODER_LIST"},
        {"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST", "MESSAGE", ""},
        {"ZQMSG=ZQMSG&MESSAGE=a=b", "MESSAGE", ""},
        {"K=first&K=second", "K", "first"},
        {"K&K=v", "K", "v"},
        {"A=1&K=", "K", ""},
        {"COMMAND=x", "command", ""},
        {" K=v", "K", ""},
        {"K=共享:目录;", "K", "共享:目录;"},
    };
    for (const ParamCase& c : cases) {
        SCOPED_TRACE(std::string(c.data) + " / " + c.key);
        CString value("stale");
        CUtils::getParamValue(&value, c.data, (int)strlen(c.data), c.key);
        EXPECT_STREQ(value, c.value);
    }
}

TEST(CUtils, ParamValueReadsOnlyTheGivenBytesUpToANul)
{
    const char data[] = "K=abc\0def&L=1";
    CString value;
    CUtils::getParamValue(&value, data, 4, "K");
    EXPECT_STREQ(value, "ab");
    CUtils::getParamValue(&value, data, (int)sizeof(data) - 1, "L");
    EXPECT_STREQ(value, "");
    CUtils::getParamValue(&value, data, (int)sizeof(data) - 1, "K");
    EXPECT_STREQ(value, "abc");
}

TEST(CUtils, PaddingPutsZerosInFrontUpToTheWidth)
{
    const struct {
        const char* text;
        int width;
        const char* padded;
    } cases[] = {
        {"1f3", 9, "0000001f3"},
        {"0123456789", 9, "0123456789"},
        {"abc", 3, "abc"},
        {"", 3, "000"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(CUtils::padWithZeros(c.text, c.width), c.padded) << c.text << " / " << c.width;
    }
}

TEST(CUtils, ExeDirectoryIsTheFolderOfTheRunningProgram)
{
    CString directory = CUtils::getExeDirectory();
    ASSERT_FALSE(directory.IsEmpty());
    EXPECT_NE(directory[directory.GetLength() - 1], '\\');
    EXPECT_TRUE(isFileExists(directory + "\\core_tests.exe")) << (const char*)directory;
}

TEST(CUtils, SystemDirectoryExistsWithoutTrailingBackslash)
{
    CString directory = CUtils::getSystemDirectory();
    ASSERT_FALSE(directory.IsEmpty());
    EXPECT_NE(directory[directory.GetLength() - 1], '\\');
    EXPECT_TRUE(isFileExists(directory));
}

TEST(CUtils, CurrentTimeFollowsTheFormatAndFitsIn127Bytes)
{
    CString time = CUtils::getCurrentTime("%H:%M:%S");
    ASSERT_EQ(time.GetLength(), 8) << (const char*)time;
    EXPECT_EQ(time[2], ':');
    EXPECT_EQ(time[5], ':');

    EXPECT_EQ(CUtils::getCurrentTime(CString('x', 127)).GetLength(), 127);
    EXPECT_TRUE(CUtils::getCurrentTime(CString('x', 128)).IsEmpty());
}

}  // namespace
