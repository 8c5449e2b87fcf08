"""Receiving files as a user does it in the real program: a scripted peer offers a file and a folder
tree to ZQ.exe; the user answers the yes/no box with Return and picks a folder in the real folder
picker with the mouse and the keyboard; every file arrives byte for byte, and the receive-progress
window, shown by the acceptance, ends with every row at 100%. Screenshots of the box, the picker and
the progress window are kept in build/<arch>/artifacts/."""

import os
import shutil
import tempfile

import desktop
import harness
from application_case import ZQ, ApplicationCase
from folder_stream import make_folder_stream
from ipmsg_peer import RECVMSG, FileServer, offer_datagram
from test_file_download import sha, tree_files

PEER = "10.77.0.2"
RECEIVE_LIST = 1053
PROGRESS_COLUMN = 7
DESKTOP = "C:\\users\\%s\\Desktop"
CHOSEN = "zqrecv"


def tree_hashes(root):
    """Relative path -> sha256 of every file under root."""
    return {name: sha(content) for name, content in tree_files(root).items()}


def setUpModule():
    desktop.skip_unless_possible()


def accept_offer(desk, inspect, chosen, shots="receive"):
    """Answers the offer box with Return, then picks the Desktop folder `chosen` in the folder
    picker: a click on the tree's empty area, the folder's name typed, Return. Screenshots are
    named after `shots`."""
    box = inspect.wait_window(lambda w: w.title == "接收文件" and w.visible, timeout=30, what="the offer box")
    desk.screenshot(shots + "-offer-box.png", box.rect)
    desk.focus(desk.x_window("^接收文件$"))
    desk.key("Return")
    picker = inspect.wait_window(lambda w: w.title == "选择文件夹" and w.visible, timeout=30, what="the folder picker")
    tree = [c for c in inspect.children(picker) if c.cls == "SysTreeView32"][0]
    desk.focus(desk.x_window("^选择文件夹$"))
    left, _, right, bottom = tree.rect
    desk.click((left + right) // 2, bottom - 8)
    desk.type(chosen)
    desk.screenshot(shots + "-folder-picker.png", picker.rect)
    desk.key("Return")


def wait_rows_ended(inspect, count):
    """The progress window's rows once `count` of them have an end text; returns them."""
    window = inspect.wait_window(lambda w: w.title == "文件接收进度" and w.visible, what="the progress window")
    rows = inspect.wait_until(lambda: inspect.rows(inspect.child(window, RECEIVE_LIST)),
                              lambda r: len(r) == count and all("完成100%" in row[PROGRESS_COLUMN] or
                                                                "接收异常" in row[PROGRESS_COLUMN] for row in r),
                              timeout=60, what="every row ended")
    return window, rows


class ReceiveTest(ApplicationCase):

    def test_an_offered_file_and_folder_tree_arrive_when_the_user_says_yes(self):
        desk, inspect = self.desk, self.inspect
        peer = self.peer(user="peer", hostname="peerbox")
        login = os.environ.get("USER") or "root"
        chosen = self.wine.unix_path(DESKTOP % login + "\\" + CHOSEN)
        os.makedirs(chosen)

        data = os.urandom(3 * 1024 * 1024 + 17)
        source = os.path.join(tempfile.mkdtemp(prefix="zq-offer-"), "tree")
        self.addCleanup(shutil.rmtree, os.path.dirname(source))
        os.makedirs(os.path.join(source, "sub", "deeper"))
        files = {"top.txt": os.urandom(40000), os.path.join("sub", "s.bin"): os.urandom(700001),
                 os.path.join("sub", "deeper", "empty.bin"): b"", os.path.join("sub", "报告.txt"): b"x" * 99}
        for name, content in files.items():
            with open(os.path.join(source, name), "wb") as f:
                f.write(content)
        server = FileServer(self.net.hosts[1], {(800, 801): data, (800, 802): make_folder_stream(source, "tree")})
        self.addCleanup(server.close)

        buddy = self.start_and_meet(peer, "Sender", "Sales")
        peer.send_raw(offer_datagram(800, [(801, "big.bin", len(data), 1),
                                           (802, "tree", sum(map(len, files.values())), 2)], text="给你"), ZQ)
        peer.expect(lambda p: p.command == RECVMSG, 20, what="the offer's receipt")
        accept_offer(desk, inspect, CHOSEN)

        window, rows = wait_rows_ended(inspect, 2)
        desk.screenshot("receive-progress-window.png", window.rect)
        by_name = {row[4]: row for row in rows}
        self.assertEqual(sorted(by_name), ["big.bin", "tree"])
        for row in rows:
            self.assertIn("完成100%", row[PROGRESS_COLUMN], row)
            self.assertEqual(row[1], PEER)
            self.assertEqual(row[0], "Sender")
        self.assertEqual(by_name["big.bin"][3], "文件")
        self.assertEqual(by_name["tree"][3], "目录")
        self.assertEqual(int(by_name["big.bin"][6]), len(data), "every byte counted")
        self.assertTrue(by_name["big.bin"][PROGRESS_COLUMN].startswith("3.0M/3.0M,"), by_name["big.bin"])

        with open(os.path.join(chosen, "big.bin"), "rb") as f:
            self.assertEqual(sha(f.read()), sha(data))
        self.assertEqual(tree_hashes(os.path.join(chosen, "tree")), {k: sha(v) for k, v in files.items()})

        # The "收发状态" button shows the same window again after it was closed.
        inspect.close(window)
        inspect.wait_window(lambda w: w.title == "文件接收进度" and not w.visible, what="the window hidden")
        self.focus_buddy_list()
        desk.click(*inspect.child(buddy, 1056).centre())
        inspect.wait_window(lambda w: w.title == "文件接收进度" and w.visible, what="the window shown again")


if __name__ == "__main__":
    harness.run_tests()
