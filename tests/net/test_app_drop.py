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
from desktop import Desktop, Inspector
from harness import Network, WineHost
from ipmsg_peer import Peer
from test_app_receive import start_and_meet

ZQ = "10.77.0.1"
PEER = "10.77.0.2"
TREE = 1026
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


class DropTest(unittest.TestCase):

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
        with Desktop() as desk, Network(hosts=2) as net, WineHost(net.hosts[0]) as wine:
            peer = Peer(net.hosts[1], user="peeruser", hostname="peerbox")
            inspect = Inspector(wine)
            wine.write_settings(userName="Li", userGroupName="Dev")
            files = []
            for name in ("history.txt", "input.txt", "list.txt", "users.txt", "group-input.txt", "group-list.txt"):
                path = os.path.join(wine.home, name)
                with open(path, "w") as f:
                    f.write(name)
                files.append(path)
            buddy = start_and_meet(wine, inspect, peer, ZQ, nickname="PeerNick")

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
            desk.focus(desk.x_window("^VO2013$"))
            first = inspect.child(buddy, TREE).rect
            desk.xdotool("mousemove", "--sync", str(first[0] + 40), str(first[1] + 12), "click", "--repeat", "2",
                         "--delay", "80", "1")
            group = inspect.wait_window(lambda w: w.title == "对话" and w.visible, what="the group-send window")
            self.drop_on_each(desk, inspect, group, (USERS, MESSAGE, FILES), files[3:])
            desk.screenshot("drop-group-window.png", group.rect)


if __name__ == "__main__":
    harness.run_tests()
