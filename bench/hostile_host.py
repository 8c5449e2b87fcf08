"""What one hostile host on the network can make the messenger spend, measured against the real
program (ZQ.exe under Wine, its windows on a private X display): the thread count, resident set
and address space of its Wine process (read from /proc on the Linux side) right after start and
after each flood, each flood against a messenger of its own:

- chat texts from 5,000 source addresses, one each (a new address opens a chat window);
- 2,000 TCP connections from one host, each asking for a file that was never offered, kept open
  and sent the same junk again every few seconds;
- 20,000 entries from 20,000 source addresses, each with a work group 400 levels deep ('-'
  separated, every path its own from the second level on).

The datagrams of the floods leave a raw socket on the hostile host (10.77.0.3) with chosen source
addresses 10.77.1.1, 10.77.1.2, ...; the messenger's host knows them all as permanent neighbours
behind that host, so its answers are neither lost to address resolution nor fill the kernel's
shared neighbour table, and a packet socket there counts them. A flood keeps at most IN_FLIGHT
datagrams unanswered, so that it measures what the program takes in rather than what its socket
buffer drops; it stops at its time budget, when the process passes the memory guard (this machine
is shared) or ends, and says so. An honest peer (10.77.0.2) talks with the messenger before each
flood, so that its chat window is open as a peer the user talks with; after the flood it sends
another text and the figure says whether it was answered.

Then floods that make the messenger send, each against a messenger of its own, with the honest
peer's chat round trip (its text to our receipt) before, during and after the flood:

- 300 share-list requests and 300 entries from forged source addresses that no host answers
  (each answer waits about 3 s in the kernel for an address lookup that fails);
- 6,000 texts of 1,900 bytes from one reachable address, 40 of them in flight at a time.

Last, the messenger's engine (the test driver's offer scenario) offers a 512 MiB file to the
honest peer, which downloads it without and then during the 2,000 junk connections; the figure is
the ratio of the median speeds.

Run through bench/hostile-host.sh, which finds the driver and the Wine prefix."""

import argparse
import os
import re
import resource
import selectors
import signal
import socket
import statistics
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "net"))

import desktop                                              # noqa: E402
import harness                                              # noqa: E402
from bench_setup import write_random_file                   # noqa: E402
from desktop import Desktop                                 # noqa: E402
from harness import Network, WineHost                       # noqa: E402
from ipmsg_peer import (ANSENTRY, BR_ENTRY, FILEATTACHOPT,  # noqa: E402
                        PORT, RECVMSG, SENDCHECKOPT, SENDMSG, Peer, build,
                        connect_tcp, crowd_addresses, entry_extra, file_request, forged_datagram,
                        gbk)

ZQ = "10.77.0.1"
MIB = float(1 << 20)
FILE_SIZE = 512 << 20
ETH_P_IP = 0x0800
SO_RCVBUFFORCE = 33           # Linux; the socket module does not name it
SETTLE_QUIET = 3               # seconds without change in threads and memory: the flood is taken in
SETTLE_BUDGET = 30             # ... or at most this long after the flood
IN_FLIGHT = 100                # datagrams of a flood sent and not answered yet, at most ...
STALL = 0.5                    # ... until no answer has come for this long
JUNK_REPEAT = 5                # seconds between two junk requests on one connection
JUNK_IN_FLIGHT = 64            # connects outstanding at a time
DOWNLOAD_TIMEOUT = 30          # seconds an honest download may wait for its connection or its next bytes


# ---------------------------------------------------------------------------------------------
# The Wine process as Linux sees it

def find_pid(wine, program, timeout=60):
    """The Linux pid of the Windows program running in this host's prefix."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        pid = wine.process_of(program)
        if pid is not None:
            return pid
        time.sleep(0.1)
    raise RuntimeError("no process %s in %s" % (program, wine.prefix))


def alive(pid):
    """True while the process runs (one that has ended and waits for its parent counts as ended)."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except (OSError, IndexError):
        return False


def figures(pid):
    """(threads, resident MiB, virtual MiB), or None once the process has ended."""
    try:
        held = harness.ProcessUsage(pid)
    except (OSError, KeyError, ValueError, IndexError):
        return None
    return held.threads, held.resident / 1048576.0, held.address_space / 1048576.0


