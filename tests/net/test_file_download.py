"""Receiving files end to end: a scripted peer offers a file and a folder tree and serves them on its
own TCP port 2425; the messenger acknowledges the offer, asks (a scripted user answers yes and picks a
folder), downloads every item on its own connection and reports to the receive-progress window, which
the driver's recording window stands in for. Peers that stop half-way, stay silent or send names that
would leave the chosen folder end in the error state with nothing written outside it."""

import hashlib
import os
import re
import shutil
import stat
import tempfile
import threading
import time
import unittest

import harness
from folder_stream import header, make_folder_stream
from harness import Network, WineHost
from identity import HOST_NAME, LOGIN_NAME
from ipmsg_peer import RECVMSG, SENDCHECKOPT, FileServer, Peer, gbk, offer_datagram

ZQ = "10.77.0.1"
PEER = "10.77.0.2"
OTHER = "10.77.0.3"
SAVE = "C:\\recv"


def sha(data):
    return hashlib.sha256(data).hexdigest()


def tree_files(root):
    """Relative path -> content of every file under root."""
    found = {}
    for folder, _, files in os.walk(root):
        for name in files:
            full = os.path.join(folder, name)
            with open(full, "rb") as f:
                found[os.path.relpath(full, root)] = f.read()
    return found


def snapshot(root):
    """Every item below root as it is: links by their target, folders, files by size and time."""
    found = {}
    for folder, folders, files in os.walk(root):
        for name in folders + files:
            full = os.path.join(folder, name)
            info = os.lstat(full)
            if stat.S_ISLNK(info.st_mode):
                found[os.path.relpath(full, root)] = ("link", os.readlink(full))
            elif stat.S_ISDIR(info.st_mode):
                found[os.path.relpath(full, root)] = ("folder",)
            else:
                found[os.path.relpath(full, root)] = ("file", info.st_size, info.st_mtime_ns, info.st_ino)
    return found


def changed(before, after):
    """The paths made, removed or changed between two snapshots."""
    return sorted(p for p in set(before) | set(after) if before.get(p) != after.get(p))


class FileDownloadTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.net = Network(hosts=3).__enter__()
        cls.wine = WineHost(cls.net.hosts[0]).__enter__()
        cls.wine.write_settings(userName="收件人", userGroupName="g")

    @classmethod
    def tearDownClass(cls):
        cls.wine.__exit__(None, None, None)
        cls.net.__exit__(None, None, None)

    def setUp(self):
        self.peer = Peer(self.net.hosts[1])
        self.server = None
        self.run_ = None
        self.save = self.wine.unix_path(SAVE)
        # A fresh chosen folder inside a parent that shows what leaks out of it.
        self.outside = os.path.dirname(self.save)
        shutil.rmtree(self.save, ignore_errors=True)
        os.makedirs(self.save)
        self.before_outside = set(os.listdir(self.outside))

    def tearDown(self):
        self.peer.close()
        if self.server:
            self.server.close()
        if self.run_:
            self.run_.finish()

    def start(self, items, *options, folder=SAVE):
        self.server = FileServer(self.net.hosts[1], items)
        self.run_ = self.wine.driver("messenger", "--seconds", "150", "--folder", folder, *options)
        self.run_.log.wait_for(lambda e: e.kind == "RESULT" and e["call"] == b"startMessenger", 60, self.run_)
        return self.run_

    def offer(self, items, packet_no):
        self.peer.send_raw(offer_datagram(packet_no, items, text="给你"), ZQ)
        receipt = self.peer.expect(lambda p: p.command == RECVMSG, 20, what="the offer's receipt")
        self.assertEqual(receipt.raw, gbk("1:%s:%s:%s:33:%d" % (receipt.packet_no, LOGIN_NAME, HOST_NAME,
                                                                   packet_no)))

    def ended(self, file_id, timeout=60):
        end = b"%s:%d" % (PEER.encode(), file_id)
        event = self.run_.log.wait_for(lambda e: e.kind in ("RECEIVE_FINISH", "RECEIVE_ERROR") and e["text"] == end,
                                       timeout, self.run_)
        return event.kind

    def progress_total(self, file_id):
        prefix = b"%s:%d:" % (PEER.encode(), file_id)
        return sum(int(e["text"][len(prefix):]) for e in self.run_.log.events("RECEIVE_PROGRESS")
                   if e["text"].startswith(prefix))

    def assert_nothing_outside(self):
        self.assertEqual(set(os.listdir(self.outside)), self.before_outside)

    def assert_changed_only_below(self, before, after, *names):
        """Between two snapshots of drive C:, only what lies below C:\\recv\\<name> changed."""
        allowed = [os.path.join("recv", name) for name in names]
        self.assertEqual([p for p in changed(before, after)
                          if not any(p == a or p.startswith(a + os.sep) for a in allowed)], [])

    def test_a_file_and_a_folder_tree_arrive_byte_identical(self):
        data = os.urandom(300000)
        source = os.path.join(tempfile.mkdtemp(prefix="zq-offer-"), "tree")
        self.addCleanup(shutil.rmtree, os.path.dirname(source))
        os.makedirs(os.path.join(source, "sub", "deeper"))
        os.makedirs(os.path.join(source, "empty"))
        files = {"top.txt": os.urandom(40000), os.path.join("sub", "s.bin"): os.urandom(70001),
                 os.path.join("sub", "deeper", "d.bin"): b"", os.path.join("sub", "报告.txt"): b"\x95\x5c" * 9}
        for name, content in files.items():
            with open(os.path.join(source, name), "wb") as f:
                f.write(content)
        run = self.start({(700, 701): data, (700, 702): make_folder_stream(source, "tree")})
        self.offer([(701, "a.bin", len(data), 1), (702, "tree", sum(map(len, files.values())), 2)], 700)

        prompt = run.log.wait_for(lambda e: e.kind == "PROMPT", 20, run)
        self.assertEqual(prompt.text("caption"), "接收文件")
        self.assertEqual(prompt.text("text"), "来自：peer，IP：%s。\r\n对方发送了如下文件，是否接收？\r\n"
                                              "文件：a.bin。\r\n目录：tree。\r\n" % PEER)
        self.assertEqual(self.ended(701), "RECEIVE_FINISH")
        self.assertEqual(self.ended(702), "RECEIVE_FINISH")
        with open(os.path.join(self.save, "a.bin"), "rb") as f:
            self.assertEqual(sha(f.read()), sha(data))
        received = tree_files(os.path.join(self.save, "tree"))
        self.assertEqual({k: sha(v) for k, v in received.items()}, {k: sha(v) for k, v in files.items()})
        self.assertTrue(os.path.isdir(os.path.join(self.save, "tree", "empty")))
        self.assertEqual(self.progress_total(701), len(data))
        self.assertEqual(self.progress_total(702), sum(map(len, files.values())))

        # One start per item, with the download parameter; the save folder's ':' travels full-width.
        starts = sorted(e.text("text") for e in run.log.events("RECEIVE_START"))
        self.assertEqual(starts, ["700:%s:2425:701:a.bin:%d:1:C：\\recv" % (PEER, len(data)),
                                  "700:%s:2425:702:tree:%d:2:C：\\recv" % (PEER, sum(map(len, files.values())))])
        self.assertTrue(run.log.events("SHOWN"), "the progress window is shown")
        requests = sorted(self.server.requests)
        self.assertTrue(re.fullmatch(gbk(r"1:\d+:%s:%s:96:2bc:2bd:0" % (re.escape(LOGIN_NAME), re.escape(HOST_NAME))),
                                     [r for r in requests if b":96:" in r][0]))
        self.assertTrue([r for r in requests if re.search(rb":98:2bc:2be:0$", r)])
        self.assert_nothing_outside()

    def test_a_peer_that_stops_half_way_leaves_the_partial_file_and_an_error(self):
        data = os.urandom(200000)

        def half_file(conn):
            conn.sendall(data[:100000])

        stream = header("t", 0, 2) + header("whole", 3, 1) + b"abc" + header("cut", 5000, 1) + b"x" * 1000

        def half_stream(conn):
            conn.sendall(stream)

        self.start({(800, 801): half_file, (800, 802): half_stream})
        self.offer([(801, "half.bin", len(data), 1), (802, "t", 5003, 2)], 800)
        self.assertEqual(self.ended(801), "RECEIVE_ERROR")
        self.assertEqual(self.ended(802), "RECEIVE_ERROR")
        with open(os.path.join(self.save, "half.bin"), "rb") as f:
            self.assertEqual(f.read(), data[:100000])
        self.assertEqual(tree_files(os.path.join(self.save, "t")), {"whole": b"abc", "cut": b"x" * 1000})
        self.assertEqual(self.progress_total(801), 100000)

    def test_names_that_would_leave_the_folder_are_refused(self):
        evil = header("t", 0, 2) + header("ok", 1, 1) + b"1" + header("..", 0, 2) + header("esc", 3, 1) + b"bad"
        climb = header(".", 0, 3) + header(".", 0, 3) + header("top.txt", 2, 1) + b"hi"
        self.start({(900, 901): b"never asked", (900, 902): evil, (900, 903): climb,
                    (900, 904): b"never asked"})
        self.offer([(901, "..\\esc.txt", 11, 1), (902, "t", 4, 2), (903, "c", 2, 2), (904, "CON", 11, 1)], 900)
        self.assertEqual(self.ended(901), "RECEIVE_ERROR")
        self.assertEqual(self.ended(902), "RECEIVE_ERROR")
        # Returns before the offered folder climb out of it: nothing of that stream is written.
        self.assertEqual(self.ended(903), "RECEIVE_ERROR")
        self.assertEqual(self.ended(904), "RECEIVE_ERROR")
        # A refused offered name is never asked for.
        self.assertFalse([r for r in self.server.requests if re.search(rb":(385|388):0$", r)])
        self.assertEqual(tree_files(self.save), {os.path.join("t", "ok"): b"1"})
        self.assert_nothing_outside()

    def test_entries_of_unknown_kind_are_told_once_and_end_in_the_error_state(self):
        run = self.start({})
        datagram = offer_datagram(970, [(971, "what", 1, 4), (972, "other", 1, 7)]) + b"\x07\0"
        self.peer.send_raw(datagram, ZQ)
        self.assertEqual(self.ended(971), "RECEIVE_ERROR")
        self.assertEqual(self.ended(972), "RECEIVE_ERROR")
        prompts = [(e.text("caption"), e.text("text")) for e in run.log.events("PROMPT")]
        self.assertEqual(prompts, [("ZQ", "不能解析是文件，还是目录！"),
                                   ("接收文件", "来自：peer，IP：%s。\r\n对方发送了如下文件，是否接收？\r\n" % PEER)])
        self.assertEqual(len(run.log.events("RECEIVE_START")), 2, "the empty last entry is no item")
        self.assertEqual(self.server.requests, [])

    def test_a_peer_that_cannot_be_reached_gets_one_box_and_an_error(self):
        run = self.start({})
        self.server.close()
        self.offer([(981, "gone.txt", 3, 1)], 980)
        self.assertEqual(self.ended(981), "RECEIVE_ERROR")
        boxes = [e.text("text") for e in run.log.events("PROMPT") if e.text("caption") == "ZQ"]
        self.assertEqual(boxes, ["错误：不能连接到对方主机."])
        self.assertFalse(os.path.exists(os.path.join(self.save, "gone.txt")))

    def test_a_silent_peer_ends_in_the_error_state_after_the_quiet_time(self):
        def silent(conn):
            time.sleep(20)

        self.start({(950, 951): silent}, "--idle-timeout", "2000")
        self.offer([(951, "quiet.bin", 10, 1)], 950)
        self.assertEqual(self.ended(951, timeout=15), "RECEIVE_ERROR")

    def test_a_chat_from_another_peer_is_answered_while_the_offer_box_is_open(self):
        other = Peer(self.net.hosts[2])
        try:
            run = self.start({(960, 961): b"later"}, "--hold-prompts")
            self.offer([(961, "later.txt", 5, 1)], 960)
            run.log.wait_for(lambda e: e.kind == "PROMPT_HOLD", 20, run)
            number = other.send_text(ZQ, "还在吗", options=SENDCHECKOPT)
            other.expect(lambda p: p.command == RECVMSG and p.extra == b"%d" % number, 20, what="chat receipt")
            run.log.wait_for(lambda e: e.kind == "RECEIVE_MESSAGE" and e["senderIp"] == OTHER.encode(), 20, run)
            self.assertFalse(run.log.events("RECEIVE_START"), "nothing starts before the user answers")
            with open(run.release_file + ".prompt1", "w"):
                pass
            self.assertEqual(self.ended(961), "RECEIVE_FINISH")
            with open(os.path.join(self.save, "later.txt"), "rb") as f:
                self.assertEqual(f.read(), b"later")
        finally:
            other.close()

    @staticmethod
    def questions(run):
        return [e for e in run.log.events("PROMPT") if e["caption"] == gbk("接收文件")]

    def test_a_flood_of_offers_from_one_address_opens_two_questions(self):
        run = self.start({}, "--hold-prompts")
        for number in (970, 971):
            self.offer([(number + 1000, "f%d.txt" % number, 1, 1)], number)
        run.log.wait_for(lambda e: len(run.log.events("PROMPT_HOLD")) == 2, 20, run)
        flood = range(972, 982)
        for number in flood:
            self.peer.send_raw(offer_datagram(number, [(number + 1000, "f%d.txt" % number, 1, 1)]), ZQ)
        # The receive thread takes one datagram at a time: once this text is acknowledged, every
        # offer of the flood has been handled, and none beyond two was asked or acknowledged.
        number = self.peer.send_text(ZQ, "after the flood", options=SENDCHECKOPT)
        self.peer.expect(lambda p: p.command == RECVMSG and p.extra == b"%d" % number, 20, what="chat receipt")
        self.assertEqual(len(self.questions(run)), 2)
        self.assertFalse([p for p in self.peer.history if p.command == RECVMSG and int(p.extra or 0) in flood])
        # An answered question makes room for the next offer.
        with open(run.release_file + ".prompt1", "w"):
            pass
        run.log.wait_for(lambda e: e.kind == "PROMPT_RELEASE", 20, run)
        self.offer([(2990, "next.txt", 1, 1)], 990)
        run.log.wait_for(lambda e: len(self.questions(run)) == 3, 20, run)

    def test_a_folder_stream_writes_only_below_the_offered_folder(self):
        startup = ["AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs", "Startup"]
        # Down to a startup folder, a program there, back up past the offered folder and over a
        # file the user has beside it.
        climbing = (header("photos", 0, 2) + b"".join(header(n, 0, 2) for n in startup) +
                    header("evil.bat", 4, 1) + b"boom" + header(".", 0, 3) * (len(startup) + 1) +
                    header("notes.docx", 5, 1) + b"owned")
        # The first folder is the offered one, whatever the stream calls it.
        renamed = header("Startup", 0, 2) + header("run.bat", 2, 1) + b"hi" + header(".", 0, 3)
        second = (header("a", 0, 2) + header(".", 0, 3) + header("b", 0, 2) + header("x.txt", 1, 1) + b"x" +
                  header(".", 0, 3))
        top_file = header("top.txt", 3, 1) + b"top" + header("f", 0, 2) + header(".", 0, 3)
        with open(os.path.join(self.save, "notes.docx"), "wb") as f:
            f.write(b"mine")
        drive = self.wine.unix_path("C:\\")
        self.start({(990, 991): climbing, (990, 992): renamed, (990, 993): second, (990, 994): top_file})
        before = snapshot(drive)
        self.offer([(991, "photos", 9, 2), (992, "pics", 2, 2), (993, "a", 1, 2), (994, "f", 3, 2)], 990)
        self.assertEqual(self.ended(991), "RECEIVE_ERROR")
        self.assertEqual(self.ended(992), "RECEIVE_FINISH")
        self.assertEqual(self.ended(993), "RECEIVE_ERROR")
        self.assertEqual(self.ended(994), "RECEIVE_ERROR")
        self.assert_changed_only_below(before, snapshot(drive), "photos", "pics", "a")
        with open(os.path.join(self.save, "notes.docx"), "rb") as f:
            self.assertEqual(f.read(), b"mine")
        self.assertEqual(tree_files(os.path.join(self.save, "photos")), {os.path.join(*startup, "evil.bat"): b"boom"})
        self.assertEqual(tree_files(os.path.join(self.save, "pics")), {"run.bat": b"hi"})
        self.assertEqual(os.listdir(os.path.join(self.save, "a")), [])
        self.assertEqual(sorted(os.listdir(self.save)), ["a", "notes.docx", "photos", "pics"])
        self.assertTrue(self.run_.running())

    def test_links_in_the_chosen_folder_are_never_followed(self):
        outside = tempfile.mkdtemp(prefix="zq-outside-")
        self.addCleanup(shutil.rmtree, outside)
        os.makedirs(os.path.join(outside, "dir"))
        with open(os.path.join(outside, "target.txt"), "wb") as f:
            f.write(b"outside")
        os.symlink(os.path.join(outside, "dir"), os.path.join(self.save, "link"))
        os.symlink(os.path.join(outside, "target.txt"), os.path.join(self.save, "notes.txt"))
        os.symlink(os.path.join(outside, "made.txt"), os.path.join(self.save, "dangling.txt"))
        os.makedirs(os.path.join(self.save, "real"))
        os.symlink(os.path.join(outside, "dir"), os.path.join(self.save, "real", "inner"))
        os.symlink(os.path.join(outside, "target.txt"), os.path.join(self.save, "real", "old.txt"))
        real = (header("real", 0, 2) + header("old.txt", 3, 1) + b"bad" + header("fine.txt", 2, 1) + b"ok" +
                header("inner", 0, 2) + header("deep.txt", 1, 1) + b"d" + header(".", 0, 3) + header(".", 0, 3))
        drive = self.wine.unix_path("C:\\")
        self.start({(1000, 1001): header("link", 0, 2) + header("new.txt", 3, 1) + b"new" + header(".", 0, 3),
                    (1000, 1002): b"overwritten", (1000, 1003): b"created", (1000, 1004): real})
        before, before_outside = snapshot(drive), snapshot(outside)
        self.offer([(1001, "link", 3, 2), (1002, "notes.txt", 11, 1), (1003, "dangling.txt", 7, 1),
                    (1004, "real", 6, 2)], 1000)
        for file_id in (1001, 1002, 1003, 1004):
            self.assertEqual(self.ended(file_id), "RECEIVE_ERROR", file_id)
        self.assertEqual(snapshot(outside), before_outside)
        with open(os.path.join(outside, "target.txt"), "rb") as f:
            self.assertEqual(f.read(), b"outside")
        # The links are still the links they were; inside the real folder, the stream went on
        # past the linked file and stopped at the linked folder.
        self.assert_changed_only_below(before, snapshot(drive), os.path.join("real", "fine.txt"))
        with open(os.path.join(self.save, "real", "fine.txt"), "rb") as f:
            self.assertEqual(f.read(), b"ok")

    def test_a_chosen_folder_that_is_a_link_takes_downloads_over_what_it_holds(self):
        # As Desktop and Documents are under Wine: the user's choice is used wherever it leads, and
        # a file or folder already in it is replaced or entered, its name matched without case.
        target = tempfile.mkdtemp(prefix="zq-chosen-")
        self.addCleanup(shutil.rmtree, target)
        os.makedirs(os.path.join(target, "Tree", "sub"))
        with open(os.path.join(target, "a.txt"), "wb") as f:
            f.write(b"an older and longer text")
        with open(os.path.join(target, "Tree", "sub", "s.txt"), "wb") as f:
            f.write(b"older")
        link = self.wine.unix_path("C:\\linked")
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(target, link)
        self.addCleanup(os.remove, link)
        stream = (header("tree", 0, 2) + header("sub", 0, 2) + header("s.txt", 3, 1) + b"new" + header(".", 0, 3) +
                  header(".", 0, 3))
        self.start({(1050, 1051): b"new", (1050, 1052): stream}, folder="C:\\linked")
        self.offer([(1051, "a.txt", 3, 1), (1052, "tree", 3, 2)], 1050)
        self.assertEqual(self.ended(1051), "RECEIVE_FINISH")
        self.assertEqual(self.ended(1052), "RECEIVE_FINISH")
        self.assertEqual(tree_files(target), {"a.txt": b"new", os.path.join("Tree", "sub", "s.txt"): b"new"})

    def test_a_stream_deeper_than_a_path_can_be_ends_in_the_error_state(self):
        name = "n" * 200
        levels = 200  # 40,000 UTF-16 units below the chosen folder
        deep = (header("deep", 0, 2) + header(name, 0, 2) * levels + header("f.txt", 1, 1) + b"x" +
                header(".", 0, 3) * (levels + 1))
        drive = self.wine.unix_path("C:\\")
        self.start({(1100, 1101): deep, (1100, 1102): b"fine"})
        before = snapshot(drive)
        self.offer([(1101, "deep", 1, 2)], 1100)
        self.assertEqual(self.ended(1101), "RECEIVE_ERROR")
        # Still there, and still downloading.
        self.offer([(1102, "after.txt", 4, 1)], 1100)
        self.assertEqual(self.ended(1102), "RECEIVE_FINISH")
        self.assert_changed_only_below(before, snapshot(drive), "deep", "after.txt")
        self.assertTrue(self.run_.running())

    def test_an_offer_runs_three_downloads_at_a_time_and_the_rest_in_turn(self):
        lock = threading.Lock()
        counts = {"open": 0, "most": 0}
        three = threading.Event()

        def held(content):
            def serve(conn):
                with lock:
                    counts["open"] += 1
                    counts["most"] = max(counts["most"], counts["open"])
                    if counts["open"] >= 3:
                        three.set()
                # Held until three are open, so that more at once would show.
                three.wait(5)
                time.sleep(0.2)
                conn.sendall(content)
                with lock:
                    counts["open"] -= 1
            return serve

        items = {(1200, 1201 + i): held(b"%02d" % i) for i in range(12)}
        self.start(items)
        self.offer([(1201 + i, "f%02d.txt" % i, 2, 1) for i in range(12)], 1200)
        for i in range(12):
            self.assertEqual(self.ended(1201 + i), "RECEIVE_FINISH")
        self.assertEqual(counts["most"], 3)
        self.assertEqual(len(self.server.requests), 12)
        self.assertEqual(tree_files(self.save), {"f%02d.txt" % i: b"%02d" % i for i in range(12)})

    def test_a_peer_that_cannot_be_reached_gets_one_box_for_a_whole_offer(self):
        run = self.start({})
        self.server.close()
        self.offer([(1301 + i, "gone%d.txt" % i, 3, 1) for i in range(10)], 1300)
        for i in range(10):
            self.assertEqual(self.ended(1301 + i), "RECEIVE_ERROR")
        boxes = [e.text("text") for e in run.log.events("PROMPT") if e.text("caption") == "ZQ"]
        self.assertEqual(boxes, ["错误：不能连接到对方主机."])

    def test_a_folder_whose_name_holds_a_full_width_colon_is_used_as_picked(self):
        folder = "C:\\资料：2024"
        save = self.wine.unix_path(folder)
        shutil.rmtree(save, ignore_errors=True)
        os.makedirs(save)
        self.addCleanup(shutil.rmtree, save)
        stream = header("docs", 0, 2) + header("a.txt", 1, 1) + b"a" + header(".", 0, 3)
        run = self.start({(1400, 1401): b"abc", (1400, 1402): stream}, folder=folder)
        self.offer([(1401, "x.txt", 3, 1), (1402, "docs", 1, 2)], 1400)
        self.assertEqual(self.ended(1401), "RECEIVE_FINISH")
        self.assertEqual(self.ended(1402), "RECEIVE_FINISH")
        self.assertEqual(tree_files(save), {"x.txt": b"abc", os.path.join("docs", "a.txt"): b"a"})
        self.assertFalse(os.path.exists(self.wine.unix_path("C:\\资料:2024")))
        starts = sorted(e.text("text") for e in run.log.events("RECEIVE_START"))
        self.assertEqual(starts, ["1400:%s:2425:1401:x.txt:3:1:C：\\资料：2024" % PEER,
                                  "1400:%s:2425:1402:docs:1:2:C：\\资料：2024" % PEER])

    def test_the_name_written_is_the_name_shown(self):
        # A field that ends in a lead byte: its ':' is the end of the field all the same.
        swallowing = b"1\x81:report.pdf\x81::invoice.exe:5:0:1"
        trailing = b"2:tail\x81:4:0:1"
        gbk_name = b"\xb1\xa8\x95\x5c.txt"  # the second character's trail byte looks like a backslash
        honest = b"3:" + gbk_name + b":2:0:1"
        run = self.start({(1500, 1): b"12345", (1500, 2): b"tail", (1500, 3): b"ok"})
        self.peer.send_raw(b"1:1500:peer:peerbox:%d:\0" % (0x200020) + b"\x07".join([swallowing, trailing, honest]),
                           ZQ)
        self.peer.expect(lambda p: p.command == RECVMSG, 20, what="the offer's receipt")
        prompt = run.log.wait_for(lambda e: e.kind == "PROMPT" and e["caption"] == gbk("接收文件"), 20, run)
        self.assertTrue(prompt["text"].endswith(gbk("文件：") + b"report.pdf\x81::invoice.exe" + gbk("。\r\n文件：") +
                                                b"tail\x81" + gbk("。\r\n文件：") + gbk_name + gbk("。\r\n")))
        self.assertEqual(self.ended(1), "RECEIVE_ERROR")
        self.assertEqual(self.ended(2), "RECEIVE_ERROR")
        self.assertEqual(self.ended(3), "RECEIVE_FINISH")
        # Each row shows its item, a refused name with '?' for the bytes that would cut the row's text.
        starts = sorted(e["text"] for e in run.log.events("RECEIVE_START"))
        self.assertEqual(starts, [b"1500:%s:2425:1:report.pdf\x81??invoice.exe:5:1:C\xa3\xba\\recv" % PEER.encode(),
                                  b"1500:%s:2425:2:tail?:4:1:C\xa3\xba\\recv" % PEER.encode(),
                                  b"1500:%s:2425:3:%s:2:1:C\xa3\xba\\recv" % (PEER.encode(), gbk_name)])
        self.assertEqual(tree_files(self.save), {gbk_name.decode("gbk"): b"ok"})
        self.assertFalse([r for r in self.server.requests if re.search(rb":5dc:[12]:0$", r)])


if __name__ == "__main__":
    harness.run_tests()
