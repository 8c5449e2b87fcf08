"""The messenger as a user meets it: ZQ.exe starts hidden with its tray icon and the buddy list,
a peer shows up in the tree under its group, a chat text from the peer opens its chat window
(and the peer gets its receipt), an answer typed into that window reaches the peer, and the
tray's exit says goodbye and ends the program. Screenshots of the buddy list and the chat window
are kept in build/<arch>/artifacts/."""

import re

import desktop
import harness
from application_case import TREE, ZQ, ApplicationCase
from ipmsg_peer import BR_EXIT, RECVMSG, SENDMSG

PEER = "10.77.0.2"
HISTORY = 1027
MESSAGE = 1016
TIME = rb"\d\d:\d\d:\d\d"


def setUpModule():
    desktop.skip_unless_possible()


class ApplicationTest(ApplicationCase):

    def test_start_chat_both_ways_and_exit_from_the_tray(self):
        desk, inspect = self.desk, self.inspect
        peer = self.peer(user="peeruser", hostname="peerbox")
        zq = self.start_zq()

        # It announces itself; the peer answers as an IPMSG client does.
        self.expect_entry(peer)
        self.answer_entry(peer, "PeerNick", "Sales-East")

        # Hidden frame, tray icon, visible buddy list.
        buddy = self.wait_buddy_list()
        windows = inspect.windows()
        self.assertTrue(any(w.title == "Wine System Tray" for w in windows), windows)
        self.assertFalse([w for w in windows if w.visible and "Vantlor" in w.title], "the frame stays hidden")

        # The peer under its group path, counted; our own entry came back to us as well.
        tree_control = inspect.child(buddy, TREE)
        tree = self.wait_in_tree(buddy, "PeerNick")
        self.assertEqual(tree, [(0, 1, "全部好友(2)"),
                                (0, 1, "Dev(1)"), (1, 2, "Li(%s)" % ZQ),
                                (0, 1, "Sales(1)"), (1, 1, "East(1)"), (2, 3, "PeerNick(%s)" % PEER)])

        # The user opens every group from the keyboard: each opened group shows the open image.
        self.focus_buddy_list()
        desk.click(*inspect.child(buddy, TREE).centre())
        for key in ("Home", "Down", "KP_Multiply", "Down", "Down", "KP_Multiply"):
            desk.key(key)
        tree = inspect.wait_until(lambda: inspect.tree(tree_control),
                                  lambda t: [item[1] for item in t] == [1, 0, 2, 0, 0, 3],
                                  what="the groups opened")
        desk.screenshot("buddy-list.png", buddy.rect)

        # A chat text from the peer: receipt, and the chat window with the history line.
        packet_no = peer.send_text(ZQ, "你好，ZQ")
        receipt = peer.expect(lambda p: p.mode == RECVMSG, what="receipt")
        self.assertEqual(receipt.extra.rstrip(b"\0"), str(packet_no).encode())
        title = "PeerNick(%s)" % PEER
        chat = inspect.wait_window(lambda w: w.title == title and w.visible, what="the chat window")
        history = inspect.wait_until(lambda: inspect.child(chat, HISTORY).text_bytes, lambda h: h,
                                     what="the history")
        self.assertRegex(history, b"^PeerNick " + TIME + "：\r\n你好，ZQ$".encode("gbk"))

        # The user clicks into the input, types an answer in ASCII and Chinese (as a keyboard
        # layout or an input method sends it) and presses Enter (the Send button).
        answer = "hello peer 给你文件：三个"
        desk.focus(desk.x_window(re.escape(PEER)))
        desk.click(*inspect.child(chat, MESSAGE).centre())
        desk.type_into(answer, lambda: inspect.child(chat, MESSAGE).text_bytes)
        desk.key("Return")
        sent = peer.expect(lambda p: p.mode == SENDMSG and p.sender[0] == ZQ, what="the answer")
        self.assertEqual(sent.extra.rstrip(b"\0"), answer.encode("gbk"))
        history = inspect.wait_until(lambda: inspect.child(chat, HISTORY).text_bytes,
                                     lambda h: b"hello peer" in h, what="the answer in the history")
        self.assertRegex(history, b"^PeerNick " + TIME + "：\r\n你好，ZQ\r\n".encode("gbk") +
                         b"Li " + TIME + ("：\r\n" + answer + "$").encode("gbk"))
        self.assertEqual(inspect.child(chat, MESSAGE).text_bytes, b"", "the input is emptied")
        desk.screenshot("chat-window.png", inspect.wait_window(lambda w: w.title == title).rect)

        # Exit from the tray menu: right click on the icon, then the last item.
        tray = inspect.wait_window(lambda w: w.title == "Wine System Tray")
        left, top, _, bottom = tray.rect
        desk.click(left + 12, (top + bottom) // 2 + 8, button=3)
        menu = inspect.wait_window(lambda w: w.cls == "#32768" and w.visible, what="the tray menu")
        desk.screenshot("tray-menu.png", menu.rect)
        desk.click(menu.rect[0] + 30, menu.rect[3] - 12)
        peer.expect(lambda p: p.command == BR_EXIT and p.sender[0] == ZQ, what="exit broadcast")
        self.assertEqual(zq.wait(30), 0)


if __name__ == "__main__":
    harness.run_tests()