def settled(pid, guard_mib=None, budget=SETTLE_BUDGET):
    """The figures once threads and memory have not changed for SETTLE_QUIET seconds (or at the
    end of the budget, or once the resident set passes guard_mib): what the process keeps after
    taking in a flood."""
    deadline = time.monotonic() + budget
    last, since = figures(pid), time.monotonic()
    while last is not None and time.monotonic() < deadline and not (guard_mib and last[1] > guard_mib):
        time.sleep(0.5)
        now = figures(pid)
        if now is None or now[0] != last[0] or abs(now[1] - last[1]) >= 1:
            last, since = now, time.monotonic()
        elif time.monotonic() - since >= SETTLE_QUIET:
            break
    return last


# ---------------------------------------------------------------------------------------------
# The hostile host

class Crowd:
    """Datagrams from any source address, sent from one host; the messenger's answers to those
    addresses are counted by command as they reach that host's interface."""

    def __init__(self, host):
        with harness.inside(host.namespace):
            self.raw = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_RAW)
            self.sniffer = socket.socket(socket.AF_PACKET, socket.SOCK_DGRAM, socket.htons(ETH_P_IP))
            self.sniffer.bind(("eth0", ETH_P_IP))
        self.sniffer.setsockopt(socket.SOL_SOCKET, SO_RCVBUFFORCE, 32 << 20)
        self.sniffer.settimeout(0.2)
        self.answers = {}           # command mode -> number of answers
        self.lock = threading.Lock()
        self.running = True
        self.thread = threading.Thread(target=self._count, daemon=True)
        self.thread.start()

    def send(self, source, payload):
        self.raw.sendto(forged_datagram(source, ZQ, payload), (ZQ, 0))

    def answered(self, mode):
        with self.lock:
            return self.answers.get(mode, 0)

    def _count(self):
        zq = socket.inet_aton(ZQ)
        crowd_net, test_net = socket.inet_aton(ZQ)[:2], socket.inet_aton(ZQ)[:3]
        while self.running:
            try:
                packet = self.sniffer.recv(65535)
            except socket.timeout:
                continue
            except OSError:
                return
            header = (packet[0] & 0x0F) * 4
            if len(packet) < header + 8 or packet[9] != socket.IPPROTO_UDP or packet[12:16] != zq:
                continue
            if packet[16:18] != crowd_net or packet[16:19] == test_net:
                continue
            fields = packet[header + 8:].split(b":", 5)
            try:
                mode = int(fields[4]) & 0xFF
            except (IndexError, ValueError):
                continue
            with self.lock:
                self.answers[mode] = self.answers.get(mode, 0) + 1

    def close(self):
        self.running = False
        self.thread.join(5)
        self.raw.close()
        self.sniffer.close()


def know_neighbours(host, addresses, mac):
    """Permanent neighbour entries for addresses behind mac, in one batch of ip commands."""
    with tempfile.NamedTemporaryFile("w", suffix=".ip") as batch:
        batch.writelines("neigh replace %s lladdr %s dev eth0 nud permanent\n" % (a, mac) for a in addresses)
        batch.flush()
        harness.ip("-n", host.namespace, "-batch", batch.name)


