"""A private X server for one test, and what a user does on it.

Xvfb runs without a window manager: a top-level window sits at (0, 0) with
no frame, no window becomes active by itself, and closing a window is done
here the way a window manager does it, with a WM_DELETE_WINDOW message.
Input goes through xdotool (real XTEST events); screenshots come from the
root window, cropped to the window, so that other windows show as they are.
"""

import ctypes
import os
import re
import select
import signal
import subprocess
import time

from screen import Image


class XServer:
    def __init__(self, log_path, width=1024, height=768):
        # -noreset: by default the server resets whenever its last client
        # leaves, and refuses the connections that come in meanwhile; between
        # two programs of one test that made the second one fail to start.
        read_end, write_end = os.pipe()
        self._log = open(log_path, "wb")
        self._proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-dpi", "96", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=self._log, stderr=subprocess.STDOUT,
            preexec_fn=die_with_parent)
        os.close(write_end)
        try:
            number = _read_line(read_end, timeout=10)
        finally:
            os.close(read_end)
        if not number:
            self.stop()
            raise RuntimeError(f"Xvfb gave no display number; see {log_path}")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)

    def stop(self):
        if self._proc.poll() is None:
            self._proc.terminate()
            self._proc.wait(timeout=10)
        self._log.close()

    def _xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                                text=True, timeout=20)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(map(str, args))}: {result.stderr.strip()}")
        return result.stdout

    def windows(self, title):
        """The mapped windows whose title is exactly `title`, oldest first."""
        found = self._xdotool("search", "--onlyvisible", "--name", f"^{re.escape(title)}$",
                              check=False)
        return sorted(int(w) for w in found.split())

    def wait_windows(self, title, count, timeout):
        """Waits until exactly `count` windows titled `title` are mapped."""
        deadline = time.monotonic() + timeout
        while True:
            found = self.windows(title)
            if len(found) == count:
                return found
            if time.monotonic() > deadline:
                raise AssertionError(
                    f"expected {count} window(s) titled {title!r} within {timeout} s, "
                    f"found {len(found)}")
            time.sleep(0.05)

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen."""
        info = subprocess.run(["xwininfo", "-id", str(window)], env=self.env, check=True,
                              capture_output=True, text=True, timeout=10).stdout
        field = lambda name: int(re.search(rf"{name}:\s+(-?\d+)", info).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    def focus(self, window):
        self._xdotool("windowfocus", "--sync", window)

    def click(self, window, x, y):
        """A left click at pixel (x, y) of the window's client area."""
        self._xdotool("mousemove", "--window", window, "--sync", round(x), round(y), "click", 1)

    def type(self, text):
        self._xdotool("type", "--delay", 50, text)

    def key(self, name):
        self._xdotool("key", name)

    def close(self, window):
        """Asks the window to close, as a window manager's close box does."""
        _send_delete_window(self.display, window)

    def screenshot(self, window, geometry=None):
        """The window as it shows on the screen, including what covers it."""
        x, y, width, height = geometry or self.geometry(window)
        ppm = subprocess.run(
            ["import", "-silent", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
             "+repage", "-depth", "8", "ppm:-"],
            env=self.env, check=True, capture_output=True, timeout=20).stdout
        return Image.from_ppm(ppm)


def die_with_parent():
    """Run in a child before it starts: the child gets SIGTERM when the test
    process dies, so that a test killed at its timeout leaves nothing behind."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def _read_line(fd, timeout):
    text = b""
    deadline = time.monotonic() + timeout
    while not text.endswith(b"\n"):
        ready, _, _ = select.select([fd], [], [], max(0, deadline - time.monotonic()))
        chunk = os.read(fd, 64) if ready else b""
        if not chunk:
            break
        text += chunk
    return text.decode().strip()


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):  # XEvent: every event is padded to 24 longs
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


# Xlib's default error handler ends the process; a close request to a window
# that is already gone must only fail.
_x_errors = []
_on_x_error = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
    lambda display, event: _x_errors.append(event) or 0)


def _send_delete_window(display, window):
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XSetErrorHandler(_on_x_error)
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_Event)]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    dpy = x11.XOpenDisplay(display.encode())
    if not dpy:
        raise RuntimeError(f"cannot open display {display}")
    try:
        event = _Event()
        message = event.xclient
        message.type = 33  # ClientMessage
        message.window = window
        message.message_type = x11.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
        message.format = 32
        message.data[0] = x11.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
        message.data[1] = 0  # CurrentTime
        _x_errors.clear()
        x11.XSendEvent(dpy, window, 0, 0, ctypes.byref(event))
        x11.XSync(dpy, 0)
        if _x_errors:
            raise RuntimeError(f"no window {window} to close")
    finally:
        x11.XCloseDisplay(dpy)
