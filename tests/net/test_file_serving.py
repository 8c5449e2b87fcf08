"""Serving files and folders over TCP as a downloading peer meets it: one request per connection,
the file's bytes from the asked offset or the folder stream, then the close; unknown keys get no
answer and leave the connection open; deep trees, parallel downloads and peers that go away in
the middle do not disturb the serving."""

import os
import socket
import stat
import struct
import threading
import unittest

import harness
from folder_stream import check_folder_stream, header
from harness import Network, WineHost
from ipmsg_peer import (GETDIRFILES, GETFILEDATA, connect_tcp, fetch_tcp, file_request, gbk, read_to_close,
                        stays_silent)

ZQ = "10.77.0.1"


class FileServingTest(unittest.TestCase):
    """One messenger serves every item; each test downloads what it needs."""

    @classmethod
    def setUpClass(cls):
        cls.net = Network(hosts=2).__enter__()
        cls.peer_host = cls.net.hosts[1]
        cls.wine = WineHost(cls.net.hosts[0]).__enter__()
        cls.wine.write_settings(userName="srv", userGroupName="g")
        cls.items = {}
        cls.make_items()
        shares = []
        for key, (windows_path, _) in cls.items.items():
            shares += ["--share", "%d-%d=%s" % (key[0], key[1], windows_path)]
        cls.run_ = cls.wine.driver("messenger", "--seconds", "140", *shares)
        cls.run_.log.wait_for(lambda e: e.kind == "RESULT" and e["call"] == b"startMessenger", 60, cls.run_)

    @classmethod
    def tearDownClass(cls):
        cls.run_.finish()
        cls.wine.__exit__(None, None, None)
        cls.net.__exit__(None, None, None)

    # -- the served items

    @classmethod
    def add(cls, key, relative, content=None):
        """A file (content given) or folder at C:\\srv\\relative, servable under key."""
        windows_path = "C:\\srv\\" + relative
        unix_path = cls.wine.unix_path(windows_path)
        os.makedirs(os.path.dirname(unix_path), exist_ok=True)
        if content is None:
            os.makedirs(unix_path, exist_ok=True)
        else:
            with open(unix_path, "wb") as f:
                f.write(content)
        if key:
            cls.items[key] = (windows_path, unix_path)
        return unix_path

    @classmethod
    def make_items(cls):
        cls.data_1234 = os.urandom(1234)
        cls.add((7, 8), "a.bin", cls.data_1234)
        cls.add((7, 9), "empty.bin", b"")
        cls.data_ro = os.urandom(3000)
        os.chmod(cls.add((7, 10), "readonly.bin", cls.data_ro), stat.S_IRUSR | stat.S_IRGRP)
        cls.add((7, 11), ".hidden.bin", cls.data_ro)

        # A folder with sub-folders, an empty file, a folder holding only a link back to its
        # parent, a multi-block file and a Chinese name; its sub-folder "ro" may not be written.
        cls.add((20, 1), "top")
        cls.add(None, "top\\sub1\\empty", b"")
        cls.add(None, "top\\sub1\\deeper\\big.bin", os.urandom(100000))
        cls.add(None, "top\\sub2")
        os.symlink("..", cls.wine.unix_path("C:\\srv\\top\\sub2\\loop"))
        cls.add(None, "top\\ro\\r.txt", b"r")
        os.chmod(cls.wine.unix_path("C:\\srv\\top\\ro"), stat.S_IRUSR | stat.S_IXUSR)
        cls.add(None, "top\\a.txt", cls.data_1234)
        cls.add(None, "top\\报告.txt", "报告".encode("gbk"))

        # 200 levels of folders with a file at the bottom and one at the top.
        cls.add((21, 1), "deep")
        cls.add(None, "deep\\" + "\\".join(["d"] * 200) + "\\bottom.txt", b"bottom")
        cls.add(None, "deep\\top.txt", b"top")

        # Links to files, one to a file outside every served item and one to its sibling, beside
        # a plain file.
        cls.add((22, 1), "linked")
        cls.add(None, "linked\\inside.txt", b"inside")
        secret = cls.add(None, "outside\\secret.txt", b"secret")
        os.symlink(secret, cls.wine.unix_path("C:\\srv\\linked\\outside.txt"))
        os.symlink("inside.txt", cls.wine.unix_path("C:\\srv\\linked\\sibling.txt"))

        cls.data_big = os.urandom(8 << 20)
        cls.add((30, 1), "big.bin", cls.data_big)
        cls.add((30, 2), "big-folder")
        cls.add(None, "big-folder\\x.bin", cls.data_big)

    # -- downloading

    def connect(self):
        return connect_tcp(self.peer_host, ZQ, timeout=30)

    def fetch(self, key, offset=0, command=GETFILEDATA):
        return fetch_tcp(self.peer_host, ZQ, file_request(key[0], key[1], offset, command), timeout=30)

    # -- files

    def test_files(self):
        cases = [
            ("whole file", (7, 8), 0, self.data_1234),
            ("from byte 500", (7, 8), 500, self.data_1234[500:]),
            ("offset at the end", (7, 8), 1234, b""),
            ("offset past the end", (7, 8), 5000, b""),
            ("empty file", (7, 9), 0, b""),
            ("read-only file", (7, 10), 0, self.data_ro),
            ("hidden file", (7, 11), 0, self.data_ro),
        ]
        for name, key, offset, expected in cases:
            with self.subTest(name):
                self.assertEqual(self.fetch(key, offset), expected)

    def test_the_kind_of_the_path_decides_not_the_command(self):
        self.assertEqual(self.fetch((7, 8), command=GETDIRFILES), self.data_1234)
        check_folder_stream(self, self.fetch((20, 1), command=GETFILEDATA),
                            self.items[(20, 1)][1], "top")

    def test_unknown_key_gets_no_answer_and_the_connection_takes_another_request(self):
        sock = self.connect()
        try:
            sock.sendall(gbk(file_request(0x99, 0x98)))
            self.assertTrue(stays_silent(sock, 1.0), "an answer to an unknown key")
            sock.sendall(b"not a request at all")
            self.assertTrue(stays_silent(sock, 1.0), "an answer to a broken request")
            sock.sendall(gbk(file_request(7, 8, offset=1000)))
            self.assertEqual(read_to_close(sock), self.data_1234[1000:])
        finally:
            sock.close()

    # -- folders

    def test_folder_stream_with_sub_folders_and_an_empty_file(self):
        data = self.fetch((20, 1), command=GETDIRFILES)
        check_folder_stream(self, data, self.items[(20, 1)][1], "top")

    def test_folder_200_levels_deep(self):
        data = self.fetch((21, 1), command=GETDIRFILES)
        expected = (header("deep", 0, 2) + header("d", 0, 2) * 200 + header("bottom.txt", 6, 1) + b"bottom" +
                    header(".", 0, 3) * 200 + header("top.txt", 3, 1) + b"top" + header(".", 0, 3))
        self.assertEqual(len(data), len(expected))
        self.assertEqual(data, expected)

    def test_links_to_files_are_left_out_of_a_folder_stream(self):
        for command in [GETDIRFILES, GETFILEDATA]:
            with self.subTest(command=command):
                data = self.fetch((22, 1), command=command)
                self.assertNotIn(b"secret", data)
                self.assertEqual(data, header("linked", 0, 2) + header("inside.txt", 6, 1) + b"inside" +
                                 header(".", 0, 3))

    # -- several peers

    def test_two_downloads_in_parallel(self):
        results = {}

        def download(label, key, command):
            try:
                results[label] = self.fetch(key, command=command)
            except Exception as e:       # reported below
                results[label] = e

        threads = [threading.Thread(target=download, args=("file", (30, 1), GETFILEDATA)),
                   threading.Thread(target=download, args=("folder", (30, 2), GETDIRFILES))]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join(60)
        self.assertEqual(results["file"], self.data_big)
        self.assertEqual(results["folder"],
                         header("big-folder", 0, 2) + header("x.bin", len(self.data_big), 1) + self.data_big +
                         header(".", 0, 3))

    def test_a_peer_that_goes_away_in_the_middle(self):
        for key, command in [((30, 1), GETFILEDATA), ((30, 2), GETDIRFILES)]:
            with self.subTest(key=key):
                sock = self.connect()
                sock.sendall(gbk(file_request(key[0], key[1], command=command)))
                got = 0
                while got < 100000:
                    got += len(sock.recv(65536))
                # Reset rather than close: the server's next send fails at once.
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                sock.close()
        # Others are still served, in full.
        self.assertEqual(self.fetch((7, 8)), self.data_1234)
        self.assertEqual(self.fetch((30, 1)), self.data_big)
        self.assertTrue(self.run_.running())


if __name__ == "__main__":
    harness.run_tests()
