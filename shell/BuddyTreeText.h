#pragma once

#include "classlib/CString.h"
#include "classlib/CStringArray.h"

// The buddy tree keeps everything in its item texts: "name(number)". A group
// item counts its children, the all-peers item counts the peers, and a user
// item carries the peer's IP in place of the number. These helpers read and
// write such texts; every search is multibyte-aware and starts from the end,
// so a nickname that holds "(" or ")" itself still reads right.
namespace BuddyTreeText {

// The name of the first root-level item, which counts every peer.
extern const char* const ALL_PEERS;
// The group of a peer whose entry names no group.
extern const char* const UNGROUPED;

// The text before the last "("; empty when there is none.
CString itemName(const CString& text);
// The text between the last "(" and the last ")" (the rest of the text when
// that ")" is missing or comes first); empty when there is no "(".
CString itemNumberText(const CString& text);
// The leading decimal digits of the number text; 0 when there are none.
int itemNumber(const CString& text);
// A user item's peer IP: its number text.
CString itemPeerIp(const CString& text);
// "name(number)".
CString countedText(const CString& name, int number);
// The same text with its number one higher.
CString incrementedText(const CString& text);
// The same text with its number one lower, never below 0.
CString decrementedText(const CString& text);
// Names are compared trimmed, byte for byte.
bool sameName(CString a, CString b);

// A group path taken from a peer is bounded: every level is a tree item made
// while the receive thread waits for the window. Real work groups are a few
// short levels.
extern const int GROUP_PATH_LIMIT;  // bytes
extern const int GROUP_DEPTH_LIMIT;  // levels

// The peer's group path from an entry's group field: trimmed, cut to its
// first GROUP_PATH_LIMIT bytes (whole characters), trimmed again, "未分组"
// when nothing is left.
CString groupPathOf(CString group);
// The levels of a group path, cut at each '-': at most GROUP_DEPTH_LIMIT,
// the last of them holding the rest of the path with its '-'. Never empty:
// "" is one level.
void groupLevelsOf(const CString& path, CStringArray* levels);
// 3 for a version text holding "#", 1 for one holding "-ZQ" after its
// first character (our own client), 2 for any other client.
int clientKindOf(const CString& version);

}  // namespace BuddyTreeText
