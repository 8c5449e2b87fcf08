"""Closing ZQ's hidden frame from outside, as a task manager does, ends the program the way the tray's
exit does: an exit datagram first, then the end of the process, with no crash on the way. On its
start the program announces itself as a foreign client expects it."""

import desktop
import harness
from application_case import ZQ, ApplicationCase
from identity import HOST_NAME, LOGIN_NAME
from ipmsg_peer import BR_EXIT


def setUpModule():
    desktop.skip_unless_possible()


class CloseFromOutsideTest(ApplicationCase):

    def test_closing_the_frame_says_goodbye_and_ends(self):
        inspect = self.inspect
        peer = self.peer()
        zq = self.start_zq()
        entry = self.expect_entry(peer)
        self.assertEqual((entry.version, entry.user, entry.host, entry.extra),
                         ("1-1-ZQ", LOGIN_NAME, HOST_NAME, b"Li\0Dev"))
        self.wait_buddy_list()
        # A peer in the list: the receive thread has handed a message to the buddy list.
        self.answer_entry(peer, "PeerNick", "Sales")

        frame = inspect.wait_window(lambda w: "Vantlor" in w.title and not w.visible, what="the hidden frame")
        inspect.close(frame)
        peer.expect(lambda p: p.command == BR_EXIT and p.sender[0] == ZQ, what="exit broadcast")
        self.assertEqual(zq.wait(30), 0)


if __name__ == "__main__":
    harness.run_tests()
