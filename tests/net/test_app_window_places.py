"""Where the windows open and what their captions show, as the user meets them: with the buddy list
dragged towards one side of the screen, the receive-progress window (the buddy list's 传输状态
button) and the shared-folder browser (its 共享 button) open beside it, inside the work area, clear
of the tray icon's window; every window of the program (buddy list, chat, progress, shared
folders, message list, settings) offers the desktop the program's icon. (On this
1280-pixel screen neither window fits beside the list where it starts, in the middle: there they
open at the work area's edge next to it, as the unit tests show.) A screenshot of the whole screen
is kept in build/<arch>/artifacts/."""

import re

import desktop
import harness
from application_case import ZQ, ApplicationCase
from desktop import BUDDY_LIST_TITLE
from ipmsg_peer import RECVMSG

SHARE_BUTTON = 1046
TRANSFER_STATUS = 1056
MESSAGE_LIST_COMMAND = 32773
SETTINGS_COMMAND = 32783
SCREEN = (0, 0, 1280, 800)


def setUpModule():
    desktop.skip_unless_possible()


def inside(inner, outer):
    return inner[0] >= outer[0] and inner[1] >= outer[1] and inner[2] <= outer[2] and inner[3] <= outer[3]


def overlap(a, b):
    return max(a[0], b[0]) < min(a[2], b[2]) and max(a[1], b[1]) < min(a[3], b[3])


class WindowPlacesTest(ApplicationCase):

    def test_windows_open_beside_the_buddy_list_and_show_the_programs_icon(self):
        desk, inspect = self.desk, self.inspect
        peer = self.peer(user="peeruser", hostname="peerbox")
        buddy = self.start_and_meet(peer, "PeerNick", "Sales")
        tray = inspect.wait_window(lambda w: w.title == "Wine System Tray", what="the tray window")

        peer.send_text(ZQ, "你好")
        peer.expect(lambda p: p.mode == RECVMSG, what="the receipt")
        chat_title = "PeerNick(10.77.0.2)"
        inspect.wait_window(lambda w: w.title == chat_title and w.visible, what="the chat window")

        # The user drags the list by its caption towards the right, where it leaves room at its left.
        x, y = (buddy.rect[0] + buddy.rect[2]) // 2, buddy.rect[1] + 8
        shift = SCREEN[2] - 40 - buddy.rect[2]
        self.focus_buddy_list()
        desk.xdotool("mousemove", str(x), str(y), "mousedown", "1")
        for step in range(1, 5):
            desk.xdotool("mousemove", str(x + shift * step // 4), str(y))
        desk.xdotool("mouseup", "1")
        buddy = inspect.wait_window(lambda w: w.title == BUDDY_LIST_TITLE and w.rect[0] > 700, what="the list moved")

        inspect.command(buddy, TRANSFER_STATUS)
        progress = inspect.wait_window(lambda w: w.title == "文件接收进度" and w.visible, what="the progress window")
        inspect.command(buddy, SHARE_BUTTON)
        browser = inspect.wait_window(lambda w: w.title == "共享文件夹" and w.visible, what="the browser")
        work = inspect.look(buddy)[0]
        self.assertTrue(inside(work, SCREEN), work)
        for window in (progress, browser):
            with self.subTest(window.title):
                self.assertTrue(inside(window.rect, work), (window, work))
                self.assertFalse(overlap(window.rect, buddy.rect), (window, buddy))
                self.assertFalse(overlap(window.rect, tray.rect), (window, tray))

        frame = inspect.wait_window(lambda w: "Vantlor" in w.title and not w.visible, what="the hidden frame")
        inspect.command(frame, MESSAGE_LIST_COMMAND)
        inspect.wait_window(lambda w: w.title == "消息列表" and w.visible, what="the message list")
        inspect.command(frame, SETTINGS_COMMAND)
        inspect.wait_window(lambda w: w.title == "设置" and w.visible, what="the settings dialog")
        desk.screenshot("window-places.png", SCREEN)

        titles = (BUDDY_LIST_TITLE, chat_title, "文件接收进度", "共享文件夹", "消息列表", "设置")
        shown = {w.title: w for w in inspect.windows() if w.visible and w.title in titles}
        self.assertEqual(sorted(shown), sorted(titles))
        # The settings dialog always had the program's icon; a window without one of its own
        # offers Wine's default icon, or none.
        program = desk.icons(desk.x_window("^设置$"))
        self.assertTrue(program)
        for title in titles:
            with self.subTest(title):
                self.assertEqual(desk.icons(desk.x_window("^%s$" % re.escape(title))), program)


if __name__ == "__main__":
    harness.run_tests()
