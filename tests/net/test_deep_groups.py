"""Entries whose work group is hundreds of levels deep (ZQ.exe under Wine, its windows on a private
display). Every level of a peer's group is an item of the buddy tree, made while the receive
thread waits: a group path taken from a peer is bounded to 128 bytes and eight levels, the eighth
holding the rest of the path. Each such entry is answered, the tree stays that small, and an
honest peer is still answered and listed."""

import desktop
import harness
from application_case import ApplicationCase
from ipmsg_peer import ANSENTRY, BR_ENTRY, PORT, Packet, build, entry_extra

ZQ = "10.77.0.1"
TREE = 1026
CROWD = 100
LEVELS = 481
DEPTH_LIMIT = 8


def deep_group(number):
    """A crowd peer's own group: "D<n>-L-L-...-L", about 1 KB."""
    return "D%d-" % number + "-".join(["L"] * (LEVELS - 1))


def setUpModule():
    desktop.skip_unless_possible()


class DeepGroupsTest(ApplicationCase):
    hosts = 3
    settings = {"userName": "Li", "userGroupName": "Own"}

    def test_entries_with_481_level_groups_make_eight_levels(self):
        peer = self.peer(1, user="honest", hostname="honestbox")
        addresses, senders, answers = self.crowd(CROWD)
        inspect = self.inspect
        zq = self.start_zq()
        self.expect_entry(peer)

        # Every crowd peer's entry is answered.
        answers.settimeout(20)
        for number, sender in enumerate(senders):
            entry = build(number + 1, BR_ENTRY, entry_extra("Deep%03d" % number, deep_group(number)))
            sender.sendto(entry, (ZQ, PORT))
            while True:
                packet = Packet(*answers.recvfrom(65535))
                if packet.mode == ANSENTRY and packet.sender[0] == ZQ:
                    break
        peer.send_entry(ZQ, "Honest", "Talk")
        peer.expect(lambda p: p.mode == ANSENTRY and p.sender[0] == ZQ, what="answer to the honest entry")

        buddy = self.wait_buddy_list()
        tree = inspect.wait_until(lambda: inspect.tree(inspect.child(buddy, TREE)),
                                  lambda t: t and t[0][2] == "全部好友(%d)" % (CROWD + 2), timeout=60,
                                  what="every peer counted")
        self.assertTrue(zq.running())
        # Ours, the honest peer's, and per crowd peer eight group items and the peer.
        self.assertEqual(len(tree), 1 + 2 + 2 + CROWD * (DEPTH_LIMIT + 1))
        self.assertEqual(max(depth for depth, _, _ in tree), DEPTH_LIMIT)
        index = [item[2] for item in tree].index("Talk(1)")
        self.assertEqual(tree[index + 1], (1, 3, "Honest(%s)" % peer.host.ip))
        # The eighth level holds the rest of the path, cut at 128 bytes.
        first = [item[2] for item in tree].index("Deep000(%s)" % addresses[0])
        rest = tree[first - 1]
        self.assertEqual(rest[0], DEPTH_LIMIT - 1)
        self.assertEqual(rest[2], "-".join(deep_group(0)[:128].split("-")[DEPTH_LIMIT - 1:]) + "(1)")
        zq.stop()


if __name__ == "__main__":
    harness.run_tests()
