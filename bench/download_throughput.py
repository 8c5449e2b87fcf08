"""Throughput of downloading: a scripted peer (Python, on one test host) offers a 512 MiB file and
a folder of 2,000 small files to the messenger (under Wine, on another host), which accepts, asks
for each and writes it to disk. In the same run the same peer sends the same bytes over the same
link to two yardsticks that write them beside the messenger's:

- a minimal Win32 receiver under the same Wine (bench/plain_download.c): it sends the messenger's
  request, receives 1 MiB at a time with the same receive buffer and writes with WriteFile, the
  folder as its 2,000 files; Wine's own cost, which the messenger cannot go below;
- a plain TCP receiver in Python (native), reading 1 MiB at a time into one file: the link's.

Each rate runs from the request to the receiver's close of the connection; several rounds give the
median and the spread. The messenger runs twice: with the system's own receive buffer (what it
asks for) and with a fixed 32 KiB one (--receive-buffer 32768), to show what such a buffer costs.

Run through bench/download-throughput.sh, which finds the driver and the Wine prefix."""

import os
import shutil
import socket
import statistics
import sys
import tempfile
import threading
import time

from bench_setup import bench_arguments, bench_program        # noqa: E402
import harness                                                 # noqa: E402
from folder_stream import make_folder_stream                   # noqa: E402
from harness import Network, WineHost                          # noqa: E402
from ipmsg_peer import FileServer, Peer, offer_datagram        # noqa: E402

SIZE = 512 << 20
FILES = 2000
READ = 1 << 20                 # what the messenger asks for at a time
PLAIN_PORT = 2426
MIB = float(1 << 20)
SAVE = "C:\\bench"
RECEIVE_BUFFERS = {"32 KiB": 32768, "system": 0}


def send_blocks(conn, data):
    view = memoryview(data)
    for at in range(0, len(data), 1 << 18):
        conn.sendall(view[at:at + (1 << 18)])


def timed_answer(data, times):
    """Sends data, then waits for the receiver to close: the seconds go to times."""
    def answer(conn):
        start = time.perf_counter()
        send_blocks(conn, data)
        conn.shutdown(socket.SHUT_WR)
        conn.settimeout(300)
        while conn.recv(65536):
            pass
        times.append(time.perf_counter() - start)
    return answer


def plain_copy(sender_host, receiver_host, data, path):
    """Seconds for a plain TCP copy of data from sender_host to a file at path on receiver_host."""
    listener = sender_host.socket(socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((sender_host.ip, PLAIN_PORT))
    listener.listen(1)
    times = []

    def serve():
        conn, _ = listener.accept()
        with conn:
            timed_answer(data, times)(conn)

    thread = threading.Thread(target=serve)
    thread.start()
    sock = receiver_host.socket(socket.SOCK_STREAM)
    sock.connect((sender_host.ip, PLAIN_PORT))
    buffer = bytearray(READ)
    with open(path, "wb") as out:
        while True:
            n = sock.recv_into(buffer)
            if not n:
                break
            out.write(memoryview(buffer)[:n])
    sock.close()
    thread.join()
    listener.close()
    return times[0]


def win32_copy(wine, program, server, offer, data, receive_buffer):
    """Seconds for the minimal Win32 receiver to download the offered item (address, packet number,
    file id, name, attr) from the scripted peer's server into SAVE; what it wrote must equal what
    was sent."""
    address, packet, file_id, name, attr = offer
    times = []
    server.items[(packet, file_id)] = timed_answer(data, times)
    target = SAVE + "\\" + name if attr == 1 else SAVE
    size = str(len(data)) if attr == 1 else "folder"
    run = wine.start(program, address, str(packet), str(file_id), size, target, str(receive_buffer),
                     name="plain_download-%d" % packet)
    code = run.wait(600)
    deadline = time.monotonic() + 30
    while not times and time.monotonic() < deadline:
        time.sleep(0.01)
    if code != 0 or not times:
        sys.exit("the Win32 receiver did not receive the %s (exit %s): %s" % (name, code, run.output()))
    path = os.path.join(wine.unix_path(SAVE), name)
    same = same_file(path, data) if attr == 1 else make_folder_stream(path, name) == data
    if not same:
        sys.exit("the Win32 receiver wrote another %s than was sent" % name)
    return times[0]


def same_file(path, data):
    view = memoryview(data)
    with open(path, "rb") as f:
        at = 0
        while True:
            piece = f.read(1 << 24)
            if not piece:
                return at == len(data)
            if view[at:at + len(piece)] != piece:
                return False
            at += len(piece)


def remove(path):
    shutil.rmtree(path, ignore_errors=True)
    if os.path.exists(path):
        os.remove(path)


def small_tree(root):
    rng = __import__("random").Random(7)
    for i in range(FILES):
        folder = os.path.join(root, "d%02d" % (i % 20))
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "f%04d.bin" % i), "wb") as f:
            f.write(os.urandom(rng.randint(512, 16384)))


