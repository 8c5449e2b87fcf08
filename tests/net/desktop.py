"""The messenger's windows as a user meets them: a private X display (Xvfb), the mouse and the
keyboard through xdotool, screenshots, and what the windows show read through wininspect.exe, a
small Windows program that runs in the host's Wine prefix (controls inside Wine windows are no X
windows, so X tools cannot read them).

    with Desktop() as desk, Network(hosts=2) as net, WineHost(net.hosts[0]) as wine:
        inspect = Inspector(wine)
        zq = wine.start(program_path("ZQ.exe"))
        buddy = inspect.wait_window(lambda w: w.title == BUDDY_LIST_TITLE and w.visible)
        tree = inspect.tree(inspect.child(buddy, 1026))

Each test gets its own display, so parallel tests never click into each other's windows.
"""

import os
import re
import select
import shutil
import subprocess
import time

import harness
from harness import unescape

POLL = 0.2
# The title of the buddy list, the window the program shows on its start.
BUDDY_LIST_TITLE = "VO2013"
# GTK's Python bindings belong to the system's python3 (python3-gi, gir1.2-gtk-3.0).
SYSTEM_PYTHON = "/usr/bin/python3"


def program_path(name):
    """ZQ.exe: the program under test (harness.zq_program(): the test build's, or the one given
    with --zq); the helpers such as wininspect.exe are the test build's, beside the network
    tests' driver."""
    if name == "ZQ.exe":
        return harness.zq_program()
    return os.path.join(os.path.dirname(harness.config.driver), name)


def artifacts_folder():
    """build/<arch>/artifacts beside the ZQ.exe under test, where screenshots are kept after the test."""
    folder = os.path.join(os.path.dirname(harness.zq_program()), "artifacts")
    os.makedirs(folder, exist_ok=True)
    return folder


def missing_requirement():
    for tool in ("Xvfb", "xdotool", "import", "xprop"):
        if shutil.which(tool) is None:
            return "the application tests need %s" % tool
    for name in ("ZQ.exe", "wininspect.exe"):
        if not os.path.exists(program_path(name)):
            return "%s is not built" % name
    return None


