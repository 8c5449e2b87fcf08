"""Closing ZQ's hidden frame from outside, as a task manager does, ends the program the way the tray's
exit does: an exit datagram first, then the end of the process, with no crash on the way. On its
start the program announces itself as a foreign client expects it."""

import unittest

import desktop
import harness
from desktop import Desktop, Inspector
from harness import Network, WineHost
from identity import HOST_NAME, LOGIN_NAME
from ipmsg_peer import ANSENTRY, BR_ENTRY, BR_EXIT, Peer, entry_extra

ZQ = "10.77.0.1"


def setUpModule():
    desktop.skip_unless_possible()


class CloseFromOutsideTest(unittest.TestCase):

    def test_closing_the_frame_says_goodbye_and_ends(self):
        with Desktop(), Network(hosts=2) as net, WineHost(net.hosts[0]) as wine:
            peer = Peer(net.hosts[1])
            inspect = Inspector(wine)
            wine.write_settings(userName="Li", userGroupName="Dev")
            zq = wine.start(desktop.program_path("ZQ.exe"), name="ZQ")
            entry = peer.expect(lambda p: p.command == BR_ENTRY and p.sender[0] == ZQ, timeout=60, what="entry")
            self.assertEqual((entry.version, entry.user, entry.host, entry.extra),
                             ("1-1-ZQ", LOGIN_NAME, HOST_NAME, b"Li\0Dev"))
            inspect.wait_window(lambda w: w.title == "VO2013" and w.visible, what="the buddy list")
            # A peer in the list: the receive thread has handed a message to the buddy list.
            peer.send(ZQ, ANSENTRY, entry_extra("PeerNick", "Sales"))

            frame = inspect.wait_window(lambda w: "Vantlor" in w.title and not w.visible, what="the hidden frame")
            inspect.close(frame)
            peer.expect(lambda p: p.command == BR_EXIT and p.sender[0] == ZQ, what="exit broadcast")
            self.assertEqual(zq.wait(30), 0)


if __name__ == "__main__":
    harness.run_tests()
