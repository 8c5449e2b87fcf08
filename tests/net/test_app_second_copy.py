"""A second ZQ.exe on the same host finds port 2425 taken: it tells the user in a message box,
and ends without an exit datagram (it never announced itself, and an exit with the same user,
host and address would sign the first copy off), while the first copy keeps running and answering."""

import desktop
import harness
from application_case import ZQ, ApplicationCase
from ipmsg_peer import ANSENTRY, BR_ENTRY, BR_EXIT, entry_extra

PORT_BUSY = "错误：UDP端口被其它程序占用!"


def setUpModule():
    desktop.skip_unless_possible()


class SecondCopyTest(ApplicationCase):

    def test_second_copy_shows_the_port_busy_box_and_ends(self):
        desk, inspect = self.desk, self.inspect
        peer = self.peer()
        first = self.start_zq(name="ZQ-first")
        self.expect_entry(peer)
        self.wait_buddy_list(what="the first buddy list")

        second = self.start_zq(name="ZQ-second")
        box = inspect.wait_window(lambda w: w.title == "ZQ" and w.visible, what="the port-busy box")
        texts = [child.title for child in inspect.children(box)]
        self.assertTrue(any(text.startswith(PORT_BUSY) for text in texts), texts)
        desk.screenshot("port-busy.png", box.rect)

        # The user confirms; the second copy leaves, the first stays.
        ok = next(child for child in inspect.children(box) if child.cls.lower() == "button")
        desk.focus(desk.x_window("^ZQ$"))
        desk.click(*ok.centre())
        self.assertIsNotNone(second.wait(30))
        self.assertEqual([p for p in peer.collect(2.0) if p.command == BR_EXIT], [], "an exit from the second copy")
        self.assertTrue(first.running())
        peer.send(ZQ, BR_ENTRY, entry_extra("PeerNick", "Sales"))
        peer.expect(lambda p: p.command == ANSENTRY and p.sender[0] == ZQ, what="the first copy's answer")


if __name__ == "__main__":
    harness.run_tests()