def spread(values, digits=1):
    return " ".join("%7.*f" % (digits, v) for v in (statistics.median(values), min(values), max(values)))


def main():
    args = bench_arguments()
    yardstick = bench_program(args, "plain_download.exe")

    big = os.urandom(SIZE)
    scratch = tempfile.mkdtemp(prefix="zq-bench-tree-")
    small_tree(os.path.join(scratch, "small"))
    stream = make_folder_stream(os.path.join(scratch, "small"), "small")
    shutil.rmtree(scratch)
    stream_bytes = len(stream)

    results = {}   # (what, setting) -> rates in MiB/s
    with Network(hosts=2) as net:
        receiver, sender = net.hosts
        with WineHost(receiver, name="receiver") as wine:
            wine.write_settings(userName="bench", userGroupName="bench")
            save = wine.unix_path(SAVE)
            peer = Peer(sender)
            server = FileServer(sender, {})
            packet = 100
            try:
                for setting, options in (("32 KiB", ["--receive-buffer", "32768"]), ("system", [])):
                    os.makedirs(save, exist_ok=True)
                    run = wine.driver("messenger", "--seconds", "900", "--folder", SAVE, *options)
                    run.log.wait_for(lambda e: e.kind == "RESULT" and e["call"] == b"startMessenger", 60, run)
                    for round_ in range(args.rounds):
                        for what, data, attr, name in (("file", big, 1, "big.bin"), ("folder", stream, 2, "small")):
                            packet += 10
                            done = []
                            server.items[(packet, packet + 1)] = timed_answer(data, done)
                            peer.send_raw(offer_datagram(packet, [(packet + 1, name, len(data), attr)]), receiver.ip)
                            # The log is read only once the peer has seen the close: reading it
                            # all the time would take the processor from the download.
                            deadline = time.monotonic() + 600
                            while not done and time.monotonic() < deadline and run.running():
                                time.sleep(0.01)
                            end = b"%s:%d" % (sender.ip.encode(), packet + 1)
                            event = run.log.wait_for(lambda e: e.kind in ("RECEIVE_FINISH", "RECEIVE_ERROR")
                                                     and e["text"] == end, 60, run)
                            if event.kind != "RECEIVE_FINISH" or not done:
                                sys.exit("the messenger did not receive the %s" % what)
                            results.setdefault((what, setting), []).append(len(data) / MIB / done[0])
                            remove(os.path.join(save, name))
                            # The yardsticks right after, so that all three meet the same load.
                            seconds = win32_copy(wine, yardstick, server, (sender.ip, packet, packet + 1, name, attr), data,
                                                 RECEIVE_BUFFERS[setting])
                            remove(os.path.join(save, name))
                            results.setdefault((what, "win32 " + setting), []).append(len(data) / MIB / seconds)
                            seconds = plain_copy(sender, receiver, data, os.path.join(save, "plain.bin"))
                            os.remove(os.path.join(save, "plain.bin"))
                            results.setdefault((what, "plain " + setting), []).append(len(data) / MIB / seconds)
                            print("round %d %-6s %-6s messenger %7.1f MiB/s, Win32 receiver %7.1f MiB/s, "
                                  "plain TCP copy %7.1f MiB/s"
                                  % (round_ + 1, what, setting, results[(what, setting)][-1],
                                     results[(what, "win32 " + setting)][-1], results[(what, "plain " + setting)][-1]))
                    run.finish()
            finally:
                server.close()
                peer.close()

    print("downloading from a scripted peer, %d rounds, MiB/s:   median     min     max" % args.rounds)
    for what, label in (("file", "a %d MiB file" % (SIZE >> 20)), ("folder", "%d small files (%.1f MiB stream)"
                                                                     % (FILES, stream_bytes / MIB))):
        print("  %s" % label)
        for setting in ("system", "32 KiB"):
            rates = results[(what, setting)]
            win32, plain = results[(what, "win32 " + setting)], results[(what, "plain " + setting)]
            print("    messenger, receive buffer %-6s:         %s" % (setting, spread(rates)))
            print("    Win32 receiver under Wine, same buffer:   %s" % spread(win32))
            print("    plain TCP copy (Python), same rounds:     %s" % spread(plain))
            print("    ratio messenger / Win32, per round:       %s" % spread([r / w for r, w in zip(rates, win32)], 3))
            print("    ratio messenger / plain, per round:       %s" % spread([r / p for r, p in zip(rates, plain)], 3))


if __name__ == "__main__":
    main()
