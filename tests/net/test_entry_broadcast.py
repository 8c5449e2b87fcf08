"""The entry broadcast as a foreign client sees it: version "1-1-ZQ", command 1, the login name and
host name, and as extra the nickname, a NUL and the work group, with nothing cut off."""

import unittest

import harness
from harness import Network, WineHost
from ipmsg_peer import BR_ENTRY, Peer
from identity import LOGIN_NAME, HOST_NAME

# Settings (userName, userGroupName) -> the extra of the entry datagram.
CASES = [
    ("Li", "Dev-Web", b"Li\0Dev-Web"),
    ("  小李 ", "研发部-网站组", "小李\0研发部-网站组".encode("gbk")),
    # Loading fills an empty group with "WorkGroup" and an empty name with the host name.
    ("Tom", "", b"Tom\0WorkGroup"),
    ("", "Sales", HOST_NAME.encode("gbk") + b"\0Sales"),
    # Only a ';' after the last ':' becomes the NUL: a group holding ':' keeps the ';'.
    ("Tom", "Sales:East", b"Tom;Sales:East"),
]


class EntryBroadcastTest(unittest.TestCase):

    def test_entry_carries_nickname_nul_group(self):
        with Network(hosts=2) as net, WineHost(net.hosts[0]) as wine:
            peer = Peer(net.hosts[1])
            for name, group, extra in CASES:
                with self.subTest(userName=name, userGroupName=group):
                    wine.write_settings(userName=name, userGroupName=group)
                    run = wine.driver("entry")
                    self.assertEqual(run.wait(60), 0, run.log.dump())
                    entry = peer.expect(lambda p: p.command == BR_ENTRY, what="entry broadcast")
                    self.assertEqual(entry.sender, ("10.77.0.1", 2425))
                    self.assertEqual(entry.version, "1-1-ZQ")
                    self.assertEqual(entry.user, LOGIN_NAME)
                    self.assertEqual(entry.host, HOST_NAME)
                    self.assertEqual(entry.extra, extra)
                    peer.collect(0.5)         # the driver has ended: anything else is on its way
                    self.assertEqual(peer.inbox, [], "one entry per start")


if __name__ == "__main__":
    harness.run_tests()
