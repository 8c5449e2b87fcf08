"""A file offer end to end: the messenger offers a file, a folder and a path that is gone to an
address list with a blank piece; every addressee gets the same datagram, and the items it names
can be downloaded at once under the ids it carries."""

import os
import re
import unittest

import harness
from folder_stream import check_folder_stream
from harness import Network, WineHost
from identity import HOST_NAME, LOGIN_NAME
from ipmsg_peer import (FILEATTACHOPT, GETDIRFILES, GETFILEDATA, SENDMSG, Peer, connect_tcp, fetch_tcp,
                        file_request, gbk, stays_silent)

ZQ = "10.77.0.1"


class FileOfferTest(unittest.TestCase):

    def test_offer_reaches_every_address_and_its_items_can_be_fetched(self):
        with Network(hosts=3) as net:
            peers = [Peer(net.hosts[1]), Peer(net.hosts[2])]
            with WineHost(net.hosts[0]) as wine:
                wine.write_settings(userName="srv", userGroupName="g")
                data = os.urandom(1234)
                folder = wine.unix_path("C:\\offer\\docs")
                os.makedirs(os.path.join(folder, "sub"))
                with open(wine.unix_path("C:\\offer\\a.txt"), "wb") as f:
                    f.write(data)
                with open(os.path.join(folder, "x"), "wb") as f:
                    f.write(os.urandom(5000))
                with open(os.path.join(folder, "sub", "y"), "wb") as f:
                    f.write(os.urandom(3000))

                run = wine.driver("offer", "--seconds", "60", "%s, ,  %s" % (net.hosts[1].ip, net.hosts[2].ip),
                                  "文件", "C:\\offer\\a.txt", "C:\\offer\\gone", "C:\\offer\\docs")
                offers = [peer.expect(lambda p: p.command == SENDMSG | FILEATTACHOPT, 60, what="the offer")
                          for peer in peers]
                self.assertEqual(offers[0].raw, offers[1].raw)
                # File ids follow the packet number in order; the receive thread may draw numbers
                # in between (it answers the start's own entry broadcast meanwhile).
                match = re.fullmatch(
                    gbk("1:(\\d+):%s:%s:2097184:文件" % (re.escape(LOGIN_NAME), re.escape(HOST_NAME))) +
                    rb"\0(\d+):a\.txt:4d2:0:1\x07(\d+):docs:1f40:0:2", offers[0].raw, re.S)
                self.assertIsNotNone(match, offers[0].raw)
                packet_no, file_id, folder_id = (int(n) for n in match.groups())
                self.assertLess(packet_no, file_id)
                self.assertLess(file_id, folder_id)

                peer_host = net.hosts[1]
                self.assertEqual(fetch_tcp(peer_host, ZQ, file_request(packet_no, file_id)), data)
                stream = fetch_tcp(peer_host, ZQ, file_request(packet_no, folder_id, command=GETDIRFILES))
                check_folder_stream(self, stream, folder, "docs")
                self.assertEqual(run.finish(), 0)
            for peer in peers:
                peer.close()

    def test_offered_items_are_served_only_to_their_addressees(self):
        """Every datagram shows the packet counter, so the keys of an offer are no secret: a host
        that was not offered an item gets what an unknown key gets, no answer, whichever key it
        tries; every addressee of a group send gets the items."""
        with Network(hosts=4) as net:
            others = net.hosts[1:]
            with WineHost(net.hosts[0]) as wine:
                wine.write_settings(userName="srv", userGroupName="g")
                data = os.urandom(1234)
                folder = wine.unix_path("C:\\offer\\docs")
                os.makedirs(folder)
                with open(wine.unix_path("C:\\offer\\a.txt"), "wb") as f:
                    f.write(data)
                with open(os.path.join(folder, "x"), "wb") as f:
                    f.write(os.urandom(5000))

                cases = [("one addressee", others[:1]), ("a group send", others[:2])]
                for name, addressees in cases:
                    with self.subTest(name):
                        peers = [Peer(host) for host in addressees]
                        run = wine.driver("offer", "--seconds", "60", ",".join(h.ip for h in addressees), "文件",
                                          "C:\\offer\\a.txt", "C:\\offer\\docs")
                        try:
                            offer = peers[0].expect(lambda p: p.command == SENDMSG | FILEATTACHOPT, 60,
                                                    what="the offer")
                            match = re.search(rb"\0(\d+):a\.txt:[^\a]*\a(\d+):docs:", offer.raw)
                            self.assertIsNotNone(match, offer.raw)
                            packet_no = int(offer.packet_no)
                            file_id, folder_id = (int(n) for n in match.groups())
                            for host in addressees:
                                self.assertEqual(fetch_tcp(host, ZQ, file_request(packet_no, file_id)), data)
                                stream = fetch_tcp(host, ZQ, file_request(packet_no, folder_id,
                                                                          command=GETDIRFILES))
                                check_folder_stream(self, stream, folder, "docs")
                            # The others try the offer's keys and their neighbours on one connection.
                            keys = [(packet_no, file_id, GETFILEDATA), (packet_no, folder_id, GETDIRFILES)] + \
                                [(packet_no, n, GETFILEDATA) for n in range(packet_no - 2, folder_id + 3)]
                            for host in others[len(addressees):]:
                                sock = connect_tcp(host, ZQ, timeout=30)
                                try:
                                    for packet_id, item_id, command in keys:
                                        sock.sendall(gbk(file_request(packet_id, item_id, command=command)))
                                        self.assertTrue(stays_silent(sock, 0.5),
                                                        "%s got %d-%d" % (host.ip, packet_id, item_id))
                                finally:
                                    sock.close()
                            # The addressees are still served after that.
                            self.assertEqual(fetch_tcp(addressees[-1], ZQ, file_request(packet_no, file_id)),
                                             data)
                            self.assertEqual(run.finish(), 0)
                        finally:
                            run.finish()
                            for peer in peers:
                                peer.close()


if __name__ == "__main__":
    harness.run_tests()
