"""A Wayland compositor for one test: Weston, nested in the test's own X
server through its X11 backend.

Weston's output is an X window at (0, 0) of that server, so the X server's
screenshots show what Weston shows, and xdotool's keys and clicks, given to
Weston's window, reach the Wayland client that has Weston's focus. The
desktop shell runs without its panel and on a plain ground, so that only the
clients' windows differ from the ground.

Weston's X11 backend moves its own pointer by the X pointer's motion relative
to the last X position it saw, and takes an absolute position only when the
X pointer enters its window. When it misses the position the X server starts
with, as it does now and then on a busy machine, its pointer stays at (0, 0)
while the X pointer moves on, and a click lands on the ground there. So the
X screen is wider than the output, the pointer waits off the output, and a
click comes in from there (`click`).
"""

import os
import subprocess
import time

from xserver import die_with_parent

GROUND = (0x20, 0x40, 0x60)  # the shell's ground, where no window is
WIDTH, HEIGHT = 1000, 800

CONFIG = f"""\
[core]
idle-time=0

[shell]
panel-position=none
background-image=
background-type=tile
background-color=0xff{GROUND[0]:02x}{GROUND[1]:02x}{GROUND[2]:02x}
locking=false
"""


class Weston:
    def __init__(self, x, runtime_dir, log_path, socket="wl-tervalin"):
        """Starts Weston on the X server `x`; Wayland clients find it through
        `self.env` (WAYLAND_DISPLAY and XDG_RUNTIME_DIR, a 0700 folder)."""
        self.x = x
        config = os.path.join(runtime_dir, "weston.ini")
        with open(config, "w") as f:
            f.write(CONFIG)
        self.env = dict(x.env, XDG_RUNTIME_DIR=runtime_dir, WAYLAND_DISPLAY=socket)
        self._log = open(log_path, "wb")
        self._proc = subprocess.Popen(
            ["weston", "--backend=x11-backend.so", f"--socket={socket}", f"--width={WIDTH}",
             f"--height={HEIGHT}", "--use-pixman", f"--config={config}"],
            env=self.env, stdout=self._log, stderr=subprocess.STDOUT,
            preexec_fn=die_with_parent)
        self.window = self._wait_for_output(os.path.join(runtime_dir, socket))

    def _wait_for_output(self, socket_path, timeout=60):
        """Waits for the socket and for Weston's X window showing the shell's ground."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self._proc.poll() is not None:
                self._log.close()
                raise RuntimeError(f"weston ended with status {self._proc.returncode}; "
                                   f"see {self._log.name}")
            windows = self.x.windows_of_class("Weston Compositor")
            if os.path.exists(socket_path) and windows:
                shot = self.x.screenshot(None, (0, 0, WIDTH, HEIGHT))
                if shot.pixel(WIDTH // 2, HEIGHT // 2) == GROUND:
                    return windows[0]
            time.sleep(0.1)
        raise RuntimeError("weston's output did not show within "
                           f"{timeout} s; see {self._log.name}")

    def stop(self):
        if self._proc.poll() is None:
            self._proc.terminate()
            self._proc.wait(timeout=10)
        self._log.close()

    def screenshot(self):
        return self.x.screenshot(None, (0, 0, WIDTH, HEIGHT))

    def park_pointer(self):
        """Moves the pointer to the output's bottom-right corner, out of the way,
        and on off the output, from where the next click comes in. Weston's
        pointer stays in the corner."""
        # xdotool's --sync waits long for a pointer already where it is sent.
        self.x.move_pointer(WIDTH - 1, HEIGHT - 1)
        self.x.move_pointer(WIDTH + 10, HEIGHT - 1)  # the test's X screen is wider

    def click(self, x, y, timeout=20):
        """A left click at (x, y) of the output, given once Weston shows its pointer
        there: the client under it has then had the pointer's enter, which Weston
        sends before the button."""
        self.park_pointer()
        spot = (round(x), round(y), 8, 12)  # the arrow reaches right and down from its tip
        before = self.x.screenshot(None, spot)
        self.x.move_pointer(x, y)
        deadline = time.monotonic() + timeout
        while self.x.screenshot(None, spot).rgb == before.rgb:
            if time.monotonic() > deadline:
                raise AssertionError(f"Weston's pointer did not show at ({x}, {y}) within "
                                     f"{timeout} s")
            time.sleep(0.05)
        self.x.click_here()
