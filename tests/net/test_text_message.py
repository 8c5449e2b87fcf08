"""sendTextMessage: one chat datagram (command 0x20) to every address of a "," list, blank pieces
skipped; every receiver gets the same packet number and the same bytes, the text unchanged."""

import unittest

import harness
from harness import Network, WineHost
from ipmsg_peer import SENDMSG, Peer

TEXT = "你好; 见面:十点\t到"

# ipList -> how many datagrams host 2 and host 3 get.
CASES = [
    ("10.77.0.2, ,10.77.0.3", {"10.77.0.2": 1, "10.77.0.3": 1}),
    (" 10.77.0.2 ,  , 10.77.0.2", {"10.77.0.2": 2, "10.77.0.3": 0}),
    ("10.77.0.3", {"10.77.0.2": 0, "10.77.0.3": 1}),
    ("", {"10.77.0.2": 0, "10.77.0.3": 0}),
]


class TextMessageTest(unittest.TestCase):

    def test_one_datagram_per_listed_address(self):
        with Network(hosts=3) as net, WineHost(net.hosts[0]) as wine:
            peers = {host.ip: Peer(host) for host in net.hosts[1:]}
            wine.write_settings(userName="Li", userGroupName="Dev")
            for ip_list, expected in CASES:
                with self.subTest(ipList=ip_list):
                    run = wine.driver("text", ip_list, TEXT)
                    self.assertEqual(run.wait(60), 0, run.log.dump())
                    # The driver has ended, so everything it sent is on its way; a second is plenty.
                    got = {ip: peer.collect(1.0) for ip, peer in peers.items()}
                    self.assertEqual({ip: len(packets) for ip, packets in got.items()}, expected)
                    sent = [p for packets in got.values() for p in packets]
                    for packet in sent:
                        self.assertEqual(packet.command, SENDMSG)
                        self.assertEqual(packet.sender, ("10.77.0.1", 2425))
                        self.assertEqual(packet.version, "1-1-ZQ")
                        self.assertEqual(packet.extra, TEXT.encode("gbk"))
                    self.assertLessEqual(len({p.raw for p in sent}), 1, "one packet number, same bytes")
                    for peer in peers.values():
                        peer.inbox.clear()


if __name__ == "__main__":
    harness.run_tests()
