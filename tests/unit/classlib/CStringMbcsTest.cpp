#include "classlib/CString.h"
#include "classlib/Mbcs.h"

#include <gtest/gtest.h>

// GBK characters whose trail byte looks like an ASCII character:
//   乗 = 81 5C ('\\')   亅 = 81 7C ('|')   乤 = 81 61 ('a')   丄 = 81 41 ('A')
// A byte-wise search would take those trail bytes for the ASCII characters.

TEST(Mbcs, LeadBytesOfCodePage936)
{
    EXPECT_TRUE(isLeadByte(0x81));
    EXPECT_TRUE(isLeadByte(0xFE));
    EXPECT_FALSE(isLeadByte('\\'));
    EXPECT_FALSE(isLeadByte(0x80));
    EXPECT_EQ(strlen("乗"), 2u);
    EXPECT_EQ(static_cast<unsigned char>("乗"[1]), 0x5Cu);
    EXPECT_EQ(static_cast<unsigned char>("亅"[1]), 0x7Cu);
}

struct CharSearchCase {
    const char* text;
    char ch;
    int find;
    int reverseFind;
};

TEST(CStringMbcs, CharSearchesSkipTrailBytes)
{
    const CharSearchCase cases[] = {
        {"乗", '\\', -1, -1}, {"乗\\", '\\', 2, 2},  {"a\\乗", '\\', 1, 1}, {"C:\\数据\\乗", '\\', 2, 7},
        {"亅|亅", '|', 2, 2}, {"亅亅", '|', -1, -1}, {"乤a", 'a', 2, 2},
    };
    for (const CharSearchCase& c : cases) {
        CString text(c.text);
        EXPECT_EQ(text.Find(c.ch), c.find) << c.text;
        EXPECT_EQ(text.ReverseFind(c.ch), c.reverseFind) << c.text;
    }
}

TEST(CStringMbcs, FindFromStartSkipsTrailBytes)
{
    CString text("\\乗\\乗");  // 5C 81 5C 5C 81 5C
    EXPECT_EQ(text.Find('\\', 0), 0);
    EXPECT_EQ(text.Find('\\', 1), 3);
    EXPECT_EQ(text.Find('\\', 4), -1);
}

struct SubSearchCase {
    const char* text;
    const char* sub;
    int expected;
};

TEST(CStringMbcs, SubstringMatchesOnlyWholeCharacters)
{
    const SubSearchCase cases[] = {
        {"乗x", "\\x", -1},  // 81 5C 78: "\x" would start inside 乗
        {"乗\\x", "\\x", 2},    {"x乗", "x\x81", -1},  // would end inside 乗
        {"数据|亅|x", "|x", 7}, {"好友乗好友", "乗好", 4}, {"abc", "", 0},
    };
    for (const SubSearchCase& c : cases)
        EXPECT_EQ(CString(c.text).Find(c.sub), c.expected) << c.text << " / " << c.sub;
}

TEST(CStringMbcs, FindOneOfSkipsTrailBytes)
{
    EXPECT_EQ(CString("乗亅|x").FindOneOf("\\|"), 4);
    EXPECT_EQ(CString("乗亅").FindOneOf("\\|"), -1);
    EXPECT_EQ(CString("ab亅c").FindOneOf("c亅"), 2);  // a double-byte member of the set
}

TEST(CStringMbcs, ReplaceAndRemoveKeepCharactersWhole)
{
    CString path("C:\\数据\\乗\\");
    EXPECT_EQ(path.Replace('\\', '/'), 3);
    EXPECT_STREQ(path, "C:/数据/乗/");

    CString list("乗|亅|");
    EXPECT_EQ(list.Replace("|", ", "), 2);
    EXPECT_STREQ(list, "乗, 亅, ");

    CString noMatch("乗x");
    EXPECT_EQ(noMatch.Replace("\\x", "!"), 0);
    EXPECT_STREQ(noMatch, "乗x");

    CString removed("乗\\乗");
    EXPECT_EQ(removed.Remove('\\'), 1);
    EXPECT_STREQ(removed, "乗乗");
}

TEST(CStringMbcs, TrimKeepsCharactersWhole)
{
    struct Case {
        const char* text;
        const char* set;
        const char* trimmed;
    } cases[] = {
        {"乗", "\\", "乗"}, {"乗\\\\", "\\", "乗"}, {"\\乗\\", "\\", "乗"},
        {"亅", "|", "亅"},  {"|亅||", "|", "亅"},   {"乗乗x", "乗", "x"},
    };
    for (const Case& c : cases) {
        CString text(c.text);
        EXPECT_STREQ(text.Trim(c.set), c.trimmed) << c.text;
    }
    CString single("乗\\");
    EXPECT_STREQ(single.TrimRight('\\'), "乗");
    EXPECT_STREQ(single.TrimRight('\\'), "乗");
}

TEST(CStringMbcs, CaseChangesLeaveTrailBytes)
{
    CString upper("乤a");
    upper.MakeUpper();
    EXPECT_STREQ(upper, "乤A");
    CString lower("丄A");
    lower.MakeLower();
    EXPECT_STREQ(lower, "丄a");
    // 乤 (81 61) and 丄 (81 41) are different characters, not a case pair.
    EXPECT_NE(CString("乤").CompareNoCase("丄"), 0);
    EXPECT_EQ(CString("乤Ab").CompareNoCase("乤aB"), 0);
}
