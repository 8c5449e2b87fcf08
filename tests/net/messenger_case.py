"""A test case class for tests that run the whole messenger (netdriver messenger) on host 1 of
a network of their own, with a scripted peer on host 2."""

import unittest

from harness import Network, WineHost
from ipmsg_peer import BR_ENTRY, Peer

ZQ = "10.77.0.1"


class MessengerCase(unittest.TestCase):
    hosts = 2                          # the network's size
    settings = {"userName": "Li", "userGroupName": "Dev"}

    @classmethod
    def setUpClass(cls):
        cls.net = Network(hosts=cls.hosts).__enter__()
        cls.wine = WineHost(cls.net.hosts[0]).__enter__()
        cls.wine.write_settings(**cls.settings)

    @classmethod
    def tearDownClass(cls):
        cls.wine.__exit__(None, None, None)
        cls.net.__exit__(None, None, None)

    def setUp(self):
        self.peer = Peer(self.net.hosts[1])
        self.run_ = None

    def tearDown(self):
        self.peer.close()
        if self.run_:
            self.run_.finish()

    def start_messenger(self, *options):
        """Starts the messenger for two minutes; returns once the peer has its entry."""
        self.run_ = self.wine.driver("messenger", "--seconds", "120", *options)
        self.run_.log.wait_for(lambda e: e.kind == "RESULT" and e["call"] == b"startMessenger", 60, self.run_)
        self.peer.expect(lambda p: p.command == BR_ENTRY and p.sender[0] == ZQ, what="own entry")
        return self.run_
