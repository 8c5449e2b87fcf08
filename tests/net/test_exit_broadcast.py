"""The goodbye: stopping the messenger broadcasts command 2 with the login name as extra."""

import unittest

import harness
from harness import Network, WineHost
from identity import HOST_NAME, LOGIN_NAME
from ipmsg_peer import BR_EXIT, Peer


class ExitBroadcastTest(unittest.TestCase):

    def test_stop_broadcasts_exit_with_login_name(self):
        with Network(hosts=2) as net, WineHost(net.hosts[0]) as wine:
            peer = Peer(net.hosts[1])
            wine.write_settings(userName="小李", userGroupName="研发部")
            run = wine.driver("exit")
            self.assertEqual(run.wait(60), 0, run.log.dump())
            goodbye = peer.expect(lambda p: p.command == BR_EXIT, what="exit broadcast")
            self.assertEqual(goodbye.sender, ("10.77.0.1", 2425))
            self.assertEqual(goodbye.version, "1-1-ZQ")
            self.assertEqual((goodbye.user, goodbye.host), (LOGIN_NAME, HOST_NAME))
            self.assertEqual(goodbye.extra, LOGIN_NAME.encode("gbk"))
            peer.collect(0.5)                 # the driver has ended: anything else is on its way
            self.assertEqual([p.command for p in peer.history], [BR_EXIT])


if __name__ == "__main__":
    harness.run_tests()
