"""Throughput of file serving: the messenger (under Wine, on one test host) serves a 512 MiB file
to a downloader on another host; in the same run a plain TCP sender in Python copies the same file
over the same link with the same block size. Prints both rates and their ratio.

Run through bench/serve-throughput.sh, which finds the driver and the Wine prefix."""

import os
import socket
import statistics
import sys
import threading
import time

from bench_setup import bench_arguments, write_random_file     # noqa: E402
import harness                                          # noqa: E402
from harness import Network, WineHost                   # noqa: E402
from ipmsg_peer import connect_tcp, file_request, gbk   # noqa: E402

SIZE = 512 << 20
BLOCK = 32768                  # what the messenger reads and sends at a time
PLAIN_PORT = 2426
MIB = float(1 << 20)


def receive_all(sock):
    """Bytes received until the sender closes."""
    buffer = bytearray(1 << 18)
    view = memoryview(buffer)
    total = 0
    while True:
        n = sock.recv_into(view)
        if not n:
            return total
        total += n


def download(host, address, port, request=None):
    """Seconds from connect to close, and the number of bytes."""
    start = time.perf_counter()
    sock = connect_tcp(host, address, timeout=120, port=port)
    try:
        if request:
            sock.sendall(request)
        total = receive_all(sock)
        return time.perf_counter() - start, total
    finally:
        sock.close()


class PlainSender:
    """Sends the file to every connection, in blocks of BLOCK bytes, then closes it."""

    def __init__(self, host, path):
        self.path = path
        self.listener = host.socket(socket.SOCK_STREAM)
        self.listener.bind((host.ip, PLAIN_PORT))
        self.listener.listen(4)
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        while True:
            try:
                connection, _ = self.listener.accept()
            except OSError:
                return
            with connection, open(self.path, "rb") as f:
                while True:
                    block = f.read(BLOCK)
                    if not block:
                        break
                    connection.sendall(block)

    def close(self):
        self.listener.close()


def main():
    args = bench_arguments()

    with Network(hosts=2) as net:
        server, client = net.hosts
        with WineHost(server, name="server") as wine:
            windows_path = "C:\\bench\\file.bin"
            path = wine.unix_path(windows_path)
            os.makedirs(os.path.dirname(path))
            write_random_file(path, SIZE)
            wine.write_settings(userName="bench", userGroupName="bench")
            run = wine.driver("messenger", "--seconds", "900", "--share", "1-2=" + windows_path)
            run.log.wait_for(lambda e: e.kind == "RESULT" and e["call"] == b"startMessenger", 60, run)
            plain = PlainSender(server, path)
            try:
                zq_times, plain_times = [], []
                for round_ in range(args.rounds):
                    seconds, total = download(client, server.ip, 2425, gbk(file_request(1, 2)))
                    if total != SIZE:
                        sys.exit("the messenger sent %d of %d bytes" % (total, SIZE))
                    zq_times.append(seconds)
                    seconds, total = download(client, server.ip, PLAIN_PORT)
                    if total != SIZE:
                        sys.exit("the plain sender sent %d of %d bytes" % (total, SIZE))
                    plain_times.append(seconds)
                    print("round %d: messenger %.0f MiB/s, plain TCP %.0f MiB/s"
                          % (round_ + 1, SIZE / MIB / zq_times[-1], SIZE / MIB / plain_times[-1]))
            finally:
                plain.close()
                run.finish()

    zq_best, plain_best = SIZE / MIB / min(zq_times), SIZE / MIB / min(plain_times)
    zq_median = SIZE / MIB / statistics.median(zq_times)
    plain_median = SIZE / MIB / statistics.median(plain_times)
    print("serving %d MiB in %d KiB blocks, %d rounds:      best      median" % (SIZE >> 20, BLOCK >> 10, args.rounds))
    print("  messenger (Wine):               %8.1f    %8.1f MiB/s" % (zq_best, zq_median))
    print("  plain TCP sender (Python):      %8.1f    %8.1f MiB/s" % (plain_best, plain_median))
    print("  ratio messenger / plain:        %8.2f    %8.2f" % (zq_best / plain_best, zq_median / plain_median))


if __name__ == "__main__":
    main()
