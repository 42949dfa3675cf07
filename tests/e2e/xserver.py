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

import xlib


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
            number = _read_line(read_end, timeout=60)
        finally:
            os.close(read_end)
        if not number:
            self.stop()
            raise RuntimeError(f"Xvfb gave no display number; see {log_path}")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)
        self._xlib = xlib.Display(self.display)

    def stop(self):
        if hasattr(self, "_xlib"):
            self._xlib.close()
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

    def windows_of_class(self, name):
        """The windows whose class is exactly `name`, oldest first."""
        found = self._xdotool("search", "--class", f"^{re.escape(name)}$", check=False)
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

    def click_at(self, x, y):
        """A left click at pixel (x, y) of the screen."""
        self._xdotool("mousemove", "--sync", round(x), round(y), "click", 1)

    def move_pointer(self, x, y):
        self._xdotool("mousemove", "--sync", round(x), round(y))

    def click_here(self):
        """A left click where the pointer is."""
        self._xdotool("click", 1)

    def type(self, text):
        self._xdotool("type", "--delay", 50, text)

    def key(self, name):
        self._xdotool("key", name)

    def clear_clipboard(self):
        """Empties the clipboard; xclip offers nothing until another client takes it."""
        subprocess.run(["xclip", "-selection", "clipboard", "-i", "/dev/null"], env=self.env,
                       check=True, timeout=20)

    def clipboard(self):
        """The text on the clipboard, or None while nobody offers one (xclip)."""
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                                capture_output=True, timeout=20)
        return result.stdout.decode() if result.returncode == 0 else None

    def close(self, window):
        """Asks the window to close, as a window manager's close box does."""
        self._xlib.send_delete_window(window)

    def screenshot(self, window, geometry=None):
        """The window as it shows on the screen, including what covers it."""
        return self._xlib.grab(*(geometry or self.geometry(window)))


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
