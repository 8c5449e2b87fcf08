"""The harness itself: a Wine program on host 1 and a Python peer on host 2 meet on port 2425,
and nothing of the test network outlives the test."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from unittest import mock

import desktop
import harness
from harness import Network, WineHost
from ipmsg_peer import Peer


class HarnessTest(unittest.TestCase):

    def test_wine_program_and_peer_meet_on_port_2425_and_everything_is_removed_after(self):
        with Network(hosts=2) as net:
            peer = Peer(net.hosts[1])
            with WineHost(net.hosts[0]) as wine:
                probe = wine.driver("probe", "--seconds", "60")
                broadcast = peer.expect(lambda p: p.raw == b"zq-probe", timeout=30,
                                        what="probe broadcast")
                self.assertEqual(broadcast.sender, ("10.77.0.1", 2425))

                peer.send_raw("你好".encode("gbk"), "10.77.0.1")
                echo = peer.expect(lambda p: p.raw.startswith(b"echo:"), what="echo")
                self.assertEqual(echo.raw, b"echo:" + "你好".encode("gbk"))

                # Wine runs in code page 936, or none of the texts would be right.
                self.assertEqual(probe.log.wait_for(lambda e: e.kind == "PROBE", 10)["acp"], b"936")
                probe.request_stop()
                self.assertEqual(probe.wait(30), 0)
                server, prefix = wine.server_pid, wine.prefix
            peer.close()
            self.assertFalse(os.path.exists(prefix))
            self.assertFalse(harness._pid_alive(server))
        listed = subprocess.run(["ip", "netns", "list"], capture_output=True, text=True).stdout
        self.assertNotIn(net.tag, listed)

    def test_the_wineserver_ends_by_itself_after_the_last_program(self):
        # A test killed outright (ctest's time-out) cannot stop it: it must not stay for ever.
        with mock.patch.object(harness, "SERVER_LINGER", 1), Network(hosts=1) as net, \
                WineHost(net.hosts[0]) as wine:
            self.assertEqual(wine.start("cmd", "/c", "exit 3").wait(60), 3)
            deadline = time.monotonic() + 30
            while harness._pid_alive(wine.server_pid) and time.monotonic() < deadline:
                time.sleep(0.1)
            self.assertFalse(harness._pid_alive(wine.server_pid), "the wineserver still runs")

    @unittest.skipUnless(shutil.which("Xvfb"), "needs Xvfb")
    def test_displays_started_in_two_networks_get_two_numbers(self):
        # Two test runs at once, each in a network of its own (scripts/with-own-network): Wine
        # programs find a display through its socket file, which only one server may own.
        with Network(hosts=1) as net, desktop.Desktop() as here:
            with harness.inside(net.hosts[0].namespace), desktop.Desktop() as there:
                self.assertNotEqual(here.display, there.display)

    def test_a_file_removed_while_the_template_is_copied_is_left_out(self):
        # The template is also the unit tests' prefix: a window test may remove its settings
        # file while a network test copies the prefix.
        with tempfile.TemporaryDirectory() as scratch:
            template, copy = os.path.join(scratch, "template"), os.path.join(scratch, "copy")
            os.makedirs(os.path.join(template, "system32"))
            for name in ("kept.dll", "ZQ.ini"):
                with open(os.path.join(template, "system32", name), "w") as f:
                    f.write(name)
            walk = os.walk

            def walk_and_remove_the_settings(top):
                for folder, dirs, files in walk(top):
                    if "ZQ.ini" in files:
                        os.remove(os.path.join(folder, "ZQ.ini"))
                    yield folder, dirs, files

            with mock.patch("os.walk", walk_and_remove_the_settings):
                harness.clone_prefix(template, copy)
            self.assertEqual(os.listdir(os.path.join(copy, "system32")), ["kept.dll"])


    def test_a_32_bit_program_is_skipped_where_it_cannot_start_and_fails_under_ci(self):
        # A template in which make-prefix.sh saw only 64-bit programs start (no 32-bit Wine), as
        # checked for the Wine installed now, so that it is taken as it is.
        harness.ensure_template(harness.config.template)
        with open(os.path.join(harness.config.template, ".zq-ready")) as f:
            install = f.read().splitlines()[:2]
        with tempfile.TemporaryDirectory() as scratch:
            template = os.path.join(scratch, "template")
            os.makedirs(template)
            with open(os.path.join(template, ".zq-ready"), "w") as f:
                f.write("\n".join(install + ["starts: 64-bit"]) + "\n")
            # The headers of a 32-bit Windows program: MZ, the PE header's place, machine i386.
            program = os.path.join(scratch, "ZQ.exe")
            with open(program, "wb") as f:
                f.write(b"MZ" + bytes(0x3A) + (0x40).to_bytes(4, "little") + b"PE\0\0" + (0x14C).to_bytes(2, "little"))
            script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "test_app_close.py")
            expected = [("", harness.SKIP, "SKIPPED: 32-bit programs do not start"),
                        ("1", 1, "FAILED: 32-bit programs do not start")]
            if not harness.kernel_runs_32_bit_programs():
                # No install step can mend a kernel without IA-32 emulation: skipped under CI too.
                cannot = "SKIPPED: this machine's kernel runs no 32-bit program"
                expected = [("", harness.SKIP, cannot), ("1", harness.SKIP, cannot)]
            for ci, code, said in expected:
                with self.subTest(CI=ci):
                    env = dict(os.environ, CI=ci)
                    if not ci:
                        env.pop("CI")
                    done = subprocess.run([sys.executable, script, "--driver", harness.config.driver,
                                           "--template", template, "--logs", os.path.join(scratch, "logs"),
                                           "--zq", program], env=env, stdin=subprocess.DEVNULL,
                                          capture_output=True, text=True, timeout=60)
                    self.assertEqual(done.returncode, code, done.stdout + done.stderr)
                    self.assertIn(said, done.stdout)


if __name__ == "__main__":
    harness.run_tests()
