"""The frame of the working-session test: named steps that keep a screenshot
of a failure, the program under test as a process of its own, retries of
lost input, screenshots taken once painting has finished, and the
command-line tools that check the result from outside.
"""
import contextlib
import os
import shutil
import subprocess
import sys
import time

import images
import xdriver as x


class StepFailed(Exception):
    def __init__(self, step, message):
        super().__init__(message)
        self.step = step


class CheckFailed(Exception):
    pass


class Relay:
    def __init__(self, company, device, ct, tap, inst_tap, times):
        self.company, self.device = company, device
        self.ct, self.tap, self.inst_tap = ct, tap, inst_tap
        self.times = times

    @property
    def key(self):
        return self.company + "," + self.device

    def typed(self):
        """The field texts in the main window's tab order."""
        return [self.company, self.ct, self.tap, self.inst_tap, self.device] + self.times

    def record_line(self):
        """The record as telvara-store prints it (record field order)."""
        return "\t".join([self.company, self.device, self.ct] + self.times
                         + [self.tap, self.inst_tap])


class Harness:
    def __init__(self, args):
        self.args = args
        self.work = args.work
        self.folder = os.path.join(self.work, "store", "relays")
        shutil.rmtree(args.artefacts, ignore_errors=True)
        os.makedirs(args.artefacts)
        self.proc = None
        self.runs = 0
        self.step_count = 0

    # ---- steps and checks -------------------------------------------------

    @contextlib.contextmanager
    def step(self, name):
        self.step_count += 1
        started = time.monotonic()
        print("STEP %d: %s" % (self.step_count, name), flush=True)
        try:
            yield
        except Exception as e:  # every failure names its step
            self.save_failure_shot()
            raise StepFailed(name, "%s: %s" % (type(e).__name__, e)) from e
        print("  done in %.1f s" % (time.monotonic() - started), flush=True)

    @staticmethod
    def require(condition, message):
        if not condition:
            raise CheckFailed(message)

    def save_failure_shot(self):
        try:
            path = self.save_png(x.screenshot(None), "failure-step%d" % self.step_count)
            print("  screen at the failure: %s" % path, file=sys.stderr)
            if self.proc:
                names = [x.window_name(w) for w in x.program_windows(self.proc.pid)]
                print("  the program's windows: %s" % names, file=sys.stderr)
        except Exception as e:  # the display may be gone
            print("  no screenshot of the failure: %s" % e, file=sys.stderr)

    def save_png(self, picture, name):
        path = os.path.join(self.args.artefacts, name + ".png")
        images.write_png(picture, path)
        return path

    def shot(self, window, name, ready=None, timeout=15):
        """A screenshot of the window once its painting has settled and,
        given ready, once ready(picture) holds; at the deadline the last
        one (the caller's check then tells what is wrong). Saved as PNG."""
        x.focus(window)
        x.park_mouse()
        deadline = time.monotonic() + timeout
        while True:
            picture = x.settled_screenshot(window, timeout)
            if ready is None or ready(picture) or time.monotonic() >= deadline:
                break
            time.sleep(0.2)
        self.save_png(picture, name)
        return picture

    # ---- the program ------------------------------------------------------

    def start_program(self):
        self.runs += 1
        log = open(os.path.join(self.args.artefacts, "telvara-run%d.log" % self.runs), "w")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        self.proc = subprocess.Popen([self.args.program], cwd=self.work, env=env,
                                     stdout=log, stderr=subprocess.STDOUT)
        log.close()

    def stop_program(self):
        if self.proc and self.proc.poll() is None:
            print("killing the program (pid %d)" % self.proc.pid, file=sys.stderr)
            self.proc.kill()
            self.proc.wait(timeout=10)

    def program_ended(self):
        return self.proc.poll() is not None

    def windows(self):
        """The program's mapped windows: its dialogs and menus as well."""
        return set(x.program_windows(self.proc.pid))

    def window_names(self):
        return sorted(x.window_name(w) for w in self.windows())

    # ---- input that may be lost under load ---------------------------------

    def press_until(self, window, keys, done, what, attempts=3, timeout=10):
        """Focuses the window and presses the keys until done() holds; a key
        lost while the window was not yet focused is pressed again."""
        for _ in range(attempts):
            if x.is_visible(window):
                x.focus(window)
                x.key(*keys)
            try:
                return x.wait_until(what, done, timeout)
            except x.Timeout:
                print("  no %s yet: pressing %s again" % (what, " ".join(keys)), flush=True)
        raise CheckFailed("no %s after %d tries; the program's windows: %s"
                          % (what, attempts, self.window_names()))

    def click_until(self, window, place, done, what, attempts=3, timeout=10, button=1):
        for _ in range(attempts):
            x.focus(window)
            x.click(window, *place, button=button)
            x.park_mouse()
            try:
                return x.wait_until(what, done, timeout)
            except x.Timeout:
                print("  no %s yet: clicking again" % what, flush=True)
        raise CheckFailed("no %s after %d clicks; the program's windows: %s"
                          % (what, attempts, self.window_names()))

    # ---- tools ------------------------------------------------------------

    def run_tool(self, command):
        done = subprocess.run(command, capture_output=True, text=True, timeout=60)
        if done.returncode != 0:
            raise CheckFailed("%s ended with %d:\n%s%s" % (" ".join(command), done.returncode,
                                                          done.stdout, done.stderr))
        return done.stdout

    def store_tool(self, *args):
        return self.run_tool([self.args.store_tool, self.folder] + list(args))

    def check_record(self, relay):
        line = self.store_tool("find", relay.company, relay.device).rstrip("\n")
        self.require(line == relay.record_line(), "stored record of %s:\n  %r\nwant\n  %r"
                     % (relay.key, line, relay.record_line()))


def count_colour(picture, rgb):
    """The number of pixels of exactly this colour."""
    want = bytes(rgb)
    count = 0
    for row in picture.rows:
        at = row.find(want)
        while at >= 0:
            if at % 3 == 0:
                count += 1
            at = row.find(want, at + 1)
    return count


def stable_file(path):
    """True once the file exists and its size stays the same for a moment."""
    if not os.path.isfile(path):
        return False
    size = os.path.getsize(path)
    time.sleep(0.2)
    return size > 0 and os.path.getsize(path) == size
