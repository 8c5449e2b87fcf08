"""A scripted IPMSG peer: the foreign client that the messenger meets on the wire.

Datagrams are text in code page 936 (GBK): "version:packetNo:user:host:command:extra", where extra
may hold further ':' and NUL bytes. The peer keeps every datagram it receives in order, so a test can
wait for one kind while others go by, and ask afterwards what came in between.
"""

import socket
import struct
import time

PORT = 2425

BR_ENTRY = 0x01
BR_EXIT = 0x02
ANSENTRY = 0x03
SENDMSG = 0x20
RECVMSG = 0x21
GETFILEDATA = 0x60
GETDIRFILES = 0x62
SENDCHECKOPT = 0x100
SECRETOPT = 0x200
MULTICASTOPT = 0x800
READCHECKOPT = 0x100000
FILEATTACHOPT = 0x200000


def gbk(text):
    return text if isinstance(text, bytes) else text.encode("gbk")


def build(packet_no, command, extra=b"", user="peer", host="peerbox", version="1"):
    """The bytes of one datagram; extra (text or bytes) goes on unchanged, NULs included."""
    head = "%s:%s:%s:%s:%d:" % (version, packet_no, user, host, command)
    return gbk(head) + gbk(extra)


def entry_extra(nickname, group):
    """Extra of an entry or its answer as IPMSG clients send it: nickname, NUL, group, NUL."""
    return gbk(nickname) + b"\0" + gbk(group) + b"\0"


