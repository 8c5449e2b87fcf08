"""Peers' names as the user sees them: a peer that announces itself in UTF-8 (as iptux does by
default, marked by a fourth field "utf-8") shows its Chinese nickname and group right in the tree
and in its chat window's title; a peer that announces itself again under another nickname and
group is renamed and moved, and its open chat window follows; an entry marked "utf-8" whose names
are GBK bytes is read as GBK. Real datagrams from two scripted peers; the tree is read from the
running program. A screenshot of the tree is kept in build/<arch>/artifacts/."""

import desktop
import harness
from application_case import TREE, ZQ, ApplicationCase
from ipmsg_peer import ANSENTRY, BR_ENTRY, RECVMSG, entry_extra

UTF8_PEER = "10.77.0.2"
RENAMED_PEER = "10.77.0.3"
HISTORY = 1027


def setUpModule():
    desktop.skip_unless_possible()


def utf8_entry_extra(nickname, group):
    """An entry's extra as iptux writes it by default: names in UTF-8, icon, then "utf-8"."""
    return nickname.encode("utf-8") + b"\0" + group.encode("utf-8") + b"\0icon-tux.png\0utf-8\0"


class PeerNamesTest(ApplicationCase):
    hosts = 3

    def test_utf8_names_and_peers_that_announce_themselves_again(self):
        desk, inspect = self.desk, self.inspect
        utf8_peer = self.peer(1)
        renamed_peer = self.peer(2)
        self.start_zq()
        self.expect_entry(utf8_peer)
        buddy = self.wait_buddy_list()
        tree_control = inspect.child(buddy, TREE)

        def tree_holding(text):
            return inspect.wait_until(lambda: inspect.tree(tree_control),
                                      lambda t: any(item[2] == text for item in t), what=text + " in the tree")

        tree_holding("Li(%s)" % ZQ)

        # Three CJK characters in UTF-8 are nine bytes, which GBK would pair up wrongly.
        utf8_peer.send(ZQ, BR_ENTRY, utf8_entry_extra("三个字", "互通组"))
        utf8_peer.expect(lambda p: p.mode == ANSENTRY and p.sender[0] == ZQ, what="the answer")
        renamed_peer.send(ZQ, ANSENTRY, entry_extra("李四", "旧组-甲"))
        tree_holding("李四(%s)" % RENAMED_PEER)
        desk.screenshot("peer-names-tree.png", buddy.rect)

        # Chat texts open both chat windows, titled with the nicknames.
        for peer, title in ((utf8_peer, "三个字(%s)" % UTF8_PEER), (renamed_peer, "李四(%s)" % RENAMED_PEER)):
            peer.send_text(ZQ, "你好")
            peer.expect(lambda p: p.mode == RECVMSG, what="receipt")
            inspect.wait_window(lambda w: w.title == title and w.visible, what="the chat window " + title)
        history_before = inspect.child(inspect.wait_window(lambda w: w.title == "李四(%s)" % RENAMED_PEER),
                                       HISTORY).text_bytes

        # The second peer announces itself again, its new names GBK bytes in an entry marked
        # "utf-8": read as GBK, the item renamed and moved, the emptied groups gone.
        renamed_peer.send(ZQ, BR_ENTRY, entry_extra("王五", "销售-华东") + b"icon\0utf-8\0")
        tree = tree_holding("王五(%s)" % RENAMED_PEER)
        self.assertEqual(tree, [(0, 1, "全部好友(3)"),
                                (0, 1, "Dev(1)"), (1, 2, "Li(%s)" % ZQ),
                                (0, 1, "互通组(1)"), (1, 3, "三个字(%s)" % UTF8_PEER),
                                (0, 1, "销售(1)"), (1, 1, "华东(1)"), (2, 3, "王五(%s)" % RENAMED_PEER)])

        # The open chat window follows the new nickname; its history stays as it was.
        chat = inspect.wait_window(lambda w: w.title == "王五(%s)" % RENAMED_PEER, what="the renamed chat")
        self.assertEqual(inspect.child(chat, HISTORY).text_bytes, history_before)
        self.assertTrue(history_before.startswith("李四 ".encode("gbk")), history_before)


if __name__ == "__main__":
    harness.run_tests()
