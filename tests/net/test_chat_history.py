"""Many long texts from one honest peer (ZQ.exe under Wine, its windows on a private display).
A chat window keeps only the newest part of its history: the peer cannot fill the program's
memory with texts, each text costs about its size, every text is acknowledged throughout, and the
window shows the newest text under a notice, given once, that older lines were left out. It runs
against the test build and, where 32-bit Wine is there, the 32-bit release program (--zq)."""

import os
import select

import desktop
import harness
from application_case import ApplicationCase
from harness import ProcessUsage
from ipmsg_peer import PORT, RECVMSG, SENDCHECKOPT, SENDMSG, Packet, build

ZQ = "10.77.0.1"
HISTORY = 1027
TEXTS = 6000
TEXT_BYTES = 1900
IN_FLIGHT = 40
# The most the program may grow while the texts come in: about 11 MB of text arrives.
GROWTH_BYTES = 150 << 20
# What a chat window keeps (KeptHistory::HISTORY_BYTES_KEPT), and room for one more entry and
# the notice.
KEPT_BYTES = 512 << 10
ENTRY_ROOM = 4096
OLDER_LEFT_OUT = "（更早的消息已不再显示）".encode("gbk")
# Seconds in which a text must be acknowledged: past it the program has stopped answering.
ANSWER_SECONDS = 20


def shown(text):
    """What a window shows of a text: its first 1023 bytes, cut at a character boundary."""
    cut = text[:1023]
    while True:
        try:
            cut.decode("gbk")
            return cut
        except UnicodeDecodeError:
            cut = cut[:-1]


def long_text(index):
    """A text of TEXT_BYTES bytes, Chinese and Latin, that begins with its number."""
    head = ("第%05d条：" % index).encode("gbk")
    body = ("聊天记录" + "abcdefghij").encode("gbk") * (TEXT_BYTES // 18 + 1)
    return head + body[:TEXT_BYTES - len(head) - 1] + b"."


class ChatHistoryTest(ApplicationCase):
    settings = {"userName": "Li", "userGroupName": "Own"}

    def test_long_texts_keep_a_bounded_history_and_the_newest_in_view(self):
        peer = self.peer(1, user="chatter", hostname="chatbox")
        program = desktop.program_path("ZQ.exe")
        zq = self.start_zq()
        self.expect_entry(peer)
        self.answer_entry(peer, "Chatter", "Talk")

        sock = peer.sock
        outstanding = set()
        # Packet numbers 1 .. TEXTS: the receipt carries the number of the text it answers.
        def send(index):
            sock.sendto(build(index + 1, SENDMSG | SENDCHECKOPT, long_text(index) + b"\0",
                              user="chatter", host="chatbox"), (ZQ, PORT))
            outstanding.add(b"%d" % (index + 1))

        def answered():
            """Waits for one receipt of an outstanding text."""
            while True:
                ready, _, _ = select.select([sock], [], [], ANSWER_SECONDS)
                self.assertTrue(ready, "no receipt within %d s after %d texts, %d outstanding"
                                % (ANSWER_SECONDS, sent, len(outstanding)))
                packet = Packet(*sock.recvfrom(65535))
                number = packet.extra.rstrip(b"\0")
                if packet.mode == RECVMSG and number in outstanding:
                    outstanding.remove(number)
                    return

        # The window opens with the first text; the program's size is taken after it.
        send(0)
        sent = 1
        answered()
        pid = self.wine.process_of(program)
        self.assertIsNotNone(pid, "the program's process")
        started = ProcessUsage(pid)
        figures = [(1, started)]
        while sent < IN_FLIGHT:
            send(sent)
            sent += 1
        done = 1
        while done < TEXTS:
            answered()
            done += 1
            if sent < TEXTS:
                send(sent)
                sent += 1
            if done % 1000 == 0:
                figures.append((done, ProcessUsage(pid)))
        self.assertTrue(zq.running())

        name = os.path.basename(program)
        for count, usage in figures:
            print("%s after %d texts: %.1f MB resident, %.1f MB address space, %d threads"
                  % (name, count, usage.resident / 1e6, usage.address_space / 1e6, usage.threads))
        grown = max(usage.resident for _, usage in figures) - started.resident
        self.assertLess(grown, GROWTH_BYTES, "grew by %.1f MB" % (grown / 1e6))

        chat = self.inspect.wait_window(lambda w: w.title == "Chatter(10.77.0.2)" and w.visible,
                                        what="the chat window")
        history = self.inspect.child(chat, HISTORY).text_bytes
        newest = shown(long_text(TEXTS - 1))
        self.assertTrue(history.endswith(b"\xa3\xba\r\n" + newest), history[-200:])
        self.assertLessEqual(len(history), KEPT_BYTES + ENTRY_ROOM)
        self.assertTrue(history.startswith(OLDER_LEFT_OUT + b"\r\n"), history[:200])
        self.assertEqual(history.count(OLDER_LEFT_OUT), 1)
        # Whole entries only: after the notice comes the first line of an entry.
        self.assertRegex(history[len(OLDER_LEFT_OUT) + 2:][:40], b"^Chatter \\d\\d:\\d\\d:\\d\\d\xa3\xba\r\n")
        self.assertNotIn(shown(long_text(0)), history)
        zq.stop()


if __name__ == "__main__":
    harness.run_tests()
