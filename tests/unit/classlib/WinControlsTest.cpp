// The control wrappers that do more than pass one message on: texts of any
// length and in code page 936 come back whole, and the selection walk of the
// list control.

#include <gtest/gtest.h>

#include <string>

#include "classlib/AfxWin.h"

namespace {

class ControlsTest : public ::testing::Test {
protected:
    CWnd parent;
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        ASSERT_TRUE(parent.CreateEx(0, NULL, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, NULL, NULL));
    }
    template <class Control> void create(Control& control, const char* windowClass, DWORD style, UINT id)
    {
        ASSERT_TRUE(control.CreateEx(0, windowClass, "", WS_CHILD | style, CRect(0, 0, 200, 200), &parent, id));
    }
};

// 300 bytes of text mixing double-byte characters with ASCII.
std::string longText()
{
    std::string text;
    while (text.size() < 300)
        text += "好友a";
    return text;
}

TEST_F(ControlsTest, RichEditTextComesBackWhole)
{
    ASSERT_TRUE(AfxInitRichEdit());
    CRichEditCtrl richEdit;
    create(richEdit, "RICHEDIT", ES_MULTILINE, 1);
    richEdit.SetWindowText("全部好友");
    richEdit.SetSel(-1, -1);
    richEdit.ReplaceSel("在线");
    CString text;
    richEdit.GetWindowText(text);
    EXPECT_EQ(std::string(text), "全部好友在线");
}

TEST_F(ControlsTest, ListItemTextsOfAnyLength)
{
    CListCtrl list;
    create(list, WC_LISTVIEWA, LVS_REPORT, 2);
    list.InsertColumn(0, "name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "group", LVCFMT_LEFT, 100);
    const std::string text = longText();
    ASSERT_EQ(list.InsertItem(0, "张三"), 0);
    list.SetItemText(0, 1, text.c_str());
    EXPECT_EQ(std::string(list.GetItemText(0, 0)), "张三");
    EXPECT_EQ(std::string(list.GetItemText(0, 1)), text);
}

TEST_F(ControlsTest, ListSelectionWalkVisitsEverySelectedItem)
{
    CListCtrl list;
    create(list, WC_LISTVIEWA, LVS_REPORT | LVS_SHOWSELALWAYS, 2);
    list.InsertColumn(0, "name");
    for (int i = 0; i < 5; ++i)
        list.InsertItem(i, "x");
    for (int i : {0, 2, 4})
        list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 3u);

    std::string visited;
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;)
        visited += std::to_string(list.GetNextSelectedItem(pos));
    EXPECT_EQ(visited, "024");

    for (int i = 0; i < 5; ++i)
        list.SetItemState(i, 0, LVIS_SELECTED);
    EXPECT_EQ(list.GetFirstSelectedItemPosition(), nullptr);
}

TEST_F(ControlsTest, TreeItemsKeepTextDataAndShape)
{
    CTreeCtrl tree;
    create(tree, WC_TREEVIEWA, TVS_HASLINES, 3);
    const std::string text = longText();
    HTREEITEM group = tree.InsertItem("我的好友", 1, 2);
    HTREEITEM member = tree.InsertItem(text.c_str(), group);
    tree.SetItemData(member, (DWORD_PTR)0x1234);
    EXPECT_EQ(std::string(tree.GetItemText(group)), "我的好友");
    EXPECT_EQ(std::string(tree.GetItemText(member)), text);
    EXPECT_EQ(tree.GetItemData(member), (DWORD_PTR)0x1234);
    EXPECT_EQ(tree.GetParentItem(member), group);
    EXPECT_TRUE(tree.ItemHasChildren(group));
    int image = 0, selected = 0;
    tree.GetItemImage(group, image, selected);
    EXPECT_EQ(image, 1);
    EXPECT_EQ(selected, 2);
    EXPECT_EQ(tree.GetCount(), 2u);
}

}  // namespace
