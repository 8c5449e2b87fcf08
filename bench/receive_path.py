"""How the messenger's receive thread keeps up, measured against the real program (ZQ.exe under
Wine, with its windows on a private X display):

- the chat round trip, a peer's text to our receipt, with 0, 1,000 and 5,000 messages already in
  the chat window's history (median and p99, and their ratio to the fresh window);
- entries taken in per second, from a known peer and from new peers (a closed loop with a few
  entries in flight, so that no buffer size enters the figure: each answer frees a slot);
- the start-up to the entry broadcast, beside two Win32 programs started the same way under the
  same Wine in the same run: an empty one that sends one broadcast as soon as it runs, and one that
  first loads what the messenger loads (common controls, rich edit, tray icon, a tree view, the
  registry), which is as fast as Wine lets the messenger start.

Run through bench/receive-path.sh, which finds the driver and the yardsticks of the test build."""

import argparse
import os
import socket
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "net"))

import desktop                                              # noqa: E402
import harness                                              # noqa: E402
from desktop import Desktop, Inspector                      # noqa: E402
from harness import Network, WineHost                       # noqa: E402
from ipmsg_peer import (ANSENTRY, BR_ENTRY, PORT, RECVMSG,  # noqa: E402
                        Peer, build, crowd_addresses, entry_extra)

ZQ = "10.77.0.1"
IN_FLIGHT = 4                  # entries outstanding in the closed loop


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(share * (len(ordered) - 1))))]


def wait_broadcast(sock, payload_start, timeout=60):
    """Seconds until a datagram whose bytes start with payload_start arrives on sock."""
    deadline = time.monotonic() + timeout
    while True:
        left = deadline - time.monotonic()
        if left <= 0:
            raise AssertionError("no broadcast %r within %d s" % (payload_start, timeout))
        sock.settimeout(left)
        data, _ = sock.recvfrom(65535)
        if data.startswith(payload_start):
            return


def timed_start(wine, program, sock, payload_start, name):
    """Seconds from starting the program to its first datagram that starts with payload_start."""
    start = time.perf_counter()
    process = wine.start(program, name=name)
    wait_broadcast(sock, payload_start)
    return time.perf_counter() - start, process


def drain(sock):
    sock.settimeout(0)
    try:
        while True:
            sock.recvfrom(65535)
    except (BlockingIOError, socket.timeout):
        pass


def close_messenger(inspect, process):
    inspect.close(inspect.wait_window(lambda w: "Vantlor" in w.title, what="the hidden frame"))
    process.wait(30)


def measure_start(wine, peer_host, empty, loaded, rounds):
    """Starts of the empty program, the loaded one and ZQ.exe, in turns; the first of each only
    warms up. Seconds of each, by name."""
    listener = peer_host.socket(socket.SOCK_DGRAM)
    listener.bind(("0.0.0.0", PORT))
    inspect = Inspector(wine)
    times = {"empty": [], "loaded": [], "ZQ": []}
    try:
        for round_ in range(rounds + 1):
            for name, program in (("empty", empty), ("loaded", loaded)):
                seconds, process = timed_start(wine, program, listener, name.encode(), "%s-%d" % (name, round_))
                process.wait(30)
                if round_:
                    times[name].append(seconds)
                drain(listener)
            seconds, process = timed_start(wine, desktop.program_path("ZQ.exe"), listener, b"1-1-ZQ:",
                                           "ZQ-start-%d" % round_)
            if round_:
                times["ZQ"].append(seconds)
            time.sleep(1)
            close_messenger(inspect, process)
            drain(listener)
    finally:
        listener.close()
    return times


def round_trip(peer, text):
    start = time.perf_counter()
    packet_no = peer.send_text(ZQ, text)
    peer.expect(lambda p: p.mode == RECVMSG and p.extra.rstrip(b"\0") == str(packet_no).encode(),
                timeout=60, what="receipt")
    seconds = time.perf_counter() - start
    peer.inbox.clear()
    peer.history.clear()
    return seconds


def measure_chat(peer, histories, samples, budget, pause):
    """Round trips at each history size; a size that filling cannot reach in budget seconds is
    reported as not reached. Before each sample the peer waits pause seconds, as a person does
    between two texts, so that the window has drawn the last one."""
    results = []
    shown = 0
    for wanted in histories:
        deadline = time.monotonic() + budget
        while shown < wanted and time.monotonic() < deadline:
            round_trip(peer, "filler %d: the quick brown fox jumps over the lazy dog" % shown)
            shown += 1
        if shown < wanted:
            results.append((wanted, None, shown))
            continue
        times = []
        for i in range(samples):
            time.sleep(pause)
            times.append(round_trip(peer, "sample %d at %d" % (i, wanted)))
            shown += 1
        results.append((wanted, times, shown))
    return results


def closed_loop(send_entry, answers, count):
    """Entries per second when IN_FLIGHT entries are outstanding at any time."""
    sent = received = 0
    answers.settimeout(10)
    start = time.perf_counter()
    while sent < min(IN_FLIGHT, count):
        send_entry(sent)
        sent += 1
    while received < count:
        data, _ = answers.recvfrom(65535)
        if b":%d:" % ANSENTRY not in data[:80]:
            continue
        received += 1
        if sent < count:
            send_entry(sent)
            sent += 1
    return count / (time.perf_counter() - start)


