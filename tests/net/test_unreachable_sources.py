"""Datagrams from addresses that no host answers (ZQ.exe under Wine, its windows on a private
display). A hostile host on the test network sends share-list requests and entries with forged
source addresses of the test network; every answer to them waits in ZQ's kernel for an address
lookup that fails after about 3 s, and holds the socket's send buffer meanwhile. While those
lookups are pending, and after they have failed, an honest peer's text is acknowledged and the
text the user sends from the chat window reaches the peer: no thread that reads datagrams, and
not the window thread, waits on a send. It runs against the test build and, where 32-bit Wine is
there, the 32-bit release program (--zq)."""

import re
import socket

import desktop
import harness
from application_case import ApplicationCase
from ipmsg_peer import BR_ENTRY, PORT, RECVMSG, SENDMSG, build, entry_extra, forged_datagram

ZQ = "10.77.0.1"
MESSAGE = 1016
# Forged sources on the test network's link (its hosts are 10.77.0.1-3; the default route puts
# every 10.77 address on the link), answered by no host.
FORGED = ["10.77.%d.%d" % (20 + i // 250, 1 + i % 250) for i in range(300)]
FORGED_SET = set(FORGED)
SHARE_REQUEST = b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST"
FLOODS = [
    ("share-list requests", lambda number: SHARE_REQUEST),
    ("entries", lambda number: build(number, BR_ENTRY, entry_extra("Forged%d" % number, "Forged"),
                                     user="f%d" % number, host="forged")),
]


def setUpModule():
    desktop.skip_unless_possible()


class UnreachableSourcesTest(ApplicationCase):
    hosts = 3
    settings = {"userName": "Li", "userGroupName": "Own"}

    def lookups(self):
        """The state of ZQ's host's address lookup ("INCOMPLETE", "FAILED", ...) per forged
        address it has one for."""
        states = {}
        for line in harness.ip("-n", self.net.hosts[0].namespace, "neigh", "show", "dev", "eth0").splitlines():
            fields = line.split()
            if fields and fields[0] in FORGED_SET:
                states[fields[0]] = fields[-1]
        return states

    def assert_lookups_pending(self, what):
        """Every forged address ZQ has answered is still being looked up: nothing waited for one
        of them to fail."""
        states = self.lookups()
        self.assertTrue(states, "no lookup of a forged address: they are not unreachable")
        self.assertNotIn("FAILED", states.values(), "%s only after lookups failed" % what)

    def test_honest_texts_go_both_ways_while_answers_to_forged_sources_wait(self):
        peer = self.peer(1, user="honest", hostname="honestbox")
        with harness.inside(self.net.hosts[2].namespace):
            raw = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_RAW)
        self.addCleanup(raw.close)
        desk, inspect = self.desk, self.inspect
        self.start_and_meet(peer, "Honest", "Talk")

        def talk(text):
            number = peer.send_text(ZQ, text)
            peer.expect(lambda p: p.mode == RECVMSG and p.extra.rstrip(b"\0") == b"%d" % number,
                        what="receipt of %r" % text)

        # The peer's text opens its chat window; the user has an answer typed and ready.
        talk("before the floods")
        title = "Honest(%s)" % peer.host.ip
        chat = inspect.wait_window(lambda w: w.title == title and w.visible, what="the chat window")
        desk.focus(desk.x_window(re.escape(title)))
        for number, (kind, payload) in enumerate(FLOODS):
            with self.subTest(kind):
                answer = "answer %d" % number
                desk.click(*inspect.child(chat, MESSAGE).centre())
                desk.type_into(answer, lambda: inspect.child(chat, MESSAGE).text_bytes)
                for index, source in enumerate(FORGED):
                    raw.sendto(forged_datagram(source, ZQ, payload(1000 * number + index)), (ZQ, 0))
                # During: the user sends, the peer talks.
                desk.key("Return")
                sent = peer.expect(lambda p: p.mode == SENDMSG and p.sender[0] == ZQ, what="the user's answer")
                self.assertEqual(sent.extra.rstrip(b"\0"), answer.encode())
                self.assert_lookups_pending("the user's text sent")
                talk("during the %s" % kind)
                self.assert_lookups_pending("answered")
                # After: every lookup has failed.
                inspect.wait_until(self.lookups, lambda s: "INCOMPLETE" not in s.values(), timeout=60,
                                   what="the lookups failed")
                talk("after the %s" % kind)
        self.assertTrue(self.zq.running())
        self.zq.stop()


if __name__ == "__main__":
    harness.run_tests()
