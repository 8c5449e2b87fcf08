"""A hostile host floods the messenger's TCP port with connections that send junk every second,
first from its one address, then from several. The messenger serves at most 16 connections of
one address and 64 in all at once, each with a thread of its own, and closes the rest at once:
the process lives, its thread count stays within those bounds, and an honest peer on another
host downloads a shared folder whole during the flood and after it. It runs against the test
build and, where 32-bit Wine is there, the 32-bit release program (--zq)."""

import os
import resource
import select
import socket
import time
import unittest

import desktop
import harness
from desktop import Desktop
from folder_stream import check_folder_stream
from harness import Network, ProcessUsage, WineHost
from ipmsg_peer import BR_ENTRY, GETDIRFILES, Peer, fetch_tcp, file_request

ZQ = "10.77.0.1"
REQUEST = b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST"
REPLY = b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST_REPLY&MESSAGE="
JUNK = b"1:1:x:y:96:7fffffff:7fffffff:0"


def setUpModule():
    desktop.skip_unless_possible()


class Flood:
    """Junk connections from one host, each sending a request for a key nobody offered."""

    def __init__(self, host):
        self.host = host
        self.sockets = []

    def connect(self, count, source=None):
        for _ in range(count):
            sock = self.host.socket(socket.SOCK_STREAM)
            sock.settimeout(10)
            if source:
                sock.bind((source, 0))
            try:
                sock.connect((ZQ, 2425))
                sock.sendall(JUNK)
            except OSError:
                sock.close()
                continue
            self.sockets.append(sock)

    def junk_round(self):
        """Sends junk on every connection the messenger still holds; drops the others."""
        kept = []
        for sock in self.held():
            try:
                sock.sendall(JUNK)
                kept.append(sock)
            except OSError:
                sock.close()
        self.sockets = kept

    def held(self):
        """The connections the messenger keeps open: those that it has neither closed nor reset
        (either makes a socket readable)."""
        poll = select.poll()
        for sock in self.sockets:
            poll.register(sock, select.POLLIN)
        readable = {fd for fd, _ in poll.poll(0)}
        held = [sock for sock in self.sockets if sock.fileno() not in readable]
        for sock in self.sockets:
            if sock not in held:
                sock.close()
        self.sockets = held
        return held

    def settled(self, bound, timeout=30):
        """The connections held once the messenger has taken every pending one: it accepts them
        one after the other, so the last ones may still wait in its queue. Waits until at most
        bound are held, or timeout has passed."""
        deadline = time.monotonic() + timeout
        while len(self.held()) > bound and time.monotonic() < deadline:
            time.sleep(0.2)
        return self.held()

    def by_source(self):
        counts = {}
        for sock in self.sockets:
            source = sock.getsockname()[0]
            counts[source] = counts.get(source, 0) + 1
        return counts

    def close(self):
        for sock in self.sockets:
            sock.close()
        self.sockets = []


def usage(pid):
    """Threads and resident memory (KiB) of a process."""
    held = ProcessUsage(pid)
    return held.threads, held.resident >> 10


