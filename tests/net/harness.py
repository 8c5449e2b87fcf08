"""Network test harness: the messenger's code under Wine on one host, scripted peers on others.

Every host is a Linux network namespace with one address 10.77.0.N on a veth whose other end sits on a
bridge in a "switch" namespace, and a default route through that veth, so a broadcast to
255.255.255.255 reaches every other host and nothing leaves the test network.

    with Network(hosts=2) as net:
        peer = Peer(net.hosts[1])                 # ipmsg_peer.Peer: UDP port 2425 on 10.77.0.2
        with WineHost(net.hosts[0]) as wine:      # its own Wine prefix and wineserver on 10.77.0.1
            wine.write_settings(userName="Li", userGroupName="Dev")
            run = wine.driver("messenger")        # the test driver (driver/), logging to run.log
            packet = peer.expect(lambda p: p.command == 1, timeout=30)
            line = run.log.wait_for(lambda e: e.kind == "ADD_BUDDY", 20, run)
            run.finish()

A test file calls run_tests() at its end: it skips the test (exit code 77) when the machine cannot
run it (under CI it fails instead), parses --driver/--template/--logs/--zq and hands the rest of the
command line to unittest.

--zq names the ZQ.exe that the application tests start (desktop.program_path("ZQ.exe")); without
it they start the test build's. ctest runs the files listed in ZQ_RELEASE_NET_TESTS
(tests/net/CMakeLists.txt) once more with the release program build/i686/ZQ.exe, a 32-bit
program in the same 64-bit prefix, as on 64-bit Windows; such a run needs 32-bit Wine.

Namespaces, Wine servers and processes are removed at the end, also when a test fails, times out
or is interrupted; leftovers of a run that was killed outright are swept by the next run.
"""

import argparse
import contextlib
import ctypes
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

SKIP = 77                      # ctest's SKIP_RETURN_CODE for these tests
NAME_PREFIX = "zqn"            # namespaces zqn<pid>s (switch), zqn<pid>h1, zqn<pid>h2, ...
SCRATCH_PREFIX = "zq-net-"     # scratch folders zq-net-<pid>-* beside the template: prefixes of one run
TEST_DEADLINE = 150            # seconds for a whole test file; ctest's own limit is above it
# A test host's wineserver outlives its last program by this many seconds, so that programs run
# one after another share it; then it ends, also when the test was killed outright.
SERVER_LINGER = 20

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
CLONE_NEWNET = 0x40000000
_libc = ctypes.CDLL(None, use_errno=True)

# Filled in by run_tests() from the command line.
config = argparse.Namespace(driver=None, template=None, logs=None, zq=None)

# Networks and Wine hosts not closed yet; run_tests() closes what a test left open, e.g. when a
# signal stopped it between setUpClass and tearDownClass.
_open = []


# ---------------------------------------------------------------------------------------------
# Namespaces

def ip(*args):
    """Runs one `ip` command; a failure raises with its message."""
    done = subprocess.run(["ip", *args], stdin=subprocess.DEVNULL, capture_output=True, text=True)
    if done.returncode != 0:
        raise RuntimeError("ip %s: %s" % (" ".join(args), done.stderr.strip()))
    return done.stdout


def namespace_inode(name):
    return os.stat("/var/run/netns/" + name).st_ino


@contextlib.contextmanager
def inside(namespace):
    """Moves the calling thread into a network namespace for the block.

    Sockets made inside keep that namespace after the block ends, so a test can talk as a peer
    host from its own process."""
    home = os.open("/proc/thread-self/ns/net", os.O_RDONLY)
    target = os.open("/var/run/netns/" + namespace, os.O_RDONLY)
    try:
        if _libc.setns(target, CLONE_NEWNET) != 0:
            err = ctypes.get_errno()
            raise OSError(err, "setns into %s: %s" % (namespace, os.strerror(err)))
        yield
    finally:
        _libc.setns(home, CLONE_NEWNET)
        os.close(target)
        os.close(home)