class JunkConnections:
    """TCP connections from one host to the messenger's port, each sending a request for a key
    that was never offered, again every JUNK_REPEAT seconds while it stays open."""

    def __init__(self, host, count, budget):
        self.host = host
        self.open = []
        self.refused = 0
        self.running = True
        self._connect(count, budget)
        self.thread = threading.Thread(target=self._repeat, daemon=True)
        self.thread.start()

    @staticmethod
    def request(number):
        return gbk(file_request(0xBAD00000 + number, 0xBAD, user="junk", host="junkbox"))

    def _connect(self, count, budget):
        selector = selectors.DefaultSelector()
        deadline = time.monotonic() + budget
        started = pending = 0
        while (started < count or pending) and time.monotonic() < deadline:
            while started < count and pending < JUNK_IN_FLIGHT:
                with harness.inside(self.host.namespace):
                    sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
                sock.setblocking(False)
                sock.connect_ex((ZQ, PORT))
                selector.register(sock, selectors.EVENT_WRITE, started)
                started += 1
                pending += 1
            for key, _ in selector.select(timeout=0.5):
                selector.unregister(key.fileobj)
                pending -= 1
                sock = key.fileobj
                if sock.getsockopt(socket.SOL_SOCKET, socket.SO_ERROR) == 0:
                    try:
                        sock.send(self.request(key.data))
                        self.open.append((key.data, sock))
                        continue
                    except OSError:
                        pass
                self.refused += 1
                sock.close()
        for key in list(selector.get_map().values()):
            self.refused += 1
            key.fileobj.close()
        selector.close()

    def _repeat(self):
        while self.running:
            for number, sock in list(self.open):
                if not self.running:
                    return
                try:
                    sock.send(self.request(number))
                except OSError:
                    pass
            for _ in range(JUNK_REPEAT * 10):
                if not self.running:
                    return
                time.sleep(0.1)

    def still_open(self):
        """Connections that the messenger has neither closed nor reset."""
        count = 0
        for _, sock in self.open:
            try:
                if sock.recv(1, socket.MSG_PEEK | socket.MSG_DONTWAIT) == b"":
                    continue
            except BlockingIOError:
                pass
            except OSError:
                continue
            count += 1
        return count

    def close(self):
        self.running = False
        self.thread.join(10)
        for _, sock in self.open:
            sock.close()
        self.open = []


# ---------------------------------------------------------------------------------------------
# Floods against ZQ.exe

class Messenger:
    """ZQ.exe on the messenger's host, known to the honest peer, with its Linux pid."""

    def __init__(self, wine, program, peer):
        self.wine = wine
        self.peer = peer
        peer.inbox.clear()
        self.process = wine.start(program, name="ZQ-%d" % (len(wine.processes) + 1))
        peer.expect(lambda p: p.command is not None and p.mode == BR_ENTRY and p.sender[0] == ZQ,
                    timeout=90, what="the messenger's entry")
        self.pid = find_pid(wine, program)
        peer.send(ZQ, ANSENTRY, entry_extra("Honest", "Bench"))
        # Once it answers an entry, its TCP port listens too.
        self.peer_answered(BR_ENTRY)
        # The honest peer's chat window is open before any flood.
        self.peer_answered(SENDMSG)
        self.start = settled(self.pid)

    def peer_answered(self, command, timeout=10):
        """True when the messenger answers the honest peer's entry or text in time."""
        self.peer.inbox.clear()
        if command == BR_ENTRY:
            self.peer.send(ZQ, BR_ENTRY, entry_extra("Honest", "Bench"))
            wanted = lambda p: p.mode == ANSENTRY
        else:
            packet_no = self.peer.send_text(ZQ, "still there?")
            wanted = lambda p: p.mode == RECVMSG and p.extra.rstrip(b"\0") == str(packet_no).encode()
        try:
            self.peer.expect(lambda p: p.command is not None and p.sender[0] == ZQ and wanted(p),
                             timeout=timeout, what="an answer to the honest peer")
            return True
        except AssertionError:
            return False

    def over_guard(self, guard_mib):
        now = figures(self.pid)
        return now is None or now[1] > guard_mib

    def stop(self):
        # Wine starts the program through start.exe, which is what the harness holds.
        if alive(self.pid):
            os.kill(self.pid, signal.SIGKILL)
        self.process.stop()
        # The next messenger needs the port, which the wineserver frees only once it has taken
        # down every thread of this one (thousands after the junk connections).
        deadline = time.monotonic() + 90
        while not port_free(self.wine.host):
            if time.monotonic() > deadline:
                raise RuntimeError("port %d stays taken after the messenger was stopped" % PORT)
            time.sleep(0.2)


def port_free(host):
    """True when UDP and TCP port 2425 can be bound on the host."""
    for kind in (socket.SOCK_DGRAM, socket.SOCK_STREAM):
        with harness.inside(host.namespace):
            probe = socket.socket(socket.AF_INET, kind)
        try:
            if kind == socket.SOCK_STREAM:
                # Connections closed a moment ago do not count; a listener still does.
                probe.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            probe.bind(("0.0.0.0", PORT))
        except OSError:
            return False
        finally:
            probe.close()
    return True