class Desktop:
    """A private X display of 1280 x 800 pixels at 24 bits."""

    def __init__(self):
        self.display = None
        self.server = None
        self.saved = os.environ.get("DISPLAY")

    def __enter__(self):
        # scripts/virtual-display says the display's number once it is ready, and runs until ended.
        self.server = subprocess.Popen(["bash", os.path.join(harness.REPO, "scripts", "virtual-display")],
                                       stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True)
        said = select.select([self.server.stdout], [], [], 30)[0]
        number = self.server.stdout.readline().strip() if said else ""
        if not number:
            self.server.terminate()
            self.server.wait(10)
            raise RuntimeError("no virtual X display could be started")
        self.display = ":" + number
        # Wine programs started from now on draw here.
        os.environ["DISPLAY"] = self.display
        return self

    def __exit__(self, *exc):
        if self.saved is None:
            os.environ.pop("DISPLAY", None)
        else:
            os.environ["DISPLAY"] = self.saved
        if self.server:
            self.server.terminate()
            self.server.wait(10)
            self.server.stdout.close()
        return False

    def xdotool(self, *args):
        done = subprocess.run(["xdotool", *args], stdin=subprocess.DEVNULL, capture_output=True,
                              text=True, env=dict(os.environ, DISPLAY=self.display, NO_AT_BRIDGE="1"))
        return done.stdout

    def x_window(self, name_pattern, timeout=20):
        """The shown X window whose name matches the pattern (hidden ones cannot take the focus)."""
        deadline = time.monotonic() + timeout
        while True:
            found = self.xdotool("search", "--onlyvisible", "--name", name_pattern).split()
            if found:
                return found[0]
            if time.monotonic() > deadline:
                raise AssertionError("no X window named like %r" % name_pattern)
            time.sleep(POLL)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", "--sync", str(x), str(y), "click", str(button))

    def focus(self, x_window):
        self.xdotool("windowfocus", "--sync", x_window)

    def type(self, text):
        self.xdotool("type", "--delay", "30", text)

    def type_into(self, text, shown, tries=3, wait=5):
        """Types text one character at a time, each once shown() (the edit's text as bytes) has
        the ones before it, and returns what the edit shows at the end. On a busy machine a
        character outside the keyboard map (Chinese), which xdotool types through a key it maps
        for the moment, now and then never arrived or arrived twice: one that has not arrived
        within `wait` seconds is typed again (at most `tries` times), and a second copy is taken
        back with BackSpace. Any other text in the edit (a program that turns typed Chinese into
        "??") fails at once."""
        expected = shown()
        for character in text:
            wanted = expected + character.encode("gbk")
            for _ in range(tries):
                self.type(character)
                now = self._changed(shown, expected, wait)
                if now == wanted + character.encode("gbk"):
                    self.key("BackSpace")
                    now = self._changed(shown, now, wait)
                if now != expected:
                    break
            if now != wanted:
                raise AssertionError("typed %r: the edit shows %r" % (text, now))
            expected = wanted
        return expected

    @staticmethod
    def _changed(shown, before, wait):
        """What shown() returns once it differs from before, or before after `wait` seconds."""
        deadline = time.monotonic() + wait
        now = shown()
        while now == before and time.monotonic() < deadline:
            time.sleep(POLL / 4)
            now = shown()
        return now

    def key(self, name):
        self.xdotool("key", name)

    def drag_files(self, paths, x, y, source_at=(1100, 680)):
        """Drags the files with the mouse from an X drag source (a GTK window, as a file manager
        would be) and drops them at (x, y)."""
        source = subprocess.Popen([SYSTEM_PYTHON, os.path.join(os.path.dirname(__file__), "drag_source.py"),
                                   str(source_at[0]), str(source_at[1]), *paths],
                                  stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True,
                                  env=dict(os.environ, DISPLAY=self.display))
        try:
            said = select.select([source.stdout], [], [], 30)[0]
            if not said or source.stdout.readline().strip() != "ready":
                raise AssertionError("the drag source did not start")
            geometry = dict(line.split("=", 1) for line in
                            self.xdotool("getwindowgeometry", "--shell", self.x_window("^ZQ drag source$")).split())
            start_x = int(geometry["X"]) + int(geometry["WIDTH"]) // 2
            start_y = int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2
            self.xdotool("mousemove", "--sync", str(start_x), str(start_y))
            time.sleep(0.3)
            self.xdotool("mousedown", "1")
            # A drag starts only after the pointer has moved a little with the button held.
            steps = 12
            for step in range(1, steps + 1):
                self.xdotool("mousemove", "--sync", str(start_x + (x - start_x) * step // steps),
                             str(start_y + (y - start_y) * step // steps))
                time.sleep(0.08)
            for wiggle in (1, 0, 1, 0):
                self.xdotool("mousemove", "--sync", str(x + wiggle), str(y))
                time.sleep(0.15)
            self.xdotool("mouseup", "1")
            # The source hears when the target has taken the data; ending it before would lose the drop.
            said = select.select([source.stdout], [], [], 30)[0]
            if not said or source.stdout.readline().strip() != "done":
                raise AssertionError("the drag did not end")
        finally:
            source.terminate()
            source.wait(10)
            source.stdout.close()

    def icons(self, x_window):
        """The icons that the X window offers the desktop (its _NET_WM_ICON, where Wine puts the
        icon of the window), each as (width, height, its pixels as a tuple)."""
        shown = subprocess.run(["xprop", "-display", self.display, "-id", x_window, "-notype", "_NET_WM_ICON"],
                               stdin=subprocess.DEVNULL, capture_output=True, text=True, check=True).stdout
        values = [int(v) for v in re.findall(r"\d+", shown.partition("=")[2])]
        icons = []
        while len(values) >= 2:
            width, height = values[0], values[1]
            icons.append((width, height, tuple(values[2:2 + width * height])))
            values = values[2 + width * height:]
        return icons

    def screenshot(self, name, rect):
        """The rectangle (left, top, right, bottom) of the screen as the PNG file name, in the
        test's logs and in the artifacts folder."""
        path = os.path.join(harness.config.logs, name)
        left, top, right, bottom = rect
        subprocess.run(["import", "-display", self.display, "-window", "root",
                        "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top), path],
                       stdin=subprocess.DEVNULL, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.copy(path, os.path.join(artifacts_folder(), name))
        print("screenshot: %s" % path)


def _rect(field):
    return tuple(int(v) for v in field.split(b","))


class Window:
    def __init__(self, fields, top_level):
        self.hwnd = int(fields[0])
        if top_level:
            self.pid, self.visible = int(fields[1]), fields[2] == b"1"
            self.cls, self.title = fields[3].decode(), unescape(fields[4]).decode("gbk", "replace")
            self.rect = _rect(fields[5])
        else:
            self.id, self.cls, self.visible = int(fields[1]), fields[2].decode(), fields[3] == b"1"
            self.text_bytes = unescape(fields[4])
            self.title = self.text_bytes.decode("gbk", "replace")
            self.rect = _rect(fields[5])

    def centre(self):
        left, top, right, bottom = self.rect
        return (left + right) // 2, (top + bottom) // 2

    def __repr__(self):
        return "Window(%d %s %r %s%s)" % (self.hwnd, self.cls, self.title, self.rect, "" if self.visible else " hidden")


class Inspector:
    """Runs wininspect.exe in the Wine prefix of a host."""

    def __init__(self, wine):
        self.wine = wine
        self.program = program_path("wininspect.exe")
        self.runs = 0

    def _run(self, *args, tries=3):
        # It only reads: a run that wrote nothing (seen once on a loaded machine, the program not
        # started) is made again, and its exit code is told when none writes.
        for _ in range(tries):
            self.runs += 1
            out = os.path.join(self.wine.logs, "inspect-%d.txt" % self.runs)
            process = self.wine.start(self.program, harness.dos_path(out), *args, name="inspect-%d" % self.runs)
            code = process.wait(60)
            if os.path.exists(out):
                break
        else:
            raise AssertionError("wininspect %s wrote nothing (exit code %s)" % (" ".join(args), code))
        with open(out, "rb") as f:
            lines = [line.split(b"\t") for line in f.read().split(b"\n") if line]
        if lines and lines[0][0] == b"error":
            raise AssertionError("wininspect: %s" % lines[0][1].decode())
        return lines

    def windows(self):
        return [Window(fields, True) for fields in self._run("windows")]

    def children(self, window):
        return [Window(fields, False) for fields in self._run("children", str(window.hwnd))]

    def child(self, window, control_id):
        for child in self.children(window):
            if child.id == control_id:
                return child
        raise AssertionError("no control %d in %r" % (control_id, window))

    def tree(self, tree_control):
        """The items of a tree view as (depth, image, text)."""
        return [(int(f[0]), int(f[1]), unescape(f[2]).decode("gbk", "replace"))
                for f in self._run("tree", str(tree_control.hwnd))]

    def rows(self, list_control):
        """The rows of a list view, each a list of its column texts (hidden columns too)."""
        return [[unescape(f).decode("gbk", "replace") for f in fields]
                for fields in self._run("rows", str(list_control.hwnd))]

    def look(self, window):
        """(the work area of the window's monitor, the handle of the focused window of the
        window's thread or 0)."""
        fields = self._run("look", str(window.hwnd))[0]
        return _rect(fields[0]), int(fields[1])

    def command(self, window, command_id):
        self._run("command", str(window.hwnd), str(command_id))

    def close(self, window):
        """Posts WM_CLOSE, as a task manager does."""
        self._run("close", str(window.hwnd))

    def wait_window(self, match, timeout=30, what="a matching window"):
        deadline = time.monotonic() + timeout
        while True:
            found = [w for w in self.windows() if match(w)]
            if found:
                return found[0]
            if time.monotonic() > deadline:
                raise AssertionError("no %s within %d s; windows: %r" % (what, timeout, self.windows()))
            time.sleep(POLL)

    def wait_until(self, read, match, timeout=30, what="the expected state"):
        """Reads again and again until match(value) holds; returns the value."""
        deadline = time.monotonic() + timeout
        while True:
            value = read()
            if match(value):
                return value
            if time.monotonic() > deadline:
                raise AssertionError("no %s within %d s; last seen: %r" % (what, timeout, value))
            time.sleep(POLL)


def skip_unless_possible():
    """For setUpModule: the test cannot run without the programs and X tools."""
    import unittest
    reason = missing_requirement()
    if reason:
        raise unittest.SkipTest(reason)
