"""The messenger on a busy network (ZQ.exe under Wine, its windows on a private display): a few
hundred peers answer its entry broadcast all at once and every one of them ends up in the buddy
tree under its group; chat texts that arrive in a flood of malformed datagrams all get their
receipts. Nothing here is timed: what counts is that nothing is lost."""

import random

import desktop
import harness
from application_case import TREE, ZQ, ApplicationCase
from ipmsg_peer import ANSENTRY, BR_ENTRY, PORT, RECVMSG, SENDCHECKOPT, SENDMSG, build, entry_extra

CROWD = 300
# Group paths of the crowd: top-level groups and nested ones, several peers in each.
GROUPS = ["Sales", "Dev-Web", "Dev-Apps", "Dev-Web-Frontend", "Support"]


def setUpModule():
    desktop.skip_unless_possible()


def malformed(rng, packet_no):
    """A datagram that is no chat text: noise, a cut header, or a header with a command that
    nothing reacts to."""
    kind = rng.randrange(3)
    if kind == 0:
        return rng.randbytes(rng.randrange(1, 600))
    if kind == 1:
        head = b"1:%d:flood:floodbox" % packet_no
        return head[:rng.randrange(1, len(head) + 1)]
    return build(packet_no, rng.choice([0x77, 0x21 | 0x400, SENDMSG | 0x300]), b"x" * rng.randrange(0, 300),
                 user="flood", host="floodbox")


def parents_of(tree):
    """(text, parent text) of every item of an inspector tree, from the depths in pre-order."""
    path = []
    pairs = []
    for depth, _, text in tree:
        del path[depth:]
        pairs.append((text, path[-1] if path else None))
        path.append(text)
    return pairs


class BusyNetworkTest(ApplicationCase):
    hosts = 3
    settings = {"userName": "Li", "userGroupName": "Own"}

    def test_a_burst_of_answers_from_300_peers_all_reach_the_tree(self):
        inspect = self.inspect
        addresses, senders, listener = self.crowd(CROWD)
        zq = self.start_zq()

        listener.settimeout(60)
        while True:
            data, sender = listener.recvfrom(65535)
            if sender[0] == ZQ and b":%d:" % BR_ENTRY in data[:60]:
                break
        # Every peer answers at once, as a few hundred IPMSG clients on one network do.
        for number, sender in enumerate(senders):
            group = GROUPS[number % len(GROUPS)]
            sender.sendto(build(number + 1, ANSENTRY, entry_extra("Peer%03d" % number, group)), (ZQ, PORT))

        buddy = self.wait_buddy_list()
        tree_control = inspect.child(buddy, TREE)
        tree = inspect.wait_until(lambda: inspect.tree(tree_control),
                                  lambda t: t and t[0][2] == "全部好友(%d)" % (CROWD + 1), timeout=60,
                                  what="every peer counted")
        parents = dict(parents_of(tree))
        for number, address in enumerate(addresses):
            item = "Peer%03d(%s)" % (number, address)
            self.assertIn(item, parents)
            # The item's parent is the last level of its group path.
            level = GROUPS[number % len(GROUPS)].split("-")[-1]
            self.assertRegex(parents[item], r"^%s\(\d+\)$" % level, item)
        # Counts: each group counts its peers and its subgroups; the top-level groups keep
        # the order of arrival.
        top = [text for depth, _, text in tree if depth == 0]
        self.assertEqual(top, ["全部好友(301)", "Own(1)", "Sales(60)", "Dev(2)", "Support(60)"])
        self.assertIn((1, 1, "Web(61)"), tree)
        self.assertIn((2, 1, "Frontend(60)"), tree)
        self.assertIn((1, 1, "Apps(60)"), tree)
        zq.stop()

    def test_chat_texts_in_a_flood_of_malformed_datagrams_all_get_receipts(self):
        seed = random.randrange(1 << 30)
        print("flood seed %d" % seed)
        rng = random.Random(seed)
        peer = self.peer(1, user="chatter", hostname="chatbox")
        flood = self.net.hosts[2].socket()
        zq = self.start_zq()
        self.expect_entry(peer)
        self.answer_entry(peer, "Chatter", "Talk")
        # The chat window is open before the flood, as in a conversation under way.
        first = peer.send_text(ZQ, "before the flood")
        peer.expect(lambda p: p.mode == RECVMSG and p.extra.rstrip(b"\0") == b"%d" % first, what="receipt")

        # Bursts of 400 malformed datagrams and a chat text, each sent as fast as the peer can;
        # the next burst goes once the text is acknowledged. (Under Wine a receive takes tens of
        # microseconds and Linux caps the socket's buffer at twice net.core.rmem_max, so one
        # unbroken stream of 20,000 would overflow any buffer the program may ask for.)
        for burst in range(50):
            for number in range(burst * 400, (burst + 1) * 400):
                flood.sendto(malformed(rng, number), (ZQ, PORT))
            packet_no = peer.send(ZQ, SENDMSG | SENDCHECKOPT, b"text %d\0" % burst)
            peer.expect(lambda p: p.mode == RECVMSG and p.extra.rstrip(b"\0") == b"%d" % packet_no,
                        timeout=20, what="receipt of text %d (seed %d)" % (burst, seed))
        self.assertTrue(zq.running())
        zq.stop()


if __name__ == "__main__":
    harness.run_tests()