class Host:
    """One host of the test network: a namespace with one address."""

    def __init__(self, namespace, address):
        self.namespace = namespace
        self.ip = address
        self.sockets = []

    def socket(self, kind=socket.SOCK_DGRAM):
        """A socket of this host; the network closes it at its end."""
        with inside(self.namespace):
            made = socket.socket(socket.AF_INET, kind)
        self.sockets.append(made)
        return made

    def add_addresses(self, addresses):
        """Gives the host more addresses on its veth, so that one scripted peer can speak as many
        hosts. Each is a /32: the network's routes stay as they are."""
        for address in addresses:
            ip("-n", self.namespace, "addr", "add", address + "/32", "dev", "eth0")

    def mac(self):
        return ip("-n", self.namespace, "-br", "link", "show", "eth0").split()[2]

    def know_neighbours(self, addresses, mac):
        """Permanent neighbour entries for addresses that all live behind mac. The kernel's
        neighbour table is shared by every namespace; past a few hundred resolved addresses it
        drops replies, but permanent entries are never collected."""
        for address in addresses:
            ip("-n", self.namespace, "neigh", "replace", address, "lladdr", mac, "dev", "eth0", "nud", "permanent")

    def close_sockets(self):
        for made in self.sockets:
            made.close()
        self.sockets = []

    def command(self, args):
        """The argument list that runs args on this host."""
        return ["ip", "netns", "exec", self.namespace, *args]

    def __repr__(self):
        return "Host(%s, %s)" % (self.namespace, self.ip)


