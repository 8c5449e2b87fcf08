"""The serving side under stress: failed accepts pass, idle connections end.

A failed accept that concerns one connection or a passing shortage (the connection was reset
before it was taken, no buffer space, too many sockets) must not end file serving for the run;
the driver makes the first accepts fail with such errors (--accept-errors), as a test host cannot
bring them about on demand. A connection that sends no request, or stops reading what it asked
for, is closed after a time limit (shortened here with --serve-timeouts), while other peers are
served meanwhile."""

import os
import select
import socket
import time

import harness
from ipmsg_peer import connect_tcp, fetch_tcp, file_request, gbk, read_to_close
from messenger_case import ZQ, MessengerCase

WSAEINTR, WSAEWOULDBLOCK, WSAEMFILE, WSAENOBUFS, WSAECONNRESET = 10004, 10035, 10024, 10055, 10054
WSAENOTSOCK, WSAEINVAL = 10038, 10022

LIMIT_MS = 3000


class ServingLimitsTest(MessengerCase):
    hosts = 3

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        folder = cls.wine.unix_path("C:\\limits")
        os.makedirs(folder, exist_ok=True)
        cls.small = os.urandom(20000)
        cls.big = os.urandom(16 << 20)
        for name, data in [("small.bin", cls.small), ("big.bin", cls.big)]:
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)

    def start_messenger(self, *options):
        shares = ["--share", "7-1=C:\\limits\\small.bin", "--share", "7-2=C:\\limits\\big.bin"]
        return super().start_messenger(*(shares + list(options)))

    def accept_errors_logged(self, count):
        self.run_.log.wait_for(lambda e: len(self.run_.log.events("ACCEPT_ERROR")) >= count, 20, self.run_)
        return [int(e["code"]) for e in self.run_.log.events("ACCEPT_ERROR")]

    def refused_within(self, seconds):
        """True once a connection to the messenger's TCP port is refused; False if it never is."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            sock = self.net.hosts[1].socket(socket.SOCK_STREAM)
            sock.settimeout(10)
            try:
                sock.connect((ZQ, 2425))
            except ConnectionRefusedError:
                return True
            finally:
                sock.close()
            time.sleep(0.1)
        return False

    def test_passing_accept_errors_do_not_end_serving(self):
        passing = [WSAECONNRESET, WSAENOBUFS, WSAENOBUFS, WSAEMFILE, WSAEMFILE, WSAEMFILE, WSAEINTR, WSAEWOULDBLOCK]
        self.start_messenger("--accept-errors", ",".join(str(code) for code in passing))
        self.assertEqual(fetch_tcp(self.net.hosts[1], ZQ, file_request(7, 1)), self.small)
        self.assertEqual(self.accept_errors_logged(len(passing)), passing)
        # And the next connection too.
        self.assertEqual(fetch_tcp(self.net.hosts[2], ZQ, file_request(7, 1)), self.small)

    def test_a_listening_socket_that_cannot_work_ends_the_loop(self):
        for code in [WSAENOTSOCK, WSAEINVAL]:
            with self.subTest(code=code):
                self.start_messenger("--accept-errors", "%d" % code)
                self.assertEqual(self.accept_errors_logged(1), [code])
                self.assertTrue(self.refused_within(10), "the listening socket is closed")
                self.run_.finish()
                self.run_ = None

    def test_idle_connections_are_closed_and_others_served_meanwhile(self):
        self.start_messenger("--serve-timeouts", "%d,%d" % (LIMIT_MS, LIMIT_MS))
        host = self.net.hosts[1]
        # From three addresses of the host, so that none passes the bound of one address.
        sources = [host.ip, "10.77.0.201", "10.77.0.202"]
        host.add_addresses(sources[1:])
        connect_tcp(host, ZQ, timeout=30).close()  # listening by now
        idle = []
        for n in range(20):
            sock = host.socket(socket.SOCK_STREAM)
            sock.settimeout(30)
            sock.bind((sources[n % len(sources)], 0))
            sock.connect((ZQ, 2425))
            idle.append(sock)

        # One reader asks for a large file and then stops reading.
        stalled = host.socket(socket.SOCK_STREAM)
        stalled.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
        stalled.settimeout(60)
        stalled.connect((ZQ, 2425))
        stalled.sendall(gbk(file_request(7, 2)))

        # Meanwhile another peer is served, while every idle connection is still held open.
        self.assertEqual(fetch_tcp(self.net.hosts[2], ZQ, file_request(7, 1)), self.small)
        self.assertEqual(select.select(idle, [], [], 0)[0], [], "served only after the idle ones ended")

        # Every idle connection is closed by the messenger: the peer reads the end of the stream.
        for sock in idle:
            sock.settimeout(30)
            self.assertEqual(read_to_close(sock), b"", "an idle connection got data")
            sock.close()

        # The stalled send gives up: the reader gets part of the file, then the end.
        time.sleep(LIMIT_MS / 1000.0 + 1)
        try:
            got = len(read_to_close(stalled))
        except ConnectionResetError:
            got = 0
        stalled.close()
        self.assertLess(got, len(self.big), "the stalled reader got the whole file")

        # Serving goes on.
        self.assertEqual(fetch_tcp(self.net.hosts[2], ZQ, file_request(7, 1)), self.small)

    def test_junk_does_not_extend_the_time_limit_of_a_request(self):
        """Bytes that are no request that can be served get no answer, but the time limit runs
        from the connection's start: a peer sending junk without pause is closed all the same."""
        self.start_messenger("--serve-timeouts", "%d,%d" % (LIMIT_MS, 60000))
        junk = [gbk(file_request(0x99, 0x98)), b"not a request at all", b"\xff" * 3000]
        sock = connect_tcp(self.net.hosts[1], ZQ, timeout=30)
        got = b""
        closed = False
        deadline = time.monotonic() + 20 * LIMIT_MS / 1000.0
        try:
            while not closed and time.monotonic() < deadline:
                try:
                    sock.sendall(junk[int(time.monotonic() * 5) % len(junk)])
                    if select.select([sock], [], [], 0.2)[0]:
                        chunk = sock.recv(65536)
                        got += chunk
                        closed = not chunk
                except (ConnectionResetError, BrokenPipeError):
                    closed = True
        finally:
            sock.close()
        self.assertTrue(closed, "a connection sending junk is kept open")
        self.assertEqual(got, b"", "junk got an answer")
        # Serving goes on.
        self.assertEqual(fetch_tcp(self.net.hosts[2], ZQ, file_request(7, 1)), self.small)


if __name__ == "__main__":
    harness.run_tests()