def honest_answer(zq):
    if not alive(zq.pid):
        return "process ended"
    return "yes" if zq.peer_answered(SENDMSG) else "no"


def flood(zq, crowd, datagrams, count, answer, rate, budget, guard_mib):
    """Sends count datagrams, (source address, bytes) each, at most rate a second and with at most
    IN_FLIGHT of them not answered (by the command answer), so that the program's socket buffer
    drops none while it keeps up. Datagrams still unanswered after STALL seconds without any
    answer count as not answered, whether the program refuses them or is busy. Stops after budget
    seconds, at the memory guard or when the process ends; then waits for the answers to stop."""
    sent = given_up = 0
    stop = None
    started = time.monotonic()
    answers, last_change = crowd.answered(answer), started
    for source, payload in datagrams:
        if sent == count:
            break
        ahead = started + sent / rate - time.monotonic()
        if ahead > 0:
            time.sleep(ahead)
        while time.monotonic() - started < budget:
            now, seen = time.monotonic(), crowd.answered(answer)
            if seen != answers:
                answers, last_change = seen, now
            if sent - answers - given_up < IN_FLIGHT:
                break
            if now - last_change >= STALL:
                given_up, last_change = sent - answers, now
                break
            time.sleep(0.005)
        if time.monotonic() - started >= budget:
            stop = "time budget of %.0f s" % budget
            break
        if sent % 100 == 0 and zq.over_guard(guard_mib):
            stop = "memory guard" if alive(zq.pid) else "process ended"
            break
        crowd.send(source, payload)
        sent += 1
    seconds = time.monotonic() - started
    # Answers lag behind while the program works through what is queued.
    deadline = time.monotonic() + SETTLE_BUDGET
    answers, since = crowd.answered(answer), time.monotonic()
    while time.monotonic() < deadline and time.monotonic() - since < SETTLE_QUIET and alive(zq.pid):
        time.sleep(0.5)
        seen = crowd.answered(answer)
        if seen != answers:
            answers, since = seen, time.monotonic()
    coming = ""
    if alive(zq.pid) and time.monotonic() - since < SETTLE_QUIET:
        coming = " (still answering when the wait ended)"
    after = settled(zq.pid, guard_mib)
    if stop is None and after is not None and after[1] > guard_mib:
        stop = "memory guard while taking them in"
    return dict(done="%d sent in %.1f s" % (sent, seconds), stop=stop, after=after,
                answered="%d answered%s" % (answers, coming))


def chat_datagrams(addresses):
    for i, address in enumerate(addresses):
        text = gbk("你好，第 %d 条" % i) + b"\0"
        yield address, build(i + 1, SENDMSG | SENDCHECKOPT, text, user="c%d" % i, host="chat%d" % i)


def entry_group(number, levels):
    """A work group levels deep; the second level makes every path its own."""
    return "bench-%d-" % number + "-".join(chr(ord("a") + i % 26) for i in range(levels - 2))


def entry_datagrams(addresses, levels):
    for i, address in enumerate(addresses):
        extra = entry_extra("Crowd%d" % i, entry_group(i, levels))
        yield address, build(i + 1, BR_ENTRY, extra, user="e%d" % i, host="entry%d" % i)


def junk_flood(zq, host, count):
    started = time.monotonic()
    junk = JunkConnections(host, count, budget=30)
    try:
        seconds = time.monotonic() - started
        after = settled(zq.pid)
        return dict(done="%d connected in %.1f s, %d not" % (len(junk.open), seconds, junk.refused),
                    stop=None, after=after, honest=honest_answer(zq),
                    answered="%d still open as the hostile host sees them" % junk.still_open())
    finally:
        junk.close()


# ---------------------------------------------------------------------------------------------
# Floods that make the messenger send, and the honest peer's round trip meanwhile

ROUND_TRIP_SAMPLES = 5         # honest texts timed before and after a flood
ROUND_TRIP_TIMEOUT = 30        # seconds a timed text may wait for its receipt
LONG_TEXT = 1900               # bytes of each text of the long-text flood
LONG_IN_FLIGHT = 40            # its texts sent and not acknowledged, at most ...
LONG_STALL = 0.5               # ... until no receipt has come for this long


