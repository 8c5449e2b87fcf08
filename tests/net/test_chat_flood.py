"""Chat texts from hundreds of addresses (ZQ.exe under Wine, its windows on a private display).
A text from a new address opens a chat window, and a UDP source address costs the sender
nothing: the windows that texts open are bounded. Past the bound a text from an address without
a window is neither shown nor acknowledged (nor is a file offer with words), while a peer that has
a window goes on talking, and the program's memory and threads stay where the bound puts them. It
runs against the test build and, where 32-bit Wine is there, the 32-bit release program (--zq)."""

import os

import desktop
import harness
from application_case import ApplicationCase
from harness import ProcessUsage
from ipmsg_peer import PORT, RECVMSG, SENDCHECKOPT, SENDMSG, Packet, build, offer_datagram

ZQ = "10.77.0.1"
# Windows that received texts may open (CUserListDlg::CHAT_WINDOW_LIMIT).
CHAT_WINDOW_LIMIT = 200
# Addresses past the bound.
BEYOND = 150
# What one chat window may cost at most, measured about 1.2 MB; the bound's memory, with room.
WINDOW_BYTES = 2 << 20
# What the texts past the bound may add in all: nothing is kept for them.
BEYOND_BYTES = 16 << 20


def setUpModule():
    desktop.skip_unless_possible()


def usage(pid):
    """(resident bytes, address space bytes, threads) of a process."""
    held = ProcessUsage(pid)
    return held.resident, held.address_space, held.threads


class ChatFloodTest(ApplicationCase):
    hosts = 3
    settings = {"userName": "Li", "userGroupName": "Own"}

    def test_texts_from_new_addresses_open_windows_up_to_the_bound(self):
        peer = self.peer(1, user="chatter", hostname="chatbox")
        addresses, senders, receipts = self.crowd(CHAT_WINDOW_LIMIT + BEYOND)

        program = desktop.program_path("ZQ.exe")
        zq = self.start_zq()
        self.expect_entry(peer)
        self.answer_entry(peer, "Chatter", "Talk")
        inspect = self.inspect

        def talk(text):
            """A text of the honest peer, acknowledged: everything sent before it is handled."""
            number = peer.send_text(ZQ, text)
            peer.expect(lambda p: p.mode == RECVMSG and p.extra.rstrip(b"\0") == b"%d" % number,
                        what="receipt of %r" % text)

        def acknowledged(seconds):
            """The packet numbers of the receipts that reach the crowd within the given time."""
            numbers = set()
            receipts.settimeout(seconds)
            try:
                while True:
                    packet = Packet(*receipts.recvfrom(65535))
                    if packet.mode == RECVMSG:
                        numbers.add(packet.extra.rstrip(b"\0"))
            except OSError:
                return numbers

        def crowd_text(index):
            number = 5000 + index
            senders[index].sendto(build(number, SENDMSG | SENDCHECKOPT, b"hello %d\0" % index,
                                        user="u%d" % index, host="crowd"), (ZQ, PORT))
            return b"%d" % number

        # The honest peer's window is the first one.
        talk("before the flood")
        pid = self.wine.process_of(program)
        self.assertIsNotNone(pid, "the program's process")
        started = usage(pid)

        # Within the bound every text opens its window and is acknowledged.
        opened = CHAT_WINDOW_LIMIT - 1
        for index in range(opened):
            number = crowd_text(index)
            receipts.settimeout(20)
            while Packet(*receipts.recvfrom(65535)).extra.rstrip(b"\0") != number:
                pass
        at_bound = usage(pid)
        # Past it none is, and the honest peer's texts still are, each after one of the crowd's.
        beyond = set()
        for index in range(opened, len(addresses)):
            beyond.add(crowd_text(index))
            talk("after %d" % index)
        past = usage(pid)
        leaked = beyond & acknowledged(1)
        self.assertFalse(leaked, "%d texts past the bound were acknowledged" % len(leaked))
        self.assertTrue(zq.running())

        # Windows: the honest peer's and the crowd's within the bound, and no others.
        titles = {w.title for w in inspect.windows()}
        self.assertIn("Chatter(10.77.0.2)", titles)
        self.assertTrue({"u%d(%s)" % (i, addresses[i]) for i in range(opened)} <= titles)
        self.assertFalse({"u%d(%s)" % (i, addresses[i]) for i in range(opened, len(addresses))} & titles)

        for label, figures in (("after start", started), ("%d chat windows" % CHAT_WINDOW_LIMIT, at_bound),
                               ("%d addresses more" % BEYOND, past)):
            print("%s, %s: %.1f MB resident, %.1f MB address space, %d threads"
                  % (os.path.basename(program), label, figures[0] / 1e6, figures[1] / 1e6, figures[2]))
        self.assertLess(at_bound[0] - started[0], CHAT_WINDOW_LIMIT * WINDOW_BYTES)
        self.assertLess(past[0] - at_bound[0], BEYOND_BYTES)
        self.assertLess(past[1] - at_bound[1], BEYOND_BYTES)
        self.assertEqual(past[2], at_bound[2])

        # The words sent with files take the road of a text: past the bound an offer with words
        # from an address without a window is neither shown nor asked nor acknowledged; one
        # without words needs no window and is asked.
        last = len(addresses) - 1
        for number, words in ((9000, "看看这个"), (9001, "")):
            senders[last].sendto(offer_datagram(number, [(1, "f.txt", 1, 1)], text=words, user="u%d" % last,
                                                host="crowd"), (ZQ, PORT))
            talk("after offer %d" % number)
        self.assertEqual(acknowledged(1), {b"9001"})
        box = inspect.wait_window(lambda w: w.title == "接收文件" and w.visible, what="the offer without words")
        self.assertEqual([w.hwnd for w in inspect.windows() if w.title == "接收文件"], [box.hwnd])
        self.assertNotIn("u%d(%s)" % (last, addresses[last]), {w.title for w in inspect.windows()})
        zq.stop()


if __name__ == "__main__":
    harness.run_tests()
