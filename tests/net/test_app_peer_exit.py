"""Peers that quit, as the user sees them: a peer's exit datagram takes that peer out of the buddy
list, its emptied groups and the counts with it, while its open chat window stays with its
history; its next entry brings it back. An exit names nobody the program may trust: one from
another address that carries the leaver's user, host and address leaves the leaver listed. Real
datagrams from two scripted peers; the tree is read from the running program. Screenshots are
kept in build/<arch>/artifacts/."""

import desktop
import harness
from application_case import TREE, ZQ, ApplicationCase
from ipmsg_peer import BR_ENTRY, BR_EXIT, RECVMSG, entry_extra

LEAVER = "10.77.0.2"
OTHER = "10.77.0.3"
HISTORY = 1027


def setUpModule():
    desktop.skip_unless_possible()


class PeerExitTest(ApplicationCase):
    hosts = 3

    def test_a_peer_that_quits_leaves_the_list_and_its_next_entry_brings_it_back(self):
        desk, inspect = self.desk, self.inspect
        leaver = self.peer(1, user="wang", hostname="wangbox")
        other = self.peer(2, user="zhao", hostname="zhaobox")
        self.start_zq()
        self.expect_entry(leaver)
        buddy = self.wait_buddy_list()
        tree_control = inspect.child(buddy, TREE)

        def tree_becomes(expected, what):
            return inspect.wait_until(lambda: inspect.tree(tree_control), lambda t: t == expected, what=what)

        leaver.send(ZQ, BR_ENTRY, entry_extra("王五", "测试部-质量组"))
        other.send(ZQ, BR_ENTRY, entry_extra("赵六", "测试部"))
        both = [(0, 1, "全部好友(3)"), (0, 1, "Dev(1)"), (1, 2, "Li(%s)" % ZQ),
                (0, 1, "测试部(2)"), (1, 1, "质量组(1)"), (2, 3, "王五(%s)" % LEAVER),
                (1, 3, "赵六(%s)" % OTHER)]
        # 赵六 and 质量组 are siblings, in the tree's sort order.
        inspect.wait_until(lambda: inspect.tree(tree_control), lambda t: sorted(t) == sorted(both),
                           what="both peers listed")
        desk.screenshot("peer-exit-before.png", buddy.rect)

        # A text opens the leaver's chat window.
        title = "王五(%s)" % LEAVER
        leaver.send_text(ZQ, "我要下班了")
        leaver.expect(lambda p: p.mode == RECVMSG, what="the receipt")
        chat = inspect.wait_window(lambda w: w.title == title and w.visible, what="the chat window")
        history = inspect.child(chat, HISTORY).text_bytes
        self.assertIn("我要下班了".encode("gbk"), history)

        # An exit from the other address that names the leaver, then the other peer's own exit:
        # only the other peer leaves.
        spoof = "1:%d:wang:wangbox:%d:%s\0" % (other.packet_no(), BR_EXIT, LEAVER)
        other.send_raw(spoof.encode(), ZQ)
        other.send(ZQ, BR_EXIT, b"zhao\0")
        tree_becomes([(0, 1, "全部好友(2)"), (0, 1, "Dev(1)"), (1, 2, "Li(%s)" % ZQ),
                      (0, 1, "测试部(1)"), (1, 1, "质量组(1)"), (2, 3, "王五(%s)" % LEAVER)],
                     "only the other peer gone")

        # The leaver's exit: its item goes, and its groups, emptied, with it.
        leaver.send(ZQ, BR_EXIT, b"wang\0")
        tree_becomes([(0, 1, "全部好友(1)"), (0, 1, "Dev(1)"), (1, 2, "Li(%s)" % ZQ)], "the leaver gone")
        desk.screenshot("peer-exit-after.png", buddy.rect)

        # Its chat window stays open with its history.
        chat = inspect.wait_window(lambda w: w.title == title and w.visible, what="the chat window still open")
        self.assertEqual(inspect.child(chat, HISTORY).text_bytes, history)
        desk.screenshot("peer-exit-chat.png", chat.rect)

        # Its next entry brings it back where that entry puts it.
        leaver.send(ZQ, BR_ENTRY, entry_extra("王五", "测试部-质量组"))
        tree_becomes([(0, 1, "全部好友(2)"), (0, 1, "Dev(1)"), (1, 2, "Li(%s)" % ZQ),
                      (0, 1, "测试部(1)"), (1, 1, "质量组(1)"), (2, 3, "王五(%s)" % LEAVER)],
                     "the leaver back")


if __name__ == "__main__":
    harness.run_tests()
