"""A test case class for tests that run ZQ.exe itself (the program under test, desktop.program_path:
the test build's, or the release program given with --zq) under Wine with its windows on a
private display.

Each test gets a display of its own, a network of `hosts` hosts, and a Wine host on the first of
them (ZQ's, 10.77.0.1) whose ZQ.ini holds `settings`; an Inspector reads its windows. The start-up
and the handshake are the case's parts to use as a test needs them:

    zq = self.start_zq()                            # ZQ.exe on the first host
    entry = self.expect_entry(peer)                 # its entry broadcast, as the peer receives it
    self.answer_entry(peer, "PeerNick", "Sales")    # the peer's answer
    buddy = self.wait_buddy_list()                  # the buddy list shown

or all of it in one: buddy = self.start_and_meet(peer, "PeerNick", "Sales"). A test that needs
more Wine hosts or peers takes them with wine_host() and peer()."""

import contextlib
import re
import unittest

import desktop
from desktop import BUDDY_LIST_TITLE, Desktop, Inspector
from harness import Network, WineHost
from ipmsg_peer import ANSENTRY, BR_ENTRY, PORT, Peer, crowd_addresses, entry_extra

ZQ = "10.77.0.1"
TREE = 1026


class ApplicationCase(unittest.TestCase):
    hosts = 2                          # the network's size
    settings = {"userName": "Li", "userGroupName": "Dev"}

    def setUp(self):
        # Left in reverse order after the test, as nested `with` blocks are: Wine hosts, the
        # network, the display.
        stack = contextlib.ExitStack()
        self.addCleanup(stack.close)
        self._enter = stack.enter_context
        self.desk = self._enter(Desktop())
        self.net = self._enter(Network(hosts=self.hosts))
        self.wine = self.wine_host(0, **self.settings)
        self.inspect = Inspector(self.wine)

    def run(self, result=None):
        try:
            return super().run(result)
        finally:
            # A stop by signal (the harness's deadline, ctest's SIGTERM) passes unittest's
            # cleanups by; the display, the Wine hosts and the network are left all the same.
            self.doCleanups()

    # -- hosts and peers

    def wine_host(self, index, **settings):
        """A Wine host on the network's host `index`, its ZQ.ini holding the settings."""
        wine = self._enter(WineHost(self.net.hosts[index]))
        wine.write_settings(**settings)
        return wine

    def peer(self, index=1, **names):
        """A scripted peer on the network's host `index` (names: user, hostname)."""
        peer = Peer(self.net.hosts[index], **names)
        self.addCleanup(peer.close)
        return peer

    def crowd(self, count, index=2):
        """count scripted hosts behind the network's host `index` (addresses added to its
        interface): their addresses, a UDP socket bound to each, and a socket on port 2425 there
        that receives what ZQ sends to any of them. ZQ's host knows their link addresses, so that
        its answers to hundreds of hosts neither wait on nor lose address resolution."""
        host = self.net.hosts[index]
        addresses = crowd_addresses(count)
        host.add_addresses(addresses)
        self.net.hosts[0].know_neighbours(addresses, host.mac())
        answers = host.socket()
        answers.bind(("0.0.0.0", PORT))
        self.addCleanup(answers.close)
        senders = []
        for address in addresses:
            sender = host.socket()
            sender.bind((address, 0))
            self.addCleanup(sender.close)
            senders.append(sender)
        return addresses, senders, answers

    # -- start-up and handshake

    def start_zq(self, wine=None, name="ZQ"):
        """Starts ZQ.exe on the Wine host (ZQ's by default); returns its process."""
        return (wine or self.wine).start(desktop.program_path("ZQ.exe"), name=name)

    def expect_entry(self, peer, zq=ZQ):
        """The entry broadcast that ZQ.exe at zq sends on its start, as the peer receives it."""
        return peer.expect(lambda p: p.command == BR_ENTRY and p.sender[0] == zq, timeout=60, what="entry")

    def answer_entry(self, peer, nickname, group, zq=ZQ):
        """The peer answers the entry as an IPMSG client does, under its nickname and group."""
        peer.send(zq, ANSENTRY, entry_extra(nickname, group))

    def wait_buddy_list(self, inspect=None, what="the buddy list"):
        """The buddy list once it is shown (read through the inspector of ZQ's host by default)."""
        return (inspect or self.inspect).wait_window(lambda w: w.title == BUDDY_LIST_TITLE and w.visible, what=what)

    def wait_in_tree(self, buddy, text, inspect=None):
        """The buddy list's tree once an item holds the text; returns the tree."""
        inspect = inspect or self.inspect
        tree_control = inspect.child(buddy, TREE)
        return inspect.wait_until(lambda: inspect.tree(tree_control),
                                  lambda t: any(text in item[2] for item in t), what="the peer in the tree")

    def start_and_meet(self, peer, nickname, group):
        """Starts ZQ.exe and lets the peer be known to it under the nickname and group: the entry,
        the answer, the buddy list, the peer in its tree. Returns the buddy list; the process is
        self.zq."""
        self.zq = self.start_zq()
        self.expect_entry(peer)
        self.answer_entry(peer, nickname, group)
        buddy = self.wait_buddy_list()
        self.wait_in_tree(buddy, nickname)
        return buddy

    # -- the user at the buddy list

    def focus_buddy_list(self):
        """Gives the buddy list's X window the keyboard focus."""
        self.desk.focus(self.desk.x_window("^%s$" % re.escape(BUDDY_LIST_TITLE)))