class ServingFloodTest(unittest.TestCase):
    PER_ADDRESS = 16
    IN_ALL = 64
    JUNK_CONNECTIONS = 2000
    ATTACKER_ADDRESSES = ["10.77.0.%d" % n for n in range(101, 108)]
    # Threads that Wine and the program start on their own meanwhile (timers, the window's
    # helpers); the serving threads come on top.
    SPARE_THREADS = 8
    # Resident memory a held connection may cost (its thread, stack and buffers); about 1 MiB
    # was measured with the 64-bit test build.
    MEMORY_PER_CONNECTION_KIB = 2048

    @classmethod
    def setUpClass(cls):
        limit = resource.getrlimit(resource.RLIMIT_NOFILE)
        if limit[0] < cls.JUNK_CONNECTIONS + 1000:
            resource.setrlimit(resource.RLIMIT_NOFILE, (limit[1], limit[1]))

    @staticmethod
    def fetched(host, request):
        """What a download gets; nothing when the connection was closed or reset at once."""
        try:
            return fetch_tcp(host, ZQ, request, timeout=30)
        except ConnectionResetError:
            return b""

    def test_junk_connections_are_bounded_and_an_honest_peer_is_served(self):
        with Desktop(), Network(hosts=3) as net, WineHost(net.hosts[0]) as wine:
            attacker, honest = net.hosts[1], net.hosts[2]
            tree = wine.unix_path("C:\\shared\\tree")
            os.makedirs(os.path.join(tree, "sub"))
            for name, size in [("a.bin", 300000), (os.path.join("sub", "b.bin"), 1 << 20)]:
                with open(os.path.join(tree, name), "wb") as f:
                    f.write(os.urandom(size))
            wine.write_settings(userName="Li", userGroupName="Dev", shareFolders="C:\\shared\\tree")
            process = wine.start(desktop.program_path("ZQ.exe"), name="ZQ")
            peer = Peer(honest)
            flood = Flood(attacker)
            try:
                # Asked once the program has said it is there.
                peer.expect(lambda p: p.command == BR_ENTRY and p.sender[0] == ZQ, timeout=60, what="its entry")
                peer.send_raw(REQUEST, ZQ)
                answer = peer.expect(lambda p: p.raw.startswith(REPLY), timeout=30, what="the share-list reply")
                first, second = (int(n) for n in answer.raw[len(REPLY):].split(b":")[:2])

                def download():
                    stream = fetch_tcp(honest, ZQ, file_request(first, second, command=GETDIRFILES), timeout=30)
                    check_folder_stream(self, stream, tree, "tree")

                download()
                pid = wine.process_of(desktop.program_path("ZQ.exe"))
                self.assertIsNotNone(pid, "the program's process")
                threads_at_start, memory_at_start = usage(pid)

                # From the attacker's one address: 2,000 connections, junk every second.
                flood.connect(self.JUNK_CONNECTIONS)
                self.assertLessEqual(len(flood.settled(self.PER_ADDRESS)), self.PER_ADDRESS)
                download()
                for _ in range(3):
                    time.sleep(1)
                    flood.junk_round()
                    self.assertLessEqual(len(flood.settled(self.PER_ADDRESS)), self.PER_ADDRESS)
                threads, memory = usage(pid)
                self.assertLessEqual(threads, threads_at_start + self.PER_ADDRESS + self.SPARE_THREADS,
                                     "threads after one host's flood (%d at start)" % threads_at_start)
                print("one host: threads %d -> %d, resident %d -> %d KiB"
                      % (threads_at_start, threads, memory_at_start, memory))
                self.assertLessEqual(memory - memory_at_start, self.PER_ADDRESS * self.MEMORY_PER_CONNECTION_KIB)

                # From more addresses of the same host: 64 in all.
                attacker.add_addresses(self.ATTACKER_ADDRESSES)
                for source in self.ATTACKER_ADDRESSES:
                    flood.connect(self.PER_ADDRESS + 4, source)
                flood.junk_round()
                flood.settled(self.IN_ALL)
                counts = flood.by_source()
                self.assertLessEqual(sum(counts.values()), self.IN_ALL, counts)
                self.assertLessEqual(max(counts.values()), self.PER_ADDRESS, counts)
                threads, memory = usage(pid)
                self.assertLessEqual(threads, threads_at_start + self.IN_ALL + self.SPARE_THREADS,
                                     "threads after the flood from %d addresses" % len(counts))
                print("%d addresses: threads %d -> %d, resident %d -> %d KiB"
                      % (len(counts), threads_at_start, threads, memory_at_start, memory))
                self.assertLessEqual(memory - memory_at_start, self.IN_ALL * self.MEMORY_PER_CONNECTION_KIB)
                self.assertTrue(process.running())

                # Once the attacker goes, its slots are free again; the messenger notices each
                # close on the connection's own thread, so the first attempts may still find every
                # slot taken and be closed without data.
                flood.close()
                deadline = time.monotonic() + 30
                while not self.fetched(honest, file_request(first, second, command=GETDIRFILES)):
                    self.assertLess(time.monotonic(), deadline, "the honest peer is never served again")
                    time.sleep(0.2)
                download()
                self.assertTrue(process.running())
                # And every serving thread has ended.
                deadline = time.monotonic() + 30
                while usage(pid)[0] > threads_at_start + self.SPARE_THREADS:
                    self.assertLess(time.monotonic(), deadline, "serving threads left after the flood")
                    time.sleep(0.2)
            finally:
                flood.close()
                peer.close()
                process.stop()


if __name__ == "__main__":
    harness.run_tests()
