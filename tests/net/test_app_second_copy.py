"""A second ZQ.exe on the same host finds port 2425 taken: it tells the user in a message box,
and ends without an exit datagram (it never announced itself, and an exit with the same user,
host and address would sign the first copy off), while the first copy keeps running and answering."""

import unittest

import desktop
import harness
from desktop import Desktop, Inspector
from harness import Network, WineHost
from ipmsg_peer import ANSENTRY, BR_ENTRY, BR_EXIT, Peer, entry_extra

ZQ = "10.77.0.1"
PORT_BUSY = "错误：UDP端口被其它程序占用!"


def setUpModule():
    desktop.skip_unless_possible()


class SecondCopyTest(unittest.TestCase):

    def test_second_copy_shows_the_port_busy_box_and_ends(self):
        with Desktop() as desk, Network(hosts=2) as net, WineHost(net.hosts[0]) as wine:
            peer = Peer(net.hosts[1])
            inspect = Inspector(wine)
            wine.write_settings(userName="Li", userGroupName="Dev")
            first = wine.start(desktop.program_path("ZQ.exe"), name="ZQ-first")
            peer.expect(lambda p: p.command == BR_ENTRY and p.sender[0] == ZQ, timeout=60, what="entry")
            inspect.wait_window(lambda w: w.title == "VO2013" and w.visible, what="the first buddy list")

            second = wine.start(desktop.program_path("ZQ.exe"), name="ZQ-second")
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
