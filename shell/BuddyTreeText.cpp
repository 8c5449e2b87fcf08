#include "shell/BuddyTreeText.h"

#include "core/TextCut.h"
#include "core/CUtils.h"

namespace BuddyTreeText {

const char* const ALL_PEERS = "全部好友";
const char* const UNGROUPED = "未分组";

CString itemName(const CString& text)
{
    int open = text.ReverseFind('(');
    return open < 0 ? CString() : text.Left(open);
}

CString itemNumberText(const CString& text)
{
    int open = text.ReverseFind('(');
    if (open < 0) {
        return CString();
    }
    int close = text.ReverseFind(')');
    if (close < open) {
        return text.Mid(open + 1);
    }
    return text.Mid(open + 1, close - open - 1);
}

int itemNumber(const CString& text)
{
    CString digits = itemNumberText(text);
    int value = 0;
    for (int i = 0; i < digits.GetLength() && digits[i] >= '0' && digits[i] <= '9'; ++i) {
        if (value > 100000000) {
            break;  // no tree ever counts that far; keeps the value in range
        }
        value = value * 10 + (digits[i] - '0');
    }
    return value;
}

CString itemPeerIp(const CString& text)
{
    return itemNumberText(text);
}

CString countedText(const CString& name, int number)
{
    CString text;
    text.Format("%s(%d)", (const char*)name, number);
    return text;
}

CString incrementedText(const CString& text)
{
    return countedText(itemName(text), itemNumber(text) + 1);
}

CString decrementedText(const CString& text)
{
    int number = itemNumber(text);
    return countedText(itemName(text), number > 0 ? number - 1 : 0);
}

bool sameName(CString a, CString b)
{
    return a.Trim() == b.Trim();
}

// A work group is a person's department path, which fits in a few dozen
// bytes; a longer one is a peer making the tree spend items and memory (one
// tree item per level, for every peer). 128 bytes hold 64 Chinese
// characters, and eight levels are deeper than any office's chart.
const int GROUP_PATH_LIMIT = 128;
const int GROUP_DEPTH_LIMIT = 8;

CString groupPathOf(CString group)
{
    group.Trim();
    if (group.GetLength() > GROUP_PATH_LIMIT) {
        group = group.Left(characterBoundaryLength(group, group.GetLength(), GROUP_PATH_LIMIT));
        group.Trim();
    }
    return group.IsEmpty() ? CString(UNGROUPED) : group;
}

// Folding keeps the whole path in the tree: the deepest item's path, read
// back from the item texts, is the peer's group again.
void groupLevelsOf(const CString& path, CStringArray* levels)
{
    CUtils::splitToArray(path, "-", levels);
    if (levels->GetSize() <= GROUP_DEPTH_LIMIT) {
        return;
    }
    CString rest = levels->GetAt(GROUP_DEPTH_LIMIT - 1);
    for (INT_PTR i = GROUP_DEPTH_LIMIT; i < levels->GetSize(); ++i) {
        rest += "-" + levels->GetAt(i);
    }
    levels->SetSize(GROUP_DEPTH_LIMIT);
    levels->SetAt(GROUP_DEPTH_LIMIT - 1, rest);
}

int clientKindOf(const CString& version)
{
    if (!version.IsEmpty() && version.Find('#') >= 0) {
        return 3;
    }
    return version.Find("-ZQ") >= 1 ? 1 : 2;
}

}  // namespace BuddyTreeText