def measure_entries(net, known_count, new_count):
    zq_host, _, crowd = net.hosts
    answers = crowd.socket(socket.SOCK_DGRAM)
    answers.bind(("0.0.0.0", PORT))
    addresses = crowd_addresses(new_count + 1)
    crowd.add_addresses(addresses)
    # Our answers to hundreds of hosts must not wait on (or lose) address resolution.
    zq_host.know_neighbours(addresses, crowd.mac())
    senders = []
    for address in addresses:
        sock = crowd.socket(socket.SOCK_DGRAM)
        sock.bind((address, 0))
        senders.append(sock)
    entry = lambda n: build(n + 1, BR_ENTRY, entry_extra("Bench%d" % n, "Crowd"))
    # The known peer: the first address, taken in once before the loop, then announcing itself
    # again unchanged (a peer that changes its nickname has its item moved, which costs more).
    known = senders[0]
    known.sendto(entry(0), (ZQ, PORT))
    time.sleep(1)
    drain(answers)
    known_rate = closed_loop(lambda n: known.sendto(entry(0), (ZQ, PORT)), answers, known_count)
    drain(answers)
    new_rate = closed_loop(lambda n: senders[1 + n].sendto(entry(n + 1), (ZQ, PORT)), answers, new_count)
    answers.close()
    return known_rate, new_rate


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--template", required=True)
    parser.add_argument("--empty", required=True)
    parser.add_argument("--loaded", required=True)
    parser.add_argument("--histories", default="0,1000,5000")
    parser.add_argument("--samples", type=int, default=50)
    parser.add_argument("--fill-budget", type=float, default=120, help="seconds to fill each history size")
    parser.add_argument("--pause", type=float, default=0.05, help="seconds between two measured texts")
    parser.add_argument("--starts", type=int, default=3)
    parser.add_argument("--known", type=int, default=3000)
    parser.add_argument("--new", type=int, default=400)
    parser.add_argument("--program", help="the messenger to start (default: ZQ.exe of the driver's build)")
    parser.add_argument("--only-start", action="store_true",
                        help="measure only the start-up to the entry broadcast")
    args = parser.parse_args()
    harness.config.driver = os.path.abspath(args.driver)
    if args.program:
        harness.config.zq = os.path.abspath(args.program)  # where ZQ.ini goes follows the program
    harness.config.template = os.path.abspath(args.template)
    harness.config.logs = tempfile.mkdtemp(prefix="zq-bench-logs-")
    histories = [int(h) for h in args.histories.split(",")]

    with Desktop(), Network(hosts=3) as net, WineHost(net.hosts[0], name="zq") as wine:
        wine.write_settings(userName="bench", userGroupName="bench")
        starts = measure_start(wine, net.hosts[1], os.path.abspath(args.empty), os.path.abspath(args.loaded),
                               args.starts)
        if args.only_start:
            print_start(starts, args.starts)
            return

        peer = Peer(net.hosts[1], user="chatpeer", hostname="chatbox")
        zq = wine.start(desktop.program_path("ZQ.exe"), name="ZQ")
        peer.expect(lambda p: p.command == BR_ENTRY and p.sender[0] == ZQ, timeout=60, what="entry")
        peer.send(ZQ, ANSENTRY, entry_extra("ChatPeer", "Bench"))
        time.sleep(1)
        chat = measure_chat(peer, histories, args.samples, args.fill_budget, args.pause)
        peer.close()
        known_rate, new_rate = measure_entries(net, args.known, args.new)
        zq.stop()

    print("chat round trip, peer's text to our receipt (%d samples each, %.0f ms apart):"
          % (args.samples, args.pause * 1000))
    print("  history      median ms    p99 ms    ratio to fresh (median, p99)")
    fresh = None
    for wanted, times, shown in chat:
        if times is None:
            print("  %7d      not reached: %d messages shown in %.0f s of filling" % (wanted, shown, args.fill_budget))
            continue
        median, p99 = statistics.median(times) * 1000, percentile(times, 0.99) * 1000
        if fresh is None:
            fresh = (median, p99)
        print("  %7d     %9.2f %9.2f    %6.2f %6.2f" % (wanted, median, p99, median / fresh[0], p99 / fresh[1]))
    print("entries taken in per second (%d in flight): known peer %.0f/s (%d entries), new peers %.0f/s (%d peers)"
          % (IN_FLIGHT, known_rate, args.known, new_rate, args.new))
    print_start(starts, args.starts)


def print_start(starts, count):
    zq, empty, loaded = (statistics.median(starts[name]) for name in ("ZQ", "empty", "loaded"))
    print("start to first broadcast, median of %d warm starts: ZQ.exe %.0f ms, empty Win32 program %.0f ms, "
          "Win32 program loading what ZQ loads %.0f ms" % (count, zq * 1000, empty * 1000, loaded * 1000))
    print("  ratio ZQ.exe / loading Win32 program %.2f, ZQ.exe / empty Win32 program %.2f" % (zq / loaded, zq / empty))


if __name__ == "__main__":
    main()
