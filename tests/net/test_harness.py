"""The harness itself: a Wine program on host 1 and a Python peer on host 2 meet on port 2425,
and nothing of the test network outlives the test."""

import os
import subprocess
import unittest

import harness
from harness import Network, WineHost
from ipmsg_peer import Peer


class HarnessTest(unittest.TestCase):

    def test_wine_program_and_peer_meet_on_port_2425_and_everything_is_removed_after(self):
        with Network(hosts=2) as net:
            peer = Peer(net.hosts[1])
            with WineHost(net.hosts[0]) as wine:
                probe = wine.driver("probe", "--seconds", "60")
                broadcast = peer.expect(lambda p: p.raw == b"zq-probe", timeout=30,
                                        what="probe broadcast")
                self.assertEqual(broadcast.sender, ("10.77.0.1", 2425))

                peer.send_raw("你好".encode("gbk"), "10.77.0.1")
                echo = peer.expect(lambda p: p.raw.startswith(b"echo:"), what="echo")
                self.assertEqual(echo.raw, b"echo:" + "你好".encode("gbk"))

                # Wine runs in code page 936, or none of the texts would be right.
                self.assertEqual(probe.log.wait_for(lambda e: e.kind == "PROBE", 10)["acp"], b"936")
                probe.request_stop()
                self.assertEqual(probe.wait(30), 0)
                server, prefix = wine.server_pid, wine.prefix
            peer.close()
            self.assertFalse(os.path.exists(prefix))
            self.assertFalse(harness._pid_alive(server))
        listed = subprocess.run(["ip", "netns", "list"], capture_output=True, text=True).stdout
        self.assertNotIn(net.tag, listed)


if __name__ == "__main__":
    harness.run_tests()
