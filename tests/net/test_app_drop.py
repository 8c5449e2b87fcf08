"""Files dragged from an X client (a GTK drag source, as a file manager is) and dropped with the
mouse on the chat windows under Wine: a drop on every drop target of the one-to-one chat window
(history, input, file list) and of the group-send window (recipients, input, file list) lists
the file in that window's file list. Screenshots of both windows are kept in
build/<arch>/artifacts/."""

import os
import re
import subprocess
import unittest

import desktop
import harness
from application_case import TREE, ZQ, ApplicationCase

PEER = "10.77.0.2"
HISTORY = 1027
MESSAGE = 1016
FILES = 1029
USERS = 1042


def require_drag_source():
    """For setUpModule: the GTK drag source needs the system's GTK bindings."""
    probe = subprocess.run([desktop.SYSTEM_PYTHON, "-c",
                            "import gi; gi.require_version('Gtk', '3.0'); from gi.repository import Gtk"],
                           stdin=subprocess.DEVNULL, capture_output=True)
    if probe.returncode != 0:
        raise unittest.SkipTest("the drag source needs python3-gi and gir1.2-gtk-3.0")


def setUpModule():
    desktop.skip_unless_possible()
    require_drag_source()


class DropTest(ApplicationCase):

    def drop_on_each(self, desk, inspect, window, targets, files):
        """Drops a file of its own on each target in turn; the file list grows by that file."""
        listed = []
        for control_id, path in zip(targets, files):
            desk.drag_files([path], *inspect.child(window, control_id).centre())
            listed.append(["%s" % os.path.basename(path), harness.dos_path(path)])
            rows = inspect.wait_until(lambda: inspect.rows(inspect.child(window, FILES)),
                                      lambda r: len(r) >= len(listed), timeout=15,
                                      what="the file dropped on control %d listed" % control_id)
            self.assertEqual([row[:2] for row in rows], listed, "dropped on control %d" % control_id)

    def test_a_file_dropped_on_any_drop_target_is_listed(self):
        desk, inspect = self.desk, self.inspect
        peer = self.peer(user="peeruser", hostname="peerbox")
        files = []
        for name in ("history.txt", "input.txt", "list.txt", "users.txt", "group-input.txt", "group-list.txt"):
            path = os.path.join(self.wine.home, name)
            with open(path, "w") as f:
                f.write(name)
            files.append(path)
        buddy = self.start_and_meet(peer, "PeerNick", "Sales")

        # The one-to-one window, opened by a text from the peer.
        peer.send_text(ZQ, "files please")
        title = "PeerNick(%s)" % PEER
        chat = inspect.wait_window(lambda w: w.title == title and w.visible, what="the chat window")
        desk.focus(desk.x_window(re.escape(PEER)))
        self.drop_on_each(desk, inspect, chat, (HISTORY, MESSAGE, FILES), files[:3])
        desk.screenshot("drop-chat-window.png", chat.rect)

        # The group-send window, opened by a double click on "全部好友" once the chat
        # window is out of the way (closing it only hides it).
        inspect.close(chat)
        inspect.wait_window(lambda w: w.title == title and not w.visible, what="the chat window hidden")
        self.focus_buddy_list()
        first = inspect.child(buddy, TREE).rect
        desk.xdotool("mousemove", "--sync", str(first[0] + 40), str(first[1] + 12), "click", "--repeat", "2",
                     "--delay", "80", "1")
        group = inspect.wait_window(lambda w: w.title == "对话" and w.visible, what="the group-send window")
        self.drop_on_each(desk, inspect, group, (USERS, MESSAGE, FILES), files[3:])
        desk.screenshot("drop-group-window.png", group.rect)


if __name__ == "__main__":
    harness.run_tests()