class Network:
    """Hosts 10.77.0.1 ... 10.77.0.N on one switch; torn down on exit."""

    def __init__(self, hosts=2):
        self.tag = "%s%d" % (NAME_PREFIX, os.getpid())
        self.switch = self.tag + "s"
        self.hosts = [Host("%sh%d" % (self.tag, i), "10.77.0.%d" % i) for i in range(1, hosts + 1)]
        self.made = []

    def __enter__(self):
        sweep_leftovers()
        _open.append(self)
        try:
            self._add_namespace(self.switch)
            ip("-n", self.switch, "link", "add", "br0", "type", "bridge")
            ip("-n", self.switch, "link", "set", "br0", "up")
            for number, host in enumerate(self.hosts, 1):
                self._add_namespace(host.namespace)
                port = "p%d" % number
                # Both ends are made right in their namespaces: no name can clash with the machine's.
                ip("link", "add", port, "netns", self.switch, "type", "veth",
                   "peer", "name", "eth0", "netns", host.namespace)
                ip("-n", self.switch, "link", "set", port, "master", "br0", "up")
                ip("-n", host.namespace, "addr", "add", host.ip + "/24", "dev", "eth0")
                ip("-n", host.namespace, "link", "set", "eth0", "up")
                ip("-n", host.namespace, "link", "set", "lo", "up")
                # The default route is what lets 255.255.255.255 leave through eth0.
                ip("-n", host.namespace, "route", "add", "default", "dev", "eth0")
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _add_namespace(self, name):
        ip("netns", "add", name)
        self.made.append(name)

    def __exit__(self, *exc):
        with _signals_held():
            for host in self.hosts:
                host.close_sockets()
            for name in reversed(self.made):
                subprocess.run(["ip", "netns", "del", name], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.made = []
            if self in _open:
                _open.remove(self)
        return False


@contextlib.contextmanager
def _signals_held():
    """Cleanup runs to its end; a stop signal that comes meanwhile takes effect after it."""
    stops = {signal.SIGTERM, signal.SIGINT, signal.SIGALRM}
    before = signal.pthread_sigmask(signal.SIG_BLOCK, stops)
    try:
        yield
    finally:
        signal.pthread_sigmask(signal.SIG_SETMASK, before)


def _pid_alive(pid):
    """True while the process runs (an ended one that waits for its parent counts as ended)."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except (OSError, IndexError):
        return False


def sweep_leftovers():
    """Removes namespaces and Wine prefixes of earlier runs whose test process is gone
    (a run killed with SIGKILL, e.g. by a time-out, cannot clean up after itself)."""
    listed = subprocess.run(["ip", "netns", "list"], capture_output=True, text=True).stdout
    for line in listed.splitlines():
        match = re.match(r"(%s(\d+)\w+)" % NAME_PREFIX, line)
        if match and not _pid_alive(int(match.group(2))):
            subprocess.run(["ip", "netns", "del", match.group(1)], stderr=subprocess.DEVNULL)
    scratch = scratch_folder()
    for entry in os.listdir(scratch) if os.path.isdir(scratch) else []:
        match = re.match(r"%s(\d+)-" % SCRATCH_PREFIX, entry)
        if match and not _pid_alive(int(match.group(1))):
            prefix = os.path.join(scratch, entry, "prefix")
            if os.path.isdir(prefix):
                stop_wineserver(prefix)
            shutil.rmtree(os.path.join(scratch, entry), ignore_errors=True)


# ---------------------------------------------------------------------------------------------
# Wine

# Binaries are shared with the template through hard links (Wine never rewrites them once the
# prefix is up to date); every other file, the registry and .ini files above all, is copied.
SHARED_SUFFIXES = (".dll", ".exe", ".nls", ".sys", ".drv", ".ocx", ".acm", ".tlb", ".cpl",
                   ".ax", ".com", ".ds", ".icm", ".msstyles")


def wine_environment(prefix, home):
    env = dict(os.environ)
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all", LC_ALL="zh_CN.UTF-8", HOME=home,
               WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("WINESERVER", None)
    return env


def stop_wineserver(prefix):
    subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=prefix),
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def scratch_folder():
    """Where the test hosts' prefixes go: beside the template, on its file system, so that they
    share its binaries through hard links instead of copying 700 MB each."""
    return os.path.dirname(config.template)


def ensure_template(template):
    """Makes the template prefix when it is not there yet (once, also with ctest -j)."""
    subprocess.run(["bash", os.path.join(REPO, "scripts", "make-prefix.sh"), template],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True)


def template_starts_32_bit_programs(template):
    """True when make-prefix.sh saw a 32-bit program start in the template (32-bit Wine is
    installed, and the prefix was made or checked with it)."""
    try:
        with open(os.path.join(template, ".zq-ready")) as f:
            return any(line.split()[:1] == ["starts:"] and "32-bit" in line.split() for line in f)
    except OSError:
        return False


def is_32_bit_program(path):
    """True for a 32-bit Windows program (PE machine i386), False for a 64-bit one."""
    with open(path, "rb") as f:
        head = f.read(4096)
    pe = int.from_bytes(head[0x3C:0x40], "little")
    if head[:2] != b"MZ" or head[pe:pe + 4] != b"PE\0\0":
        raise ValueError("%s is no Windows program" % path)
    return int.from_bytes(head[pe + 4:pe + 6], "little") == 0x14C


def _template_is_current(template):
    """True when Wine will not update the prefix (an update rewrites the binaries)."""
    try:
        with open(os.path.join(template, ".update-timestamp")) as f:
            stamp = f.read().split()[0]
        return int(stamp) == int(os.stat("/usr/share/wine/wine.inf").st_mtime)
    except (OSError, ValueError, IndexError):
        return False


def _link_or_copy(source, copy):
    try:
        os.link(source, copy)
    except OSError:                 # e.g. the scratch folder lies on another file system
        shutil.copy2(source, copy)


def clone_prefix(template, target):
    """Copies the template prefix. The template is also the prefix of the unit tests, which may
    run meanwhile: a file that they remove while it is copied (their settings file, the
    wineserver's temporary registry files) is left out."""
    link = _template_is_current(template)
    for folder, dirs, files in os.walk(template):
        relative = os.path.relpath(folder, template)
        destination = os.path.normpath(os.path.join(target, relative))
        os.makedirs(destination, exist_ok=True)
        for name in dirs + files:
            source = os.path.join(folder, name)
            copy = os.path.join(destination, name)
            try:
                if os.path.islink(source):
                    os.symlink(os.readlink(source), copy)
                elif name in files:
                    if link and name.lower().endswith(SHARED_SUFFIXES):
                        _link_or_copy(source, copy)
                    else:
                        shutil.copy2(source, copy)
            except FileNotFoundError:
                continue
        dirs[:] = [d for d in dirs if not os.path.islink(os.path.join(folder, d))]


def _read_proc(pid, name):
    with open("/proc/%d/%s" % (pid, name), "rb") as f:
        return f.read()


def _processes_in_prefix(prefix, matches):
    """The pids of the processes that run in the Wine prefix and for which matches(pid) holds."""
    wanted = b"WINEPREFIX=" + prefix.encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            if matches(int(entry)) and wanted in _read_proc(int(entry), "environ").split(b"\0"):
                yield int(entry)
        except OSError:
            continue


class ProcessUsage:
    """What a process holds, from /proc: resident memory and address space in bytes, threads."""

    def __init__(self, pid):
        fields = {}
        for line in _read_proc(pid, "status").decode(errors="replace").splitlines():
            key, _, value = line.partition(":")
            fields[key] = value.split()
        self.resident = int(fields["VmRSS"][0]) << 10
        self.address_space = int(fields["VmSize"][0]) << 10
        self.threads = int(fields["Threads"][0])


class WineProcess:
    """A Windows program running on a WineHost; its console output goes to a file.

    For the test driver, .log is its DriverLog and request_stop() ends its message loop."""

    def __init__(self, popen, output_path):
        self.popen = popen
        self.output_path = output_path
        self.log = self.stop_file = self.release_file = None

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout):
        """The exit code; raises subprocess.TimeoutExpired when it does not end in time."""
        return self.popen.wait(timeout)

    def request_stop(self):
        with open(self.stop_file, "w"):
            pass

    def release(self, number):
        """Lets the window return from the number-th held message (see --hold-from)."""
        with open("%s.%d" % (self.release_file, number), "w"):
            pass

    def output(self):
        with open(self.output_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def finish(self, timeout=30):
        """Asks the driver to stop and waits; ends it by force when it does not. The exit code."""
        if self.running():
            self.request_stop()
            try:
                self.wait(timeout)
            except subprocess.TimeoutExpired:
                self.stop()
        return self.popen.returncode

    def stop(self):
        if self.running():
            self.popen.terminate()
            try:
                self.popen.wait(5)
            except subprocess.TimeoutExpired:
                self.popen.kill()
                self.popen.wait()


class WineHost:
    """A Wine prefix of its own whose wineserver lives in the host's namespace.

    The prefix is a copy of the template, so a test starts in about a second. Every program of
    the prefix makes its sockets through the wineserver, so the server is started inside the
    namespace first and checked to be there before any program runs. Logs and program output
    go to config.logs/<name>/, which stays after the test for a look."""

    def __init__(self, host, name=None):
        self.host = host
        self.name = name or "host%s" % host.ip.rsplit(".", 1)[1]
        self.logs = os.path.join(config.logs, self.name)
        self.scratch = self.prefix = self.home = None
        self.processes = []
        self.server_pid = None

    # -- life cycle

    def __enter__(self):
        _open.append(self)
        try:
            self.scratch = tempfile.mkdtemp(prefix="%s%d-%s-" % (SCRATCH_PREFIX, os.getpid(), self.name),
                                            dir=scratch_folder())
            self.prefix = os.path.join(self.scratch, "prefix")
            self.home = os.path.join(self.scratch, "home")
            ensure_template(config.template)
            clone_prefix(config.template, self.prefix)
            os.makedirs(self.home)
            shutil.rmtree(self.logs, ignore_errors=True)
            os.makedirs(self.logs)
            self.remove_settings()
            self._start_server()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _start_server(self):
        env = wine_environment(self.prefix, self.home)
        with open(os.path.join(self.logs, "wineserver.txt"), "wb") as out:
            subprocess.run(self.host.command(["wineserver", "-p%d" % SERVER_LINGER]), env=env, check=True,
                           stdin=subprocess.DEVNULL, stdout=out, stderr=out)
        expected = namespace_inode(self.host.namespace)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            pid = self._find_server()
            if pid:
                if os.stat("/proc/%d/ns/net" % pid).st_ino != expected:
                    raise RuntimeError("the wineserver of %s runs outside %s" % (self.prefix, self.host))
                self.server_pid = pid
                return
            time.sleep(0.05)
        raise RuntimeError("no wineserver came up for " + self.prefix)

    def _find_server(self):
        return next(_processes_in_prefix(self.prefix, lambda pid: _read_proc(pid, "comm").startswith(b"wineserver")),
                    None)

    def process_of(self, program):
        """The Linux pid of the running Windows program (by its file name) in this prefix, or None."""
        name = os.path.basename(program).encode().lower()
        return next(_processes_in_prefix(self.prefix, lambda pid: any(
            argument.endswith(name) for argument in _read_proc(pid, "cmdline").lower().split(b"\0"))), None)

    def close(self):
        with _signals_held():
            for process in self.processes:
                process.stop()
            if self.prefix and os.path.isdir(self.prefix):
                stop_wineserver(self.prefix)
            if self.server_pid:
                deadline = time.monotonic() + 10
                while _pid_alive(self.server_pid) and time.monotonic() < deadline:
                    time.sleep(0.05)
            if self.scratch:
                shutil.rmtree(self.scratch, ignore_errors=True)
            if self in _open:
                _open.remove(self)

    # -- programs

    def start(self, program, *args, name=None):
        """Starts a Windows program with args on this host; returns its WineProcess."""
        name = name or "%s-%d" % (os.path.splitext(os.path.basename(program))[0], len(self.processes) + 1)
        output_path = os.path.join(self.logs, name + ".out.txt")
        with open(output_path, "wb") as out:
            popen = subprocess.Popen(self.host.command(["wine", program, *args]),
                                     env=wine_environment(self.prefix, self.home), cwd=self.logs,
                                     stdin=subprocess.DEVNULL, stdout=out, stderr=out)
        process = WineProcess(popen, output_path)
        self.processes.append(process)
        return process

    def driver(self, scenario, *args):
        """Starts a scenario of the test driver (driver/DriverOptions.h has its options): it logs
        to .log, ends its message loop at request_stop(), and holds messages at --hold-from until
        release(n)."""
        name = "%s-%d" % (scenario, len(self.processes) + 1)
        files = os.path.join(self.logs, name)
        process = self.start(config.driver, scenario, "--log", dos_path(files + ".log"),
                             "--stop-file", dos_path(files + ".stop"),
                             "--release-file", dos_path(files + ".release"), *args, name=name)
        process.log = DriverLog(files + ".log")
        process.stop_file = files + ".stop"
        process.release_file = files + ".release"
        return process

    # -- files

    def unix_path(self, windows_path):
        """C:\\x\\y -> that file in this prefix."""
        drive, rest = windows_path.split(":", 1)
        assert drive.upper() == "C", windows_path
        return os.path.join(self.prefix, "drive_c", *[p for p in rest.split("\\") if p])

    # A 32-bit program on 64-bit Windows, and under Wine in a 64-bit prefix, reads and writes
    # the system folder through its redirection: its ZQ.ini lives in syswow64.
    SYSTEM_FOLDERS = {False: "C:\\windows\\system32", True: "C:\\windows\\syswow64"}

    def settings_path(self):
        """The settings file of the ZQ.exe that the test starts (desktop.program_path)."""
        return self._settings_path(zq_is_32_bit())

    def _settings_path(self, thirty_two_bit):
        return self.unix_path(self.SYSTEM_FOLDERS[thirty_two_bit] + "\\ZQ.ini")

    def remove_settings(self):
        for thirty_two_bit in self.SYSTEM_FOLDERS:
            with contextlib.suppress(FileNotFoundError):
                os.remove(self._settings_path(thirty_two_bit))

    def write_settings(self, **values):
        """Writes ZQ.ini (GBK) so that the program finds its settings and asks nothing at start:
        where the 64-bit programs (the driver, the test build) look for it, and where the 32-bit
        release program does when the test starts that one.

        Keys go to their sections; the ones not given get the values of an ordinary user."""
        sections = {
            "SYSTEM": {"isAutoStart": "false"},
            "USER": {"userName": "", "userGroupName": ""},
            "SHARE": {"shareFolders": ""},
            "PRINTSCREEN": {"isOpenPrintScreen": "false", "screenImageSavePath": "ZQScreenImages"},
        }
        for key, value in values.items():
            section = next((s for s, keys in sections.items() if key in keys), None)
            if section is None:
                raise KeyError("no such setting: " + key)
            sections[section][key] = value
        text = "".join("[%s]\r\n%s" % (section, "".join("%s=%s\r\n" % kv for kv in keys.items()))
                       for section, keys in sections.items())
        self.remove_settings()
        for thirty_two_bit in {False, zq_is_32_bit()}:
            with open(self._settings_path(thirty_two_bit), "wb") as f:
                f.write(text.encode("gbk"))


def zq_program():
    """The ZQ.exe that the tests start: --zq, else the test build's (beside the driver's folders)."""
    if config.zq:
        return config.zq
    return os.path.normpath(os.path.join(os.path.dirname(config.driver), "..", "..", "ZQ.exe"))


def zq_is_32_bit():
    """True when the tests start a 32-bit ZQ.exe (the release program)."""
    return bool(config.zq) and os.path.exists(config.zq) and is_32_bit_program(config.zq)


def dos_path(unix_path):
    """Any Unix path as Wine programs see it, through drive Z:."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


# ---------------------------------------------------------------------------------------------
# The driver's log

def unescape(field):
    """The bytes of a field of the driver's log or of wininspect's output (see driver/DriverLog.h)."""
    out = bytearray()
    i = 0
    while i < len(field):
        c = field[i]
        if c == 0x5C and i + 1 < len(field):          # backslash
            nxt = field[i + 1]
            if nxt == ord("x") and i + 3 < len(field):
                out.append(int(field[i + 2:i + 4], 16))
                i += 4
                continue
            out.append(nxt)
            i += 2
            continue
        out.append(c)
        i += 1
    return bytes(out)


class Event:
    """One line of the driver's log: a kind and named byte fields (see driver/DriverLog.h)."""

    def __init__(self, line):
        parts = line.split(b"\t")
        self.kind = parts[0].decode("ascii", "replace")
        self.fields = {}
        for part in parts[1:]:
            key, _, value = part.partition(b"=")
            self.fields[key.decode("ascii", "replace")] = unescape(value)

    def __getitem__(self, key):
        return self.fields[key]

    def text(self, key):
        return self.fields[key].decode("gbk", "replace")

    def get(self, key, default=None):
        return self.fields.get(key, default)

    def __repr__(self):
        return "Event(%s %s)" % (self.kind, {k: v for k, v in self.fields.items()})


class DriverLog:
    """Reads the log that the driver appends to, line by line as it is flushed."""

    def __init__(self, path):
        self.path = path

    def events(self, kind=None):
        try:
            with open(self.path, "rb") as f:
                data = f.read()
        except FileNotFoundError:
            return []
        lines = data.split(b"\n")[:-1]           # a line is complete only with its line end
        events = [Event(line.rstrip(b"\r")) for line in lines if line.strip()]
        return [e for e in events if kind is None or e.kind == kind]

    def wait_for(self, match, timeout, process=None):
        """The first event for which match(event) holds; fails after timeout seconds
        (or at once when the given process has ended without writing it)."""
        deadline = time.monotonic() + timeout
        while True:
            for event in self.events():
                if match(event):
                    return event
            if process is not None and not process.running():
                # One last look: the process may have written it just before it ended.
                for event in self.events():
                    if match(event):
                        return event
                raise AssertionError("the driver ended (exit %s) without the expected log line;\n%s"
                                     % (process.popen.returncode, self.dump()))
            if time.monotonic() > deadline:
                raise AssertionError("no such log line in %d s;\n%s" % (timeout, self.dump()))
            time.sleep(0.05)

    def dump(self):
        try:
            with open(self.path, "rb") as f:
                return "--- %s\n%s" % (self.path, f.read().decode("gbk", "replace"))
        except FileNotFoundError:
            return "--- %s: not written" % self.path


# ---------------------------------------------------------------------------------------------
# Running a test file

class MachineCannot(str):
    """A reason to skip that no install step can mend: the machine itself cannot run the test."""


def kernel_runs_32_bit_programs():
    return subprocess.run(["bash", os.path.join(REPO, "scripts", "runs-32-bit-programs")],
                          stdin=subprocess.DEVNULL).returncode == 0


def missing_requirement():
    """Why this machine cannot run the network tests, or None."""
    if os.geteuid() != 0:
        return "network tests need root (network namespaces)"
    if shutil.which("ip") is None:
        return "network tests need iproute2 (`ip netns`)"
    if shutil.which("wine") is None or shutil.which("wineserver") is None:
        return "network tests need Wine"
    probe = "%s%dprobe" % (NAME_PREFIX, os.getpid())
    try:
        ip("netns", "add", probe)
        ip("netns", "del", probe)
    except RuntimeError as e:
        return "cannot make network namespaces here: %s" % e
    if not config.driver or not os.path.exists(config.driver):
        return "the test driver is not built (%s)" % config.driver
    if config.zq:
        if not os.path.exists(config.zq):
            return "%s is not built" % config.zq
        if is_32_bit_program(config.zq):
            if not kernel_runs_32_bit_programs():
                return MachineCannot("this machine's kernel runs no 32-bit program (no IA-32 emulation), "
                                     "so 32-bit Wine cannot start %s" % config.zq)
            ensure_template(config.template)
            if not template_starts_32_bit_programs(config.template):
                return "32-bit programs do not start under this Wine (is wine32:i386 installed?): %s" % config.zq
    return None


class _Interrupted(KeyboardInterrupt):
    """Stops the whole run the way Ctrl+C does; unittest lets it through."""


def _interrupt(signum, frame):
    raise _Interrupted("stopped by signal %d" % signum)


def _leave_skipped(reason):
    """Ends the test file as skipped; under CI (CI set) as failed: there a test that cannot run
    means a missing install step, which must not pass for a green run. A machine that cannot run
    it at all (MachineCannot) is skipped under CI too, and says so."""
    if os.environ.get("CI") and not isinstance(reason, MachineCannot):
        print("FAILED: %s; CI must run every test" % reason)
        sys.exit(1)
    print("SKIPPED: " + reason)
    sys.exit(SKIP)


def run_tests():
    """Entry point of a test file: skip when the machine cannot run it, else unittest.main()."""
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--driver", default=os.environ.get("ZQ_NETDRIVER"))
    parser.add_argument("--template", default=os.environ.get(
        "ZQ_WINEPREFIX", os.path.join(REPO, "build", "wineprefix")))
    parser.add_argument("--logs")
    parser.add_argument("--zq")
    known, rest = parser.parse_known_args()
    test_name = os.path.splitext(os.path.basename(sys.argv[0]))[0]
    config.driver = known.driver and os.path.abspath(known.driver)
    config.template = os.path.abspath(known.template)
    config.logs = os.path.abspath(known.logs or os.path.join(tempfile.gettempdir(), "zq-net-logs", test_name))
    config.zq = known.zq and os.path.abspath(known.zq)

    reason = missing_requirement()
    if reason:
        _leave_skipped(reason)
    # Clean up on ctest's SIGTERM, on Ctrl+C and at the test file's own deadline alike: the
    # exception unwinds every `with` block, which removes namespaces, servers and prefixes.
    signal.signal(signal.SIGTERM, _interrupt)
    signal.signal(signal.SIGALRM, _interrupt)
    signal.alarm(TEST_DEADLINE)
    if not os.environ.get("DISPLAY"):
        print("note: DISPLAY is not set; programs that open windows need one (scripts/with-display)")
    try:
        program = unittest.main(module="__main__", argv=[sys.argv[0], *rest], verbosity=2, exit=False)
    finally:
        for resource in reversed(list(_open)):      # Wine hosts before their network
            resource.__exit__(None, None, None)
    result = program.result
    if result.skipped and result.wasSuccessful() and result.testsRun <= len(result.skipped):
        _leave_skipped("; ".join(sorted({why for _, why in result.skipped})))
    sys.exit(0 if result.wasSuccessful() else 1)
