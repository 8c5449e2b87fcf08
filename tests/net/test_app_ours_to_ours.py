"""Two copies of the messenger on two hosts, as two users meet them: on the first, the user opens
the chat with the second, drags a file and a folder from an X client (a GTK drag source) onto the
chat window's file list with the mouse, types a line and presses Send; on the second, the user
answers the offer box with Return and picks a folder in the real folder picker; both items arrive
byte for byte and the second's progress window ends with both rows at 100%."""

import os
import re

import desktop
import harness
from application_case import TREE, ApplicationCase
from desktop import BUDDY_LIST_TITLE, Inspector
from test_app_drop import require_drag_source
from test_app_receive import CHOSEN, DESKTOP, PROGRESS_COLUMN, accept_offer, tree_hashes, wait_rows_ended
from test_file_download import sha

SENDER = "10.77.0.1"
RECEIVER = "10.77.0.2"
MESSAGE = 1016
FILES = 1029
SEND = 3
ID_SEND_MESSAGE = 32787


def setUpModule():
    desktop.skip_unless_possible()
    require_drag_source()


class OursToOursTest(ApplicationCase):

    def test_files_dropped_and_sent_by_one_copy_arrive_at_the_other(self):
        desk, sender = self.desk, self.wine
        receiver = self.wine_host(1, userName="Wang", userGroupName="Sales")
        login = os.environ.get("USER") or "root"
        chosen = receiver.unix_path(DESKTOP % login + "\\" + CHOSEN)
        os.makedirs(chosen)

        data = os.urandom(2 * 1024 * 1024 + 5)
        big = os.path.join(sender.home, "big.bin")
        with open(big, "wb") as f:
            f.write(data)
        folder = os.path.join(sender.home, "tree")
        os.makedirs(os.path.join(folder, "sub"))
        files = {"a.txt": os.urandom(1234), os.path.join("sub", "b.bin"): os.urandom(80000)}
        for name, content in files.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(content)

        inspect_sender, inspect_receiver = self.inspect, Inspector(receiver)
        self.start_zq(sender)
        self.start_zq(receiver)
        buddy = self.wait_buddy_list()
        tree = inspect_sender.child(buddy, TREE)
        inspect_sender.wait_until(lambda: inspect_sender.tree(tree),
                                  lambda t: any(item[2] == "Wang(%s)" % RECEIVER for item in t), timeout=60,
                                  what="the other copy in the tree")
        other_buddy = self.wait_buddy_list(inspect_receiver, what="the receiver's buddy list")
        inspect_receiver.wait_until(lambda: inspect_receiver.tree(inspect_receiver.child(other_buddy, TREE)),
                                    lambda t: any(item[2] == "Li(%s)" % SENDER for item in t), timeout=60,
                                    what="the sender known")
        # Both buddy lists open at the same place on the one display: the second user closes
        # theirs (it only hides), so that the first one's is the window under the mouse.
        inspect_receiver.close(other_buddy)
        inspect_receiver.wait_window(lambda w: w.title == BUDDY_LIST_TITLE and not w.visible, what="it hidden")

        # The user opens every group from the keyboard, walks down to the peer and picks the
        # tree menu's send command. Opened, the tree shows its items in the order read.
        items = inspect_sender.tree(tree)
        peer_row = [item[2] for item in items].index("Wang(%s)" % RECEIVER)
        self.focus_buddy_list()
        desk.click(*tree.centre())
        desk.key("Home")
        for _ in items:
            desk.key("KP_Multiply")
            desk.key("Down")
        desk.key("Home")
        for _ in range(peer_row):
            desk.key("Down")
        desk.screenshot("ours-to-ours-peer-selected.png", buddy.rect)
        inspect_sender.command(buddy, ID_SEND_MESSAGE)
        title = "Wang(%s)" % RECEIVER
        chat = inspect_sender.wait_window(lambda w: w.title == title and w.visible, what="the chat window")

        desk.drag_files([big, folder], *inspect_sender.child(chat, FILES).centre())
        rows = inspect_sender.wait_until(lambda: inspect_sender.rows(inspect_sender.child(chat, FILES)),
                                         lambda r: len(r) == 2, timeout=15, what="both items listed")
        self.assertEqual(sorted(row[0] for row in rows), ["big.bin", "tree"])
        desk.focus(desk.x_window(re.escape(RECEIVER)))
        desk.click(*inspect_sender.child(chat, MESSAGE).centre())
        desk.type("take these")
        desk.click(*inspect_sender.child(chat, SEND).centre())

        accept_offer(desk, inspect_receiver, CHOSEN, shots="ours-to-ours")
        window, rows = wait_rows_ended(inspect_receiver, 2)
        desk.screenshot("ours-to-ours-progress.png", window.rect)
        for row in rows:
            self.assertIn("完成100%", row[PROGRESS_COLUMN], row)
            self.assertEqual(row[:2], ["Li", SENDER])
        with open(os.path.join(chosen, "big.bin"), "rb") as f:
            self.assertEqual(sha(f.read()), sha(data))
        self.assertEqual(tree_hashes(os.path.join(chosen, "tree")), {k: sha(v) for k, v in files.items()})


if __name__ == "__main__":
    harness.run_tests()