def forged_addresses(count):
    """Source addresses that nobody answers: outside every crowd address the messenger's host
    knows as a neighbour (10.77.1.1 ... 10.77.100.250), still on the link."""
    return ["10.77.%d.%d" % (200 + i // 250, 1 + i % 250) for i in range(count)]


def round_trip(peer):
    """Seconds from the honest peer's text to its receipt, or None without one in time."""
    peer.inbox.clear()
    started = time.monotonic()
    packet_no = peer.send_text(ZQ, "round trip")
    try:
        peer.expect(lambda p: p.command is not None and p.sender[0] == ZQ and p.mode == RECVMSG
                    and p.extra.rstrip(b"\0") == str(packet_no).encode(),
                    timeout=ROUND_TRIP_TIMEOUT, what="the receipt")
    except AssertionError:
        return None
    return time.monotonic() - started


def round_trips(peer, count=ROUND_TRIP_SAMPLES):
    return [round_trip(peer) for _ in range(count)]


def forged_flood(zq, crowd, payloads):
    """The datagrams at once from forged sources, then the honest round trips while their
    answers wait for the lookups, and once the lookups have failed."""
    for source, payload in payloads:
        crowd.send(source, payload)
    during = round_trips(zq.peer)
    time.sleep(4)
    return during, round_trips(zq.peer), "%d sent at once" % len(payloads)


def long_text_flood(zq, host, count, budget):
    """count texts of LONG_TEXT bytes from one reachable address, at most LONG_IN_FLIGHT
    unacknowledged (given up after LONG_STALL without a receipt), with honest round trips
    timed all the while; then the round trips after it."""
    with harness.inside(host.namespace):
        sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.bind((host.ip, PORT))
    sock.settimeout(0.005)
    state = dict(sent=0, acknowledged=0, stop=False)

    def send_all():
        given_up, last_change = 0, time.monotonic()
        started = time.monotonic()
        text = ("长" * (LONG_TEXT // 2)).encode("gbk")
        while state["sent"] < count and time.monotonic() - started < budget and not state["stop"]:
            if state["sent"] - state["acknowledged"] - given_up < LONG_IN_FLIGHT:
                state["sent"] += 1
                sock.sendto(build(state["sent"], SENDMSG | SENDCHECKOPT, text + b"\0", user="long",
                                  host="longbox"), (ZQ, PORT))
                continue
            try:
                data = sock.recv(65535)
                if b":%d:" % RECVMSG in data:
                    state["acknowledged"] += 1
                    last_change = time.monotonic()
            except socket.timeout:
                if time.monotonic() - last_change >= LONG_STALL:
                    given_up, last_change = state["sent"] - state["acknowledged"], time.monotonic()
        state["seconds"] = time.monotonic() - started

    sender = threading.Thread(target=send_all, daemon=True)
    sender.start()
    during = []
    while sender.is_alive():
        during.append(round_trip(zq.peer))
        time.sleep(0.2)
    sender.join()
    sock.close()
    done = "%d sent in %.1f s, %d acknowledged" % (state["sent"], state["seconds"], state["acknowledged"])
    return during, round_trips(zq.peer), done


def show_round_trips(name, before, during, after, done):
    def line(label, samples):
        got = [s * 1000 for s in samples if s is not None]
        missing = len(samples) - len(got)
        if not got:
            return "    %-8s no receipt within %d s (%d texts)" % (label, ROUND_TRIP_TIMEOUT, len(samples))
        return "    %-8s median %8.1f ms, max %8.1f ms over %d texts%s" % (
            label, statistics.median(got), max(got), len(samples),
            ", %d without receipt within %d s" % (missing, ROUND_TRIP_TIMEOUT) if missing else "")
    print("  %s (%s)" % (name, done))
    print(line("before", before))
    print(line("during", during))
    print(line("after", after))


# ---------------------------------------------------------------------------------------------
# A download from the honest peer during the junk connections

def download(host, request):
    """Seconds from connect to close, and the number of bytes received."""
    buffer = bytearray(1 << 18)
    view = memoryview(buffer)
    start = time.perf_counter()
    # A download that the junk keeps from being served fails after DOWNLOAD_TIMEOUT.
    sock = connect_tcp(host, ZQ, timeout=DOWNLOAD_TIMEOUT)
    total = 0
    try:
        sock.sendall(request)
        while True:
            n = sock.recv_into(view)
            if not n:
                break
            total += n
    finally:
        sock.close()
    return time.perf_counter() - start, total


def measure_download(net, wine, peer, junk_count, rounds):
    honest, hostile = net.hosts[1], net.hosts[2]
    windows_path = "C:\\bench\\big.bin"
    write_random_file(wine.unix_path(windows_path), FILE_SIZE)
    peer.inbox.clear()
    run = wine.driver("offer", "--seconds", "600", honest.ip, "bench", windows_path)
    try:
        offer = peer.expect(lambda p: p.command is not None and p.command & 0xFF == SENDMSG
                            and p.command & FILEATTACHOPT, 90, what="the offer")
        match = re.search(rb"^1:(\d+):.*?\0(\d+):big\.bin:", offer.raw, re.S)
        if match is None:
            raise RuntimeError("unexpected offer: %r" % offer.raw[:200])
        request = gbk(file_request(int(match.group(1)), int(match.group(2))))
        speeds = {False: [], True: []}
        junk = None
        try:
            for during in (False, True):
                if during:
                    junk = JunkConnections(hostile, junk_count, budget=30)
                for _ in range(rounds):
                    try:
                        seconds, total = download(honest, request)
                    except OSError:
                        seconds, total = None, 0
                    speeds[during].append(FILE_SIZE / MIB / seconds if total == FILE_SIZE else None)
            open_during = junk.still_open()
        finally:
            if junk:
                junk.close()
        return speeds, open_during
    finally:
        run.finish()


# ---------------------------------------------------------------------------------------------

def show(name, result, start):
    def line(label, numbers):
        if numbers is None:
            return "    %-12s process ended" % label
        return "    %-12s %7d %12.1f %12.1f" % (label, numbers[0], numbers[1], numbers[2])
    print("  %s" % name)
    print(line("after start", start))
    print(line("after flood", result["after"]))
    stop = ", stopped early: %s" % result["stop"] if result["stop"] else ""
    print("    %s%s; %s; honest peer's text answered: %s"
          % (result["done"], stop, result["answered"], result["honest"]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--template", required=True)
    parser.add_argument("--program", help="the messenger to flood (default: ZQ.exe of the driver's build)")
    parser.add_argument("--chats", type=int, default=5000)
    parser.add_argument("--chat-rate", type=float, default=250, help="chat texts a second at most")
    parser.add_argument("--junk", type=int, default=2000)
    parser.add_argument("--entries", type=int, default=20000)
    parser.add_argument("--levels", type=int, default=400)
    parser.add_argument("--entry-rate", type=float, default=2000, help="entries a second at most")
    parser.add_argument("--budget", type=float, default=60, help="seconds of sending for each datagram flood")
    parser.add_argument("--rounds", type=int, default=3, help="downloads without and with the junk each")
    parser.add_argument("--memory-guard", type=float, default=2048,
                        help="MiB of resident set at which a flood stops (this machine is shared)")
    parser.add_argument("--forged", type=int, default=300, help="datagrams of each forged-source flood")
    parser.add_argument("--long-texts", type=int, default=6000)
    parser.add_argument("--skip", default="",
                        help="comma-separated parts to leave out: chats,junk,entries,forged,long,download")
    args = parser.parse_args()
    # One descriptor for each junk connection.
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    if soft != resource.RLIM_INFINITY and soft < args.junk + 256:
        resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, args.junk + 256) if hard != resource.RLIM_INFINITY
                                                    else args.junk + 256, hard))
    harness.config.driver = os.path.abspath(args.driver)
    harness.config.template = os.path.abspath(args.template)
    harness.config.logs = tempfile.mkdtemp(prefix="zq-bench-logs-")
    if args.program:
        harness.config.zq = os.path.abspath(args.program)  # where ZQ.ini goes follows the program
    program = desktop.program_path("ZQ.exe")
    skip = set(filter(None, args.skip.split(",")))
    addresses = crowd_addresses(args.chats + args.entries)
    chat_addresses, entry_addresses = addresses[:args.chats], addresses[args.chats:]
    results = []

    began = time.monotonic()
    with Desktop(), Network(hosts=3) as net, WineHost(net.hosts[0], name="zq") as wine:
        zq_host, honest, hostile = net.hosts
        know_neighbours(zq_host, addresses, hostile.mac())
        wine.write_settings(userName="bench", userGroupName="bench")
        peer = Peer(honest, user="honest", hostname="honestbox")
        floods = [
            ("chats", "chat texts from %d addresses" % args.chats,
             lambda zq, crowd: flood(zq, crowd, chat_datagrams(chat_addresses), args.chats, RECVMSG,
                                     args.chat_rate, args.budget, args.memory_guard)),
            ("junk", "%d junk connections from one host" % args.junk,
             lambda zq, crowd: junk_flood(zq, hostile, args.junk)),
            ("entries", "%d entries with %d-level groups from as many addresses" % (args.entries, args.levels),
             lambda zq, crowd: flood(zq, crowd, entry_datagrams(entry_addresses, args.levels), args.entries,
                                     ANSENTRY, args.entry_rate, args.budget, args.memory_guard)),
        ]
        for part, name, run_flood in floods:
            if part in skip:
                continue
            zq = Messenger(wine, program, peer)
            crowd = Crowd(hostile)
            try:
                result = run_flood(zq, crowd)
                if "honest" not in result:
                    result["honest"] = honest_answer(zq)
                results.append((name, result, zq.start))
            finally:
                crowd.close()
                zq.stop()
        forged = forged_addresses(args.forged)
        share_request = b"ZQMSG=ZQMSG&COMMAND=GET_SHARE_FLODER_LIST"
        sending = [
            ("forged", "%d share-list requests from forged sources" % args.forged,
             lambda zq, crowd: forged_flood(zq, crowd, [(a, share_request) for a in forged])),
            ("forged", "%d entries from forged sources" % args.forged,
             lambda zq, crowd: forged_flood(zq, crowd, [
                 (a, build(i + 1, BR_ENTRY, entry_extra("Forged%d" % i, "Forged"), user="f%d" % i, host="forged"))
                 for i, a in enumerate(forged)])),
            ("long", "%d texts of %d bytes from one address, %d in flight" % (args.long_texts, LONG_TEXT,
                                                                              LONG_IN_FLIGHT),
             lambda zq, crowd: long_text_flood(zq, hostile, args.long_texts, args.budget)),
        ]
        round_trip_results = []
        for part, name, run_flood in sending:
            if part in skip:
                continue
            zq = Messenger(wine, program, peer)
            crowd = Crowd(hostile)
            try:
                before = round_trips(peer)
                during, after, done = run_flood(zq, crowd)
                round_trip_results.append((name, before, during, after, done))
            finally:
                crowd.close()
                zq.stop()
        download_result = None
        if "download" not in skip:
            download_result = measure_download(net, wine, peer, args.junk, args.rounds)
        peer.close()

    print("what one hostile host makes %s spend, a fresh messenger for each flood:"
          % os.path.relpath(program, harness.REPO))
    print("                  threads  resident MiB  virtual MiB")
    for name, result, start in results:
        show(name, result, start)
    if round_trip_results:
        print("the honest peer's chat round trip (its text to our receipt) before, during and after floods"
              " that make the messenger send:")
        for result in round_trip_results:
            show_round_trips(*result)
    if download_result:
        speeds, open_during = download_result
        print("a %d MiB download by an honest peer, %d rounds each (the engine's offer, in the netdriver):"
              % (FILE_SIZE >> 20, args.rounds))
        medians = {}
        for during, label in ((False, "alone"), (True, "during %d junk connections" % args.junk)):
            done = [v for v in speeds[during] if v is not None]
            medians[during] = statistics.median(done) if done else None
            print("    %-34s median %s MiB/s, %d of %d failed" % (
                label, "%.1f" % medians[during] if done else "-", len(speeds[during]) - len(done), args.rounds))
        if medians[False] and medians[True]:
            print("    ratio during / alone %.2f (%d junk connections still open at the end)"
                  % (medians[True] / medians[False], open_during))
    print("(whole run %.0f s)" % (time.monotonic() - began))


if __name__ == "__main__":
    main()