def crowd_addresses(count):
    """Addresses for many scripted hosts behind one test host: 10.77.1.1 ... 10.77.1.250,
    10.77.2.1 ..., outside the test network's own 10.77.0.0/24."""
    return ["10.77.%d.%d" % (1 + i // 250, 1 + i % 250) for i in range(count)]


def _checksum(data):
    total = sum(struct.unpack("!%dH" % (len(data) // 2), data[:len(data) // 2 * 2]))
    if len(data) % 2:
        total += data[-1] << 8
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return ~total & 0xFFFF


def forged_datagram(source, destination, payload):
    """An IPv4 packet carrying one UDP datagram from source:2425 to destination:2425, for a raw
    socket (IPPROTO_RAW) to send with any source address."""
    length = 8 + len(payload)
    src, dst = socket.inet_aton(source), socket.inet_aton(destination)
    pseudo = src + dst + struct.pack("!BBH", 0, socket.IPPROTO_UDP, length)
    udp = struct.pack("!HHHH", PORT, PORT, length, 0) + payload
    udp = udp[:6] + struct.pack("!H", _checksum(pseudo + udp) or 0xFFFF) + udp[8:]
    header = struct.pack("!BBHHHBBH4s4s", 0x45, 0, 20 + length, 0, 0x4000, 64, socket.IPPROTO_UDP, 0, src, dst)
    return header + udp


class Packet:
    """One received datagram split into its fields; .raw keeps the bytes as they came."""

    def __init__(self, raw, sender):
        self.raw = raw
        self.sender = sender                    # (ip, port)
        fields = raw.split(b":", 5)
        fields += [b""] * (6 - len(fields))
        self.version, self.packet_no, self.user, self.host = (f.decode("gbk", "replace") for f in fields[:4])
        try:
            self.command = int(fields[4])
        except ValueError:
            self.command = None
        self.extra = fields[5]

    @property
    def mode(self):
        return None if self.command is None else self.command & 0xFF

    def extra_fields(self):
        """The NUL-separated pieces of extra, trailing empty ones dropped."""
        pieces = self.extra.split(b"\0")
        while pieces and not pieces[-1]:
            pieces.pop()
        return pieces

    def __repr__(self):
        return "Packet(from %s:%d %r)" % (self.sender[0], self.sender[1], self.raw[:200])


class Peer:
    """A peer on one test host, bound to UDP port 2425 there."""

    def __init__(self, host, user="peer", hostname="peerbox"):
        self.host = host
        self.user = user
        self.hostname = hostname
        self.sock = host.socket(socket.SOCK_DGRAM)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 1 << 20)
        self.sock.bind(("0.0.0.0", PORT))
        self.inbox = []                         # received and not yet taken by expect()
        self.history = []                       # everything received, in order
        self.next_packet_no = 1000

    def close(self):
        self.sock.close()

    # -- sending

    def packet_no(self):
        self.next_packet_no += 1
        return self.next_packet_no

    def send_raw(self, data, ip, port=PORT):
        self.sock.sendto(data, (ip, port))

    def send(self, ip, command, extra=b"", packet_no=None):
        """Sends one datagram with this peer's header; returns its packet number."""
        packet_no = self.packet_no() if packet_no is None else packet_no
        self.send_raw(build(packet_no, command, extra, self.user, self.hostname), ip)
        return packet_no

    def send_entry(self, ip, nickname="PeerNick", group="PeerGroup", broadcast=False):
        target = "255.255.255.255" if broadcast else ip
        return self.send(target, BR_ENTRY, entry_extra(nickname, group))

    def send_text(self, ip, text, options=SENDCHECKOPT):
        return self.send(ip, SENDMSG | options, gbk(text) + b"\0")

    # -- receiving

    def _receive(self, timeout):
        self.sock.settimeout(max(timeout, 0.001))
        try:
            data, sender = self.sock.recvfrom(65535)
        except socket.timeout:
            return None
        packet = Packet(data, sender)
        self.history.append(packet)
        self.inbox.append(packet)
        return packet

    def expect(self, match, timeout=20, what="a matching datagram"):
        """Takes the first datagram (already received or still to come) for which match holds."""
        deadline = time.monotonic() + timeout
        while True:
            for packet in self.inbox:
                if match(packet):
                    self.inbox.remove(packet)
                    return packet
            left = deadline - time.monotonic()
            if left <= 0:
                raise AssertionError("no %s within %d s; received: %r" % (what, timeout, self.history))
            self._receive(left)

    def collect(self, seconds):
        """Receives for the given time; returns what came in it (also left in the inbox)."""
        deadline = time.monotonic() + seconds
        came = []
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                return came
            packet = self._receive(left)
            if packet:
                came.append(packet)


def connect_tcp(host, ip, timeout=20, port=PORT):
    """A TCP connection from host to ip:port. The messenger starts listening on its own thread
    shortly after its start, so a refused connection is tried again until timeout."""
    deadline = time.monotonic() + timeout
    while True:
        sock = host.socket(socket.SOCK_STREAM)
        sock.settimeout(timeout)
        try:
            sock.connect((ip, port))
            return sock
        except ConnectionRefusedError:
            sock.close()
            if time.monotonic() > deadline:
                raise
            time.sleep(0.1)


def read_to_close(sock):
    """Everything the other side sends until it closes the connection."""
    received = bytearray()
    while True:
        chunk = sock.recv(65536)
        if not chunk:
            return bytes(received)
        received += chunk


def stays_silent(sock, seconds):
    """True when the other side neither sends a byte nor closes within the given time.

    The messenger reads what one read gives as one request: a test that sends a second request
    on a connection waits this way after the first, so that the two are not read as one."""
    previous = sock.gettimeout()
    sock.settimeout(seconds)
    try:
        sock.recv(1)
        return False
    except socket.timeout:
        return True
    finally:
        sock.settimeout(previous)


def fetch_tcp(host, ip, request, timeout=20, port=PORT):
    """Connects from host to ip:port, sends request (text or bytes), reads until the other side
    closes; returns the bytes."""
    sock = connect_tcp(host, ip, timeout, port)
    try:
        sock.sendall(gbk(request))
        return read_to_close(sock)
    finally:
        sock.close()


def file_request(packet_id, file_id, offset=0, command=GETFILEDATA, packet_no=1, user="peer", host="peerbox"):
    """The text a downloader sends on a TCP connection to ask for one offered item."""
    return "1:%d:%s:%s:%d:%x:%x:%x" % (packet_no, user, host, command, packet_id, file_id, offset)


class FileServer:
    """A peer's TCP port 2425 serving offered items: items maps (packet id, file id) to the bytes
    to send, or to a function that gets the connection and misbehaves on it. Each connection
    gets one answer and is then closed; requests holds what came in."""

    def __init__(self, host, items):
        import threading
        self.items = items
        self.requests = []
        self.sock = host.socket(socket.SOCK_STREAM)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.sock.bind(("0.0.0.0", PORT))
        self.sock.listen(16)
        self._threading = threading
        threading.Thread(target=self._accept, daemon=True).start()

    def close(self):
        # Wakes the accepting thread, which a plain close would leave holding the port.
        try:
            self.sock.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        self.sock.close()

    def _accept(self):
        while True:
            try:
                conn, _ = self.sock.accept()
            except OSError:
                return
            self._threading.Thread(target=self._serve, args=(conn,), daemon=True).start()

    def _serve(self, conn):
        try:
            request = conn.recv(4096)
            self.requests.append(request)
            fields = request.split(b":")
            answer = self.items.get((int(fields[5], 16), int(fields[6], 16))) if len(fields) >= 8 else None
            if callable(answer):
                answer(conn)
            elif answer is not None:
                conn.sendall(answer)
                conn.shutdown(socket.SHUT_WR)
                conn.settimeout(10)
                while conn.recv(65536):
                    pass
        except OSError:
            pass
        finally:
            conn.close()


def offer_datagram(packet_no, items, text="", user="peer", host="peerbox"):
    """A file offer as a foreign client sends it: items are (file id, name, size, attr)."""
    entries = b"\x07".join(b"%d:%s:%x:0:%d" % (fid, gbk(name), size, attr) for fid, name, size, attr in items)
    return build(packet_no, SENDMSG | FILEATTACHOPT, gbk(text) + b"\0" + entries, user=user, host=host)
