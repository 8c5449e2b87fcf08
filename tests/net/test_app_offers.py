"""File offers as the user meets them in ZQ.exe (its windows on a private display): a flood of
offers from many addresses leaves a question for an honest peer, and an address past its bound
gets no receipt; the words sent with the files show once in the peer's chat window before the
question; a file that fails to download ends its row in the receive-progress window with an
error text. It runs against the test build and, where 32-bit Wine is there, the 32-bit release
program (--zq)."""

import os

import desktop
import harness
from application_case import ZQ, ApplicationCase
from harness import ProcessUsage
from ipmsg_peer import PORT, RECVMSG, FileServer, Packet, offer_datagram
from test_app_receive import CHOSEN, DESKTOP, PROGRESS_COLUMN, accept_offer, wait_rows_ended

PEER = "10.77.0.2"
OTHER = "10.77.0.3"
HISTORY = 1027
TIME = rb"\d\d:\d\d:\d\d"
QUESTION = "接收文件"
# The open questions one address may hold, and all of them together.
PER_ADDRESS = 2
IN_ALL = 32
IDNO = 7
ERROR_TEXT = "接收异常！"


def setUpModule():
    desktop.skip_unless_possible()


class OfferCase(ApplicationCase):
    hosts = 3

    def questions(self):
        return [w for w in self.inspect.windows() if w.title == QUESTION and w.visible]

    def wait_questions(self, count):
        return self.inspect.wait_until(self.questions, lambda q: len(q) == count,
                                       what="%d offer questions open" % count)

    def question_text(self, box):
        return "".join(c.title for c in self.inspect.children(box))

    def receipt(self, peer, number):
        return peer.expect(lambda p: p.command == RECVMSG and p.extra.rstrip(b"\0") == b"%d" % number,
                           what="the receipt of offer %d" % number)


