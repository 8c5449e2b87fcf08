#include "classlib/CMapStringToOb.h"
#include "classlib/CMapStringToString.h"
#include "classlib/CStringArray.h"
#include "classlib/CStringList.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct Item : CObject {
    explicit Item(int v)
        : value(v)
    {
    }
    int value;
};

std::string listText(const CStringList& list)
{
    std::string text;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        text += std::string(list.GetNext(pos)) + ";";
    return text;
}

std::string arrayText(const CStringArray& array)
{
    std::string text;
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        text += std::string(array[i]) + ";";
    return text;
}

}  // namespace

TEST(CMapStringToOb, RemovingTheReturnedEntryDuringTheWalk)
{
    std::vector<Item> items;
    for (int i = 0; i < 200; ++i)
        items.emplace_back(i);
    CMapStringToOb map;
    for (Item& item : items) {
        CString key;
        key.Format("用户%d", item.value);
        map[key] = &item;
    }
    ASSERT_EQ(map.GetCount(), 200);

    std::map<std::string, int> seen;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        CString key;
        CObject* value = NULL;
        map.GetNextAssoc(pos, key, value);
        ++seen[std::string(key)];
        if (static_cast<Item*>(value)->value % 2) {
            EXPECT_TRUE(map.RemoveKey(key));
        }
    }
    EXPECT_EQ(seen.size(), 200u);
    for (const auto& entry : seen)
        EXPECT_EQ(entry.second, 1) << entry.first;
    EXPECT_EQ(map.GetCount(), 100);

    CObject* found = NULL;
    EXPECT_TRUE(map.Lookup("用户4", found));
    EXPECT_EQ(static_cast<Item*>(found)->value, 4);
    EXPECT_FALSE(map.Lookup("用户5", found));
}

TEST(CMapStringToString, EmptyingTheMapDuringTheWalk)
{
    CMapStringToString map;
    for (int i = 0; i < 50; ++i) {
        CString key, value;
        key.Format("k%d", i);
        value.Format("v%d", i);
        map.SetAt(key, value);
    }
    map["k7"] = "七";
    int visited = 0;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        CString key, value;
        map.GetNextAssoc(pos, key, value);
        if (key == "k7") {
            EXPECT_STREQ(value, "七");
        }
        EXPECT_TRUE(map.RemoveKey(key));
        ++visited;
    }
    EXPECT_EQ(visited, 50);
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), (POSITION)NULL);
    CString value;
    EXPECT_FALSE(map.Lookup("k1", value));
}

TEST(CStringList, RemoveWhileWalkingAndWalkBack)
{
    CStringList list;
    for (const char* text : {"a", "b", "c", "d"})
        list.AddTail(text);
    list.AddHead("首");

    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION current = pos;
        CString& text = list.GetNext(pos);
        if (text == "b" || text == "d")
            list.RemoveAt(current);
    }
    EXPECT_EQ(listText(list), "首;a;c;");
    EXPECT_EQ(list.GetCount(), 3);

    std::string backwards;
    for (POSITION pos = list.GetTailPosition(); pos;)
        backwards += std::string(list.GetPrev(pos)) + ";";
    EXPECT_EQ(backwards, "c;a;首;");

    POSITION a = list.Find("a");
    ASSERT_NE(a, (POSITION)NULL);
    EXPECT_EQ(list.Find("a", a), (POSITION)NULL);
    EXPECT_EQ(list.FindIndex(2), list.GetTailPosition());
    EXPECT_EQ(list.FindIndex(3), (POSITION)NULL);

    EXPECT_STREQ(list.RemoveHead(), "首");
    EXPECT_STREQ(list.RemoveTail(), "c");
    EXPECT_STREQ(list.GetHead(), "a");
    EXPECT_STREQ(list.GetTail(), "a");
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), (POSITION)NULL);
}

TEST(CStringArray, RemoveAtAndInsertAt)
{
    CStringArray array;
    for (const char* text : {"a", "b", "c", "d", "e"})
        array.Add(text);
    array.RemoveAt(1, 2);
    EXPECT_EQ(arrayText(array), "a;d;e;");
    array.RemoveAt(2, 100);  // only what is there
    array.RemoveAt(7);
    EXPECT_EQ(arrayText(array), "a;d;");

    // Callers remove matches walking backwards.
    array.Add("d");
    array.Add("x");
    for (INT_PTR i = array.GetUpperBound(); i >= 0; --i)
        if (array[i] == "d")
            array.RemoveAt(i);
    EXPECT_EQ(arrayText(array), "a;x;");

    array.InsertAt(0, "零");
    array.InsertAt(4, "far");  // grows with empty strings
    EXPECT_EQ(arrayText(array), "零;a;x;;far;");
    EXPECT_TRUE(array.GetAt(99).IsEmpty());
    array.SetAt(3, "three");
    EXPECT_EQ(array.GetAt(3), CString("three"));
    array.SetSize(1);
    EXPECT_EQ(arrayText(array), "零;");
}
