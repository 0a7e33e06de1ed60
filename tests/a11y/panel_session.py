"""The real panel on a private X server against the real simulator, for the
tests that drive it as an operator without a mouse or sight would: through
the keyboard (xdotool) and the accessibility bus (AT-SPI). Every child is
ended by its own id; every wait has a generous deadline, as the machine may
be busy."""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

START_DEADLINE = 90.0
DEADLINE = 45.0


def poll_until(ready, deadline=DEADLINE, step=0.1):
    end = time.monotonic() + deadline
    while time.monotonic() < end:
        value = ready()
        if value:
            return value
        time.sleep(step)
    return ready()


class PanelSession:
    def __init__(self, panel, simulator):
        self.dir = tempfile.mkdtemp(prefix="zr-a11y-")
        self.children = []
        self.failed = False
        with open(os.path.join(self.dir, "PortSetup.txt"), "w", newline="") as f:
            f.write("1\r\n9600,N,8,1\r\ncomNone\r\n0\r\n")
        self.log_path = os.path.join(self.dir, "sim.log")
        try:
            self._start(os.path.abspath(panel), os.path.abspath(simulator))
        except BaseException:
            self.failed = True
            self.close()
            raise

    def _start(self, panel, simulator):
        self.display = self._start_x()
        self.simulator = self._spawn([simulator, "--dir", self.dir, "--port", "1", "--firmware", "2", "--log",
                                      self.log_path])
        if not poll_until(lambda: os.path.exists(os.path.join(self.dir, "COM1")), START_DEADLINE):
            raise RuntimeError("the simulator's link never appeared")
        env = {"DISPLAY": self.display, "QT_QPA_PLATFORM": "xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
               "QT_ACCESSIBILITY": "1"}
        self.panel = self._spawn([panel], env=env, output=os.path.join(self.dir, "panel.out"))
        if not poll_until(lambda: "G00" in self.commands() or self.panel.poll() is not None, START_DEADLINE):
            raise RuntimeError("the panel never served")
        if self.panel.poll() is not None:
            raise RuntimeError("the panel ended at startup")

    def _spawn(self, argv, env=None, output=os.devnull):
        full = dict(os.environ)
        full.update(env or {})
        out = open(output, "w")
        child = subprocess.Popen(argv, cwd=self.dir, env=full, stdout=out, stderr=subprocess.STDOUT,
                                 stdin=subprocess.DEVNULL)
        out.close()
        self.children.append(child)
        return child

    def _start_x(self):
        read, write = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1366x768x24", "-nolisten",
                                   "tcp"], pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        self.children.append(server)
        number = b""
        end = time.monotonic() + START_DEADLINE
        while not number.endswith(b"\n") and time.monotonic() < end:
            chunk = os.read(read, 32)
            if not chunk:
                break
            number += chunk
        os.close(read)
        if not number.endswith(b"\n"):
            raise RuntimeError("Xvfb did not start")
        return ":" + number.decode().strip()

    def close(self):
        for child in reversed(self.children):
            if child.poll() is None:
                child.send_signal(signal.SIGTERM)
                try:
                    child.wait(15)
                except subprocess.TimeoutExpired:
                    child.kill()
                    child.wait()
        if self.failed:
            print("kept for a look:", self.dir, file=sys.stderr)
        else:
            shutil.rmtree(self.dir, ignore_errors=True)

    def end_simulator(self):
        """The radio's line goes away, as an unplugged adapter's does."""
        self.simulator.send_signal(signal.SIGTERM)
        self.simulator.wait(15)

    # The simulator's log: time, blank, command.
    def commands(self):
        try:
            with open(self.log_path) as f:
                return [line.rstrip("\n").split(" ", 1)[1] for line in f if " " in line]
        except FileNotFoundError:
            return []

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=self.display),
                              capture_output=True, text=True, timeout=60).stdout

    def window(self, title_pattern, visible=True):
        args = ["search"] + (["--onlyvisible"] if visible else []) + ["--name", title_pattern]
        found = self.xdotool(*args).split()
        return found[0] if found else None

    def keys(self, title_pattern, *keys, pause=0.15):
        """Focus the window whose title matches and press `keys` in turn."""
        win = poll_until(lambda: self.window(title_pattern))
        if not win:
            raise AssertionError("no window " + title_pattern)
        self.xdotool("windowfocus", "--sync", win)
        for key in keys:
            self.xdotool("key", "--clearmodifiers", key)
            time.sleep(pause)


MAIN = "^ZR-3817 "


def frequency_commands(commands):
    return [c for c in commands if re.fullmatch(r"F\d{7}", c)]


class Failures:
    """Collects every failure of a run, so one run reports them all."""

    def __init__(self):
        self.items = []
        self.checks = 0

    def check(self, ok, text):
        self.checks += 1
        if not ok:
            self.items.append(text)
            print("FAIL:", text, file=sys.stderr)
        return ok

    def finish(self, session):
        if session:
            session.failed = bool(self.items)
            session.close()
        failed = len(self.items)
        print("checks: %d passed, %d failed" % (self.checks - failed, failed))
        return 1 if failed or not self.checks else 0
