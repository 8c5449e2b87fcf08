"""A messenger that finds port 2425 taken tells the user and gives up (-1). It never announced
itself, so it says no goodbye: an exit with the running copy's user, host and address would
make every peer drop that copy.

The port can be taken for UDP (by a running copy, or any program) or for TCP alone."""

import socket
import unittest

import harness
from harness import Network, WineHost
from ipmsg_peer import BR_EXIT, Peer

PORT_BUSY_TEXT = ("错误：UDP端口被其它程序占用!\r\n您可能已经开启了飞鸽（IPMsg）、飞秋（FeiQ）或ZQ。\r\n"
                  "如果要开启新程序，请先关闭原程序。").encode("gbk")


class PortBusyTest(unittest.TestCase):

    def check_gives_up(self, wine, peer):
        """Runs a second start on the host and checks that it sends no exit."""
        run = wine.driver("initonly")
        self.assertEqual(run.wait(60), 1, run.log.dump())
        prompts = run.log.events("PROMPT")
        self.assertEqual([p["text"] for p in prompts], [PORT_BUSY_TEXT])
        self.assertEqual(int(prompts[0]["type"]) & 0xF, 0, "OK button only")
        result = run.log.wait_for(lambda e: e.kind == "RESULT", 1)
        self.assertEqual((result["call"], result["value"]), (b"initMessenger", b"-1"))
        goodbyes = [p for p in peer.collect(2.0) if p.command == BR_EXIT]
        self.assertEqual(goodbyes, [], "an exit from the start that gave up")

    def test_second_copy_gives_up_and_first_keeps_running(self):
        with Network(hosts=2) as net, WineHost(net.hosts[0]) as wine:
            peer = Peer(net.hosts[1])
            wine.write_settings(userName="Li", userGroupName="Dev")
            first = wine.driver("messenger", "--seconds", "90")
            first.log.wait_for(lambda e: e.kind == "RESULT" and e["call"] == b"startMessenger", 60, first)

            self.check_gives_up(wine, peer)
            self.assertTrue(first.running())
            self.assertEqual(first.finish(), 0)

    def test_port_taken_by_another_program(self):
        with Network(hosts=2) as net, WineHost(net.hosts[0]) as wine:
            peer = Peer(net.hosts[1])
            wine.write_settings(userName="Li", userGroupName="Dev")
            for kind in [socket.SOCK_DGRAM, socket.SOCK_STREAM]:
                with self.subTest(taken="UDP" if kind == socket.SOCK_DGRAM else "TCP"):
                    squatter = net.hosts[0].socket(kind)
                    squatter.bind(("0.0.0.0", 2425))
                    self.check_gives_up(wine, peer)
                    squatter.close()


if __name__ == "__main__":
    harness.run_tests()