class OfferFloodTest(OfferCase):

    def test_a_flood_of_offers_leaves_a_question_for_an_honest_peer(self):
        peer = self.peer(1, user="peer", hostname="peerbox")
        addresses, senders, receipts = self.crowd(IN_ALL // PER_ADDRESS + 1)
        self.start_and_meet(peer, "Sender", "Sales")
        program = desktop.program_path("ZQ.exe")
        pid = self.wine.process_of(program)
        self.assertIsNotNone(pid, "the program's process")
        started = ProcessUsage(pid)

        def crowd_offer(index, number):
            senders[index].sendto(offer_datagram(number, [(1, "f%d.txt" % number, 1, 1)], user="u%d" % index,
                                                 host="crowd"), (ZQ, PORT))

        def handled():
            """Everything sent before has been handled once the honest peer's text is acknowledged;
            returns the packet numbers the crowd got receipts for by then."""
            self.receipt(peer, peer.send_text(ZQ, "sync"))
            numbers = set()
            receipts.settimeout(1)
            try:
                while True:
                    packet = Packet(*receipts.recvfrom(65535))
                    if packet.mode == RECVMSG:
                        numbers.add(int(packet.extra.rstrip(b"\0")))
            except OSError:
                return numbers

        # Eight offers from eight other addresses: each asked and acknowledged.
        for index in range(8):
            crowd_offer(index, 5000 + index)
        self.assertEqual(handled(), set(range(5000, 5008)))
        self.wait_questions(8)

        # The honest peer's offer is asked all the same: its box names its file.
        peer.send_raw(offer_datagram(900, [(901, "真的报告.docx", 10, 1)]), ZQ)
        self.receipt(peer, 900)
        honest = self.inspect.wait_until(
            lambda: [q for q in self.questions() if "真的报告.docx" in self.question_text(q)], lambda q: q,
            what="the honest peer's question")[0]

        # One address holds two questions at most: past them, no receipt and no question.
        crowd_offer(0, 6000)
        crowd_offer(0, 6001)
        self.assertEqual(handled(), {6000})
        self.wait_questions(10)

        # Every address to its bound, until all the places are taken; then a new address gets none.
        held = {0: 2, **{index: 1 for index in range(1, 8)}}
        open_now, number = 10, 7000
        for index in range(1, len(addresses) - 1):
            while held.get(index, 0) < PER_ADDRESS and open_now < IN_ALL:
                crowd_offer(index, number)
                held[index] = held.get(index, 0) + 1
                open_now += 1
                number += 1
        self.assertEqual(handled(), set(range(7000, number)))
        self.assertEqual(open_now, IN_ALL)
        last = len(addresses) - 1
        crowd_offer(last, 8000)
        self.assertEqual(handled(), set())
        self.assertEqual(len(self.wait_questions(IN_ALL)), IN_ALL)
        full = ProcessUsage(pid)

        # An answered question frees its place.
        self.inspect.command(honest, IDNO)
        self.wait_questions(IN_ALL - 1)
        crowd_offer(last, 8001)
        self.assertEqual(handled(), {8001})
        self.wait_questions(IN_ALL)

        print("%s, %d open offer questions: %.0f KB resident, %.0f KB address space, %d threads each"
              % (os.path.basename(program), IN_ALL, (full.resident - started.resident) / IN_ALL / 1e3,
                 (full.address_space - started.address_space) / IN_ALL / 1e3,
                 (full.threads - started.threads) / IN_ALL))
        self.assertTrue(self.zq.running())


class OfferWordsTest(OfferCase):

    def test_the_words_sent_with_files_show_once_in_the_chat_window_before_the_question(self):
        peer = self.peer(1, user="peer", hostname="peerbox")
        other = self.peer(2, user="other", hostname="otherbox")
        self.start_and_meet(peer, "Sender", "Sales")

        words = "给你文件和文件夹:看看"
        peer.send_raw(offer_datagram(700, [(701, "a.txt", 3, 1), (702, "docs", 0, 2)], text=words), ZQ)
        self.receipt(peer, 700)
        self.wait_questions(1)
        # The line is there by the time the question is.
        chat = self.inspect.wait_window(lambda w: w.title == "Sender(%s)" % PEER, what="the chat window")
        line = b"^Sender " + TIME + ("：\r\n" + words + "$").encode("gbk")
        self.assertRegex(self.inspect.child(chat, HISTORY).text_bytes, line)

        # Offers without words: a question each, and no line.
        peer.send_raw(offer_datagram(710, [(711, "b.txt", 3, 1)]), ZQ)
        self.receipt(peer, 710)
        other.send_raw(offer_datagram(720, [(721, "c.txt", 3, 1)], user="other", host="otherbox"), ZQ)
        self.receipt(other, 720)
        self.wait_questions(3)
        self.assertRegex(self.inspect.child(chat, HISTORY).text_bytes, line)
        self.assertFalse([w for w in self.inspect.windows() if OTHER in w.title], "a chat window for no words")


class FailedDownloadTest(OfferCase):

    def test_a_file_that_fails_ends_its_row_in_an_error_text(self):
        desk, inspect = self.desk, self.inspect
        peer = self.peer(1, user="peer", hostname="peerbox")
        gone = self.peer(2, user="gone", hostname="gonebox")
        login = os.environ.get("USER") or "root"
        os.makedirs(self.wine.unix_path(DESKTOP % login + "\\" + CHOSEN))

        def half_file(conn):
            conn.sendall(b"x" * 100000)

        server = FileServer(self.net.hosts[1], {(800, 801): half_file})
        self.addCleanup(server.close)
        self.start_and_meet(peer, "Sender", "Sales")

        cases = [("a connection closed mid-file", peer, 800, "报告-2024.txt", 200000),
                 ("a peer that cannot be reached", gone, 810, "报告-2025.txt", 3)]
        for count, (name, sender, number, file_name, size) in enumerate(cases, 1):
            with self.subTest(name):
                sender.send_raw(offer_datagram(number, [(number + 1, file_name, size, 1)], user=sender.user,
                                               host=sender.hostname), ZQ)
                self.receipt(sender, number)
                accept_offer(desk, inspect, CHOSEN, shots="failed-%d" % count)
                # The row tells its end while the box about it may still wait for the user.
                window, rows = wait_rows_ended(inspect, count)
                row = [r for r in rows if r[4] == file_name][0]
                self.assertEqual(row[3], "文件")
                self.assertEqual(row[PROGRESS_COLUMN], ERROR_TEXT, row)
        desk.screenshot("failed-downloads.png", window.rect)
        box = inspect.wait_window(lambda w: w.title == "ZQ" and w.visible, what="the box about the peer")
        self.assertIn("错误：不能连接到对方主机.", "".join(c.title for c in inspect.children(box)))


if __name__ == "__main__":
    harness.run_tests()
