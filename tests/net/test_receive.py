"""The receiving messenger as a foreign peer meets it: entries answered before the window learns
of the peer, chat text handed to the window and then acknowledged, thousands of bad datagrams
survived, and TCP connections served side by side.

The driver's recording window stands in for the buddy list; with --hold-from it keeps the
engine's thread waiting inside SendMessage until the test releases it, so the test sees what
goes on the wire before and after the window has a message."""

import os
import random

import harness
from ipmsg_peer import (ANSENTRY, BR_ENTRY, FILEATTACHOPT, MULTICASTOPT, READCHECKOPT, RECVMSG, SECRETOPT,
                        SENDCHECKOPT, SENDMSG, build, connect_tcp, entry_extra, fetch_tcp,
                        file_request, gbk, read_to_close, stays_silent)
from messenger_case import ZQ, MessengerCase

PEER = "10.77.0.2"
OWN_ENTRY_EXTRA = "小李\0研发部-网站组".encode("gbk")     # what our settings make of nickname and group


class ReceiveTest(MessengerCase):
    settings = {"userName": "小李", "userGroupName": "研发部-网站组"}

    def start_messenger(self, *options):
        run = super().start_messenger(*options)
        # The start announces us and asks for the share lists.
        self.peer.expect(lambda p: p.raw.startswith(b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST"),
                         what="share-list request")
        return run

    def window_line(self, kind, packet_no):
        return self.run_.log.wait_for(
            lambda e: e.kind == kind and e["senderIp"] == PEER.encode() and e["packetNo"] == b"%d" % packet_no,
            20, self.run_)

    def wait_held(self, number):
        self.run_.log.wait_for(lambda e: e.kind == "HOLD" and e["n"] == b"%d" % number, 20, self.run_)

    def receipt_for(self, packet_no, timeout=20):
        return self.peer.expect(lambda p: p.command == RECVMSG and p.extra == b"%d" % packet_no,
                                timeout, what="receipt for %d" % packet_no)

    def sync(self, label):
        """Waits until the messenger has handled everything sent so far: the receive thread
        takes one datagram at a time, so the receipt for a text sent last comes after all of
        them. A burst may fill the socket's small buffer and lose the text; then it goes again."""
        for attempt in range(5):
            number = self.peer.send_text(ZQ, "%s/%d" % (label, attempt), options=0)
            try:
                return self.receipt_for(number, timeout=3)
            except AssertionError:
                continue
        self.fail("the messenger answers no more (%s)" % label)

    def test_entry_is_answered_before_the_window_learns_of_it(self):
        run = self.start_messenger("--hold-from", PEER)
        number = self.peer.send_entry(ZQ, "小王", "测试部-一组")
        buddy = self.window_line("ADD_BUDDY", number)
        self.assertEqual((buddy.text("extra"), buddy.text("group")), ("小王", "测试部-一组"))
        self.assertEqual((buddy["user"], buddy["host"], buddy["command"]), (b"peer", b"peerbox", b"1"))
        self.wait_held(1)
        # The window has not returned yet: the answer must already be on its way.
        answer = self.peer.expect(lambda p: p.command == ANSENTRY, 10, what="answer to the entry")
        self.assertEqual(answer.sender, (ZQ, 2425))
        self.assertEqual((answer.version, answer.extra), ("1-1-ZQ", OWN_ENTRY_EXTRA))
        run.release(1)

        # An answer to our entry reaches the window too, and nothing goes back for it.
        number = self.peer.send(ZQ, ANSENTRY, entry_extra("老张", "市场部"))
        buddy = self.window_line("ADD_BUDDY", number)
        self.assertEqual((buddy.text("extra"), buddy.text("group"), buddy["command"]), ("老张", "市场部", b"3"))
        run.release(2)
        sync = self.peer.send_text(ZQ, "sync")
        run.release(3)
        self.receipt_for(sync)
        self.assertEqual([p.command for p in self.peer.inbox], [], "only the receipt came back")

    def test_chat_text_reaches_the_window_and_then_is_acknowledged(self):
        run = self.start_messenger("--hold-from", PEER)
        accepted = [(0, "你好", b""), (SENDCHECKOPT, "会议:三点;地点", b"\0"),
                    (SENDCHECKOPT | SECRETOPT | READCHECKOPT, "密", b"\0\0"),
                    # The same sets with the mark of a text sent to several people.
                    (MULTICASTOPT, "群发", b""), (SENDCHECKOPT | MULTICASTOPT, "群发:二", b"\0"),
                    (SENDCHECKOPT | SECRETOPT | READCHECKOPT | MULTICASTOPT, "群密", b"\0")]
        held = 0
        for options, text, tail in accepted:
            with self.subTest(options=hex(options), text=text):
                number = self.peer.send(ZQ, SENDMSG | options, gbk(text) + tail)
                line = self.window_line("RECEIVE_MESSAGE", number)
                self.assertEqual(line["extra"], gbk(text))
                self.assertEqual((line["user"], line["command"]), (b"peer", b"%d" % (SENDMSG | options)))
                held += 1
                self.wait_held(held)
                early = [p for p in self.peer.collect(0.5) if p.command == RECVMSG]
                self.assertEqual(early, [], "the receipt waits until the window has the text")
                run.release(held)
                receipt = self.receipt_for(number)
                self.assertEqual((receipt.version, receipt.sender), ("1-1-ZQ", (ZQ, 2425)))

        ignored = [0x400 | 0, SECRETOPT | SENDCHECKOPT, FILEATTACHOPT | SECRETOPT,
                   MULTICASTOPT | SECRETOPT | SENDCHECKOPT]
        numbers = [self.peer.send(ZQ, SENDMSG | options, b"ignored\0") for options in ignored]
        sync = self.peer.send_text(ZQ, "sync")
        self.window_line("RECEIVE_MESSAGE", sync)
        run.release(held + 1)
        self.receipt_for(sync)
        shown = {e["packetNo"] for e in run.log.events("RECEIVE_MESSAGE")}
        for number in numbers:
            self.assertNotIn(b"%d" % number, shown)
            self.assertFalse([p for p in self.peer.history if p.command == RECVMSG and p.extra == b"%d" % number])
        self.assertEqual(run.log.events("PROMPT"), [])

    def test_header_fields_in_utf8_end_at_every_colon(self):
        """A peer that writes its user or host field in UTF-8 may end it on a byte that GBK
        takes for a lead byte ("张" ends e5 bc a0); the ':' after it still ends the field."""
        self.start_messenger()
        names = [("张", "peerbox"), ("三个字", "主机"), ("peer", "张")]
        for user, host in names:
            with self.subTest(user=user, host=host):
                head = b"1:%d:" + user.encode("utf-8") + b":" + host.encode("utf-8") + b":%d:"
                number = self.peer.packet_no()
                self.peer.send_raw(head % (number, BR_ENTRY) + entry_extra("小张", "测试组"), ZQ)
                self.peer.expect(lambda p: p.command == ANSENTRY, what="answer to the entry of %s" % user)
                buddy = self.window_line("ADD_BUDDY", number)
                self.assertEqual((buddy["user"], buddy["host"]), (user.encode("utf-8"), host.encode("utf-8")))
                self.assertEqual((buddy.text("extra"), buddy.text("group")), ("小张", "测试组"))

                number = self.peer.packet_no()
                self.peer.send_raw(head % (number, SENDMSG | SENDCHECKOPT) + gbk("你好:张") + b"\0", ZQ)
                self.receipt_for(number)
                self.assertEqual(self.window_line("RECEIVE_MESSAGE", number)["extra"], gbk("你好:张"))

    def test_thousands_of_bad_datagrams_then_an_entry_is_still_answered(self):
        seed = int(os.environ.get("ZQ_FUZZ_SEED", random.randrange(1 << 30)))
        print("fuzz seed %d (ZQ_FUZZ_SEED repeats it)" % seed)
        rng = random.Random(seed)
        run = self.start_messenger("--answer-no")
        for batch in range(1000):
            for _ in range(3):
                self.peer.send_raw(bad_datagram(rng), ZQ)
            self.sync("batch %d, seed %d" % (batch, seed))
            self.peer.inbox.clear()
            self.assertTrue(run.running(), "the messenger ended at batch %d (seed %d)" % (batch, seed))
        number = self.peer.send_entry(ZQ, "最后", "组")
        self.peer.expect(lambda p: p.command == ANSENTRY, 20, what="answer to the last entry")
        buddy = self.window_line("ADD_BUDDY", number)
        self.assertEqual(buddy.text("extra"), "最后")
        self.assertEqual(run.finish(), 0)

    def test_two_tcp_connections_are_served_at_once(self):
        first = os.urandom(300000)
        second = os.urandom(5000)
        folder = self.wine.unix_path("C:\\shared")
        os.makedirs(folder, exist_ok=True)
        for name, data in [("first.bin", first), ("second.bin", second)]:
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
        self.start_messenger("--share", "7-8=C:\\shared\\first.bin", "--share", "7-9=C:\\shared\\second.bin")

        waiting = connect_tcp(self.net.hosts[1], ZQ)
        waiting.sendall(gbk(file_request(0x99, 0x99)))      # a key nobody offered: no answer
        # While that connection waits, another one is served in full.
        self.assertEqual(fetch_tcp(self.net.hosts[1], ZQ, file_request(7, 8)), first)
        self.assertTrue(stays_silent(waiting, 1.0), "an answer to an unknown key")
        # The waiting connection takes a second, valid request: from byte 500 to the end.
        waiting.sendall(gbk(file_request(7, 9, offset=500)))
        self.assertEqual(read_to_close(waiting), second[500:])


# --- bad input ---------------------------------------------------------------------------------

def _valid_samples():
    offer = build(5, SENDMSG | FILEATTACHOPT, b"take this\0" + b"6:a.txt:4d2:0:1\x077:docs:1f40:0:2")
    return [
        build(1, BR_ENTRY, entry_extra("nick", "group")),
        build(2, ANSENTRY, entry_extra("昵称", "组")),
        build(3, SENDMSG | SENDCHECKOPT, "文字:text\0"),
        build(4, RECVMSG, b"3"),
        offer,
        b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST",
        b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE=1-2:docs;3-4:x",
        b"zqMsgVersion=1:2:3:4:5:6:7",
    ]


VALID = _valid_samples()


def bad_datagram(rng):
    """One datagram of 0..2048 bytes (now and then longer) that no sound client would send."""
    kind = rng.randrange(7)
    if kind == 0:                                   # noise
        return rng.randbytes(rng.randrange(0, 2049))
    if kind == 1:                                   # a sound datagram cut short
        sample = rng.choice(VALID)
        return sample[:rng.randrange(0, len(sample) + 1)]
    if kind == 2:                                   # a sound header, then noise up to the limit
        sample = rng.choice(VALID[:5])
        head = sample[:sample.index(b":", sample.index(b":", sample.index(b":") + 1) + 1) + 1] \
            if sample.count(b":") >= 5 else sample
        return (sample + rng.randbytes(2048))[:rng.randrange(len(head), 2049)]
    if kind == 3:                                   # bytes flipped in a sound datagram
        sample = bytearray(rng.choice(VALID))
        for _ in range(rng.randrange(1, 6)):
            sample[rng.randrange(len(sample))] = rng.randrange(256)
        return bytes(sample)
    if kind == 4:                                   # fields far longer than any buffer
        fields = [rng.choice([b"", b"1", b"x" * rng.randrange(1000, 2100)]) for _ in range(6)]
        fields[4] = rng.choice([b"1", b"3", b"32", b"288", b"2097184", b"-1", b"99999999999"])
        return b":".join(fields)[:2048]
    if kind == 5:                                   # colons, NULs, BELs and GBK lead bytes
        return bytes(rng.choice(b":\0\x07\x81\xfe;-=") for _ in range(rng.randrange(0, 2049)))
    return rng.randbytes(rng.randrange(2049, 4097))  # longer than the receive buffer


if __name__ == "__main__":
    harness.run_tests()
