"""Drives X windows from outside, as a person at the keyboard and mouse would:
xdotool for input and window search, xwininfo for geometry, xwd for
screenshots, and a WM_DELETE_WINDOW message for the close box (there is no
window manager on the virtual display).

Every wait has a deadline and raises Timeout when it passes.
"""
import os
import re
import subprocess
import sys
import tempfile
import time

import images

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from close_window import close_box  # noqa: E402  (the close box, shared with the start-up test)

TOOL_TIMEOUT = 20  # seconds for one xdotool / xwd / xwininfo call


class Timeout(Exception):
    pass


def run(args, check=True):
    t0 = time.monotonic()
    done = subprocess.run(args, capture_output=True, text=True, timeout=TOOL_TIMEOUT)
    if time.monotonic() - t0 > 2:
        print("  SLOW %.1f s: %s" % (time.monotonic() - t0, " ".join(args)), flush=True)
    if check and done.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (" ".join(args), done.returncode,
                                                   done.stderr.strip()))
    return done.stdout


def xdotool(*args, check=True):
    return run(["xdotool"] + [str(a) for a in args], check=check)


def wait_until(what, probe, timeout, interval=0.1):
    """Calls probe until it returns something true; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Timeout("waited %.0f s for %s" % (timeout, what))
        time.sleep(interval)


def visible_windows(name):
    """Ids of the mapped windows whose name matches the regular expression."""
    out = xdotool("search", "--onlyvisible", "--name", name, check=False)
    return [int(w) for w in out.split()]


def wait_window(name, timeout=20):
    """The newest visible window whose name matches."""
    def probe():
        ids = visible_windows(name)
        return ids[-1] if ids else None
    return wait_until("a window named %r" % name, probe, timeout)


def wait_gone(window, timeout=20):
    wait_until("window %d to close" % window, lambda: not is_visible(window), timeout)


def is_visible(window):
    try:
        out = run(["xwininfo", "-id", str(window)], check=False)
    except subprocess.TimeoutExpired:
        return True
    return "IsViewable" in out


def window_name(window):
    return xdotool("getwindowname", window, check=False).strip()


class Geometry:
    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return "%dx%d at (%d, %d)" % (self.width, self.height, self.x, self.y)


def geometry(window):
    """Client size and absolute position of a window."""
    out = run(["xwininfo", "-id", str(window)])

    def field(label):
        m = re.search(r"^\s*%s:\s*(-?\d+)" % re.escape(label), out, re.M)
        if not m:
            raise RuntimeError("xwininfo gave no %s for %d" % (label, window))
        return int(m.group(1))
    return Geometry(field("Absolute upper-left X"), field("Absolute upper-left Y"),
                    field("Width"), field("Height"))


def focused():
    out = xdotool("getwindowfocus", "-f", check=False).strip()
    return int(out) if out.isdigit() else None


def focus(window, timeout=5):
    """Raises the window and gives it the keyboard focus (no window manager
    does it here), waiting until the server reports it focused."""
    def probe():
        xdotool("windowraise", window, check=False)
        xdotool("windowfocus", window, check=False)
        time.sleep(0.05)
        return focused() == window
    wait_until("the focus on window %d" % window, probe, timeout)
    # Qt sees the focus change through its event queue.
    time.sleep(0.2)


def key(*keys):
    xdotool("key", "--delay", 40, *keys)


def type_text(text):
    if text.isascii():
        xdotool("type", "--delay", 30, "--", text)
        return
    # xdotool types a character the keyboard lacks through a keycode it binds
    # for the moment and unbinds when the command ends; a loaded program that
    # reads the keyboard map late sees the last one unbound. A trailing blank,
    # typed slowly and then erased, keeps the binding alive until it is read.
    xdotool("type", "--delay", 120, "--", text + " ")
    key("BackSpace")


def pointer():
    out = xdotool("getmouselocation", "--shell")
    values = dict(line.split("=", 1) for line in out.split())
    return int(values["X"]), int(values["Y"])


def move_pointer(x, y):
    """Moves the pointer and waits until the server has moved it (xdotool's
    own --sync waits for a motion that never comes when it is there already)."""
    if pointer() == (x, y):
        return
    xdotool("mousemove", x, y)
    wait_until("the pointer at (%d, %d)" % (x, y), lambda: pointer() == (x, y), 5, 0.02)


def click(window, x, y, button=1):
    """A click at (x, y) inside the window's client area."""
    g = geometry(window)
    move_pointer(g.x + x, g.y + y)
    time.sleep(0.05)
    xdotool("click", button)


def drag(window, x0, y0, x1, y1, steps=12):
    """Left-button drag inside the window, with intermediate moves."""
    g = geometry(window)
    move_pointer(g.x + x0, g.y + y0)
    xdotool("mousedown", 1)
    for i in range(1, steps + 1):
        move_pointer(g.x + x0 + (x1 - x0) * i // steps, g.y + y0 + (y1 - y0) * i // steps)
        time.sleep(0.02)
    time.sleep(0.1)
    xdotool("mouseup", 1)


def park_mouse():
    """Moves the pointer to the screen's corner, off every control."""
    move_pointer(0, 0)


def screenshot(window=None):
    """A Picture of the window's client area (of the whole screen for None),
    taken from the X server with xwd."""
    fd, path = tempfile.mkstemp(suffix=".xwd")
    os.close(fd)
    try:
        target = ["-root"] if window is None else ["-id", str(window)]
        run(["xwd", "-silent", "-out", path] + target)
        return images.read_xwd(path)
    finally:
        os.unlink(path)


def settled_screenshot(window, timeout=10, interval=0.25):
    """A screenshot taken once two in a row agree: painting has finished
    (an animation or a late repaint would otherwise be caught midway)."""
    previous = screenshot(window)
    deadline = time.monotonic() + timeout
    while True:
        time.sleep(interval)
        current = screenshot(window)
        if current.rows == previous.rows:
            return current
        if time.monotonic() >= deadline:
            raise Timeout("window %d kept changing for %.0f s" % (window, timeout))
        previous = current


def program_windows(pid):
    """Ids of the mapped windows of a process (dialogs and menus included)."""
    out = xdotool("search", "--onlyvisible", "--pid", pid, check=False)
    return [int(w) for w in out.split()]
