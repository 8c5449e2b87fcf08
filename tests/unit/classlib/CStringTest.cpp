#include "classlib/CString.h"

#include <gtest/gtest.h>

#include <string>

TEST(CString, TrimRemovesTheSixWhiteSpaceBytes)
{
    const char* padded = " \t\r\n\v\f数据 x\t \r\n\v\f";
    CString both(padded), left(padded), right(padded);
    EXPECT_STREQ(both.Trim(), "数据 x");
    EXPECT_STREQ(left.TrimLeft(), "数据 x\t \r\n\v\f");
    EXPECT_STREQ(right.TrimRight(), " \t\r\n\v\f数据 x");
    CString blank(" \t\r\n\v\f");
    EXPECT_TRUE(blank.Trim().IsEmpty());
    CString fullWidthSpace("\xA1\xA1x");  // not ASCII white space: kept
    EXPECT_STREQ(fullWidthSpace.Trim(), "\xA1\xA1x");
}

TEST(CString, FormatAnyLength)
{
    CString text;
    text.Format("%s-%d-%c", "数据", 42, 'z');
    EXPECT_STREQ(text, "数据-42-z");

    std::string long3000(3000, 'x');
    text.Format("<%s>", long3000.c_str());
    EXPECT_EQ(text.GetLength(), 3002);
    EXPECT_EQ(std::string(text), "<" + long3000 + ">");

    text.AppendFormat("%05u", 7u);
    EXPECT_EQ(text.Right(6), CString(">00007"));

    CString self("ab");
    self.Format("%s+%s", self.GetString(), self.GetString());  // arguments point into the string
    EXPECT_STREQ(self, "ab+ab");
}

TEST(CString, CompareIsByteWiseUnsigned)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"a", "b", -1},
        {"b", "a", 1},
        {"", "", 0},
        {"数", "数据", -1},
        {"\x80", "a", 1},  // 0x80 sorts after ASCII
        {"\xB0\xA1", "\xFE\xA1", -1},
        {"abc", "ab", 1},
    };
    for (const Case& c : cases) {
        int result = CString(c.a).Compare(c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ(CString(c.a) < CString(c.b), c.sign < 0);
        EXPECT_EQ(CString(c.a) == c.b, c.sign == 0);
    }
    EXPECT_EQ(CString("ABC").CompareNoCase("abc"), 0);
}

TEST(CString, EditingClampsIndexes)
{
    CString text("abcdef");
    EXPECT_STREQ(text.Mid(2, 2), "cd");
    EXPECT_STREQ(text.Mid(4, 100), "ef");
    EXPECT_TRUE(text.Mid(10).IsEmpty());
    EXPECT_STREQ(text.Left(100), "abcdef");
    EXPECT_STREQ(text.Right(2), "ef");
    EXPECT_EQ(text.GetAt(6), '\0');
    EXPECT_EQ(text.Delete(4, 100), 4);
    EXPECT_EQ(text.Insert(100, "xy"), 6);
    EXPECT_EQ(text.Insert(0, '_'), 7);
    EXPECT_STREQ(text, "_abcdxy");
}

TEST(CString, ExtractionWithArgumentsOutOfRange)
{
    const CString text("abcdef");
    struct Case {
        const char* what;
        CString got;
        const char* expected;
    } cases[] = {
        {"Mid(-3, 2)", text.Mid(-3, 2), "ab"},
        {"Mid(2, -1)", text.Mid(2, -1), ""},
        {"Mid(-1)", text.Mid(-1), "abcdef"},
        {"Mid(6)", text.Mid(6), ""},
        {"Mid(3, INT_MAX)", text.Mid(3, 0x7FFFFFFF), "def"},
        {"Left(-1)", text.Left(-1), ""},
        {"Right(-1)", text.Right(-1), ""},
        {"Right(100)", text.Right(100), "abcdef"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.got, c.expected) << c.what;
}

TEST(CString, BufferRoundTrip)
{
    CString text("old");
    char* buffer = text.GetBuffer(64);
    strcpy(buffer, "新的文本");
    text.ReleaseBuffer();
    EXPECT_STREQ(text, "新的文本");
    EXPECT_EQ(text.GetLength(), 8);

    buffer = text.GetBufferSetLength(3);
    buffer[2] = 'z';
    text.ReleaseBuffer(3);
    EXPECT_EQ(text.GetLength(), 3);
    EXPECT_EQ(text[2], 'z');
}

TEST(CString, HoldsBytesAfterNul)
{
    CString bytes("a\0b", 3);
    EXPECT_EQ(bytes.GetLength(), 3);
    EXPECT_FALSE(bytes == CString("a"));
    EXPECT_EQ(bytes.Find('b'), 2);
}
