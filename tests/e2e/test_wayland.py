"""The program as a native Wayland client, in Weston nested in the test's own
X server: the opening scene, a title bar with the whole title and only a
close box, START from the keyboard, a message box closed by Return, and
closing by the close box."""

import functools
import operator
import os
import subprocess
import time
import unittest

import layout as L
from layout import along
from harness import ARTIFACTS, EXECUTABLE, SANITIZER_REPORT, EndToEndCase, route_ended, vehicle_at
from screen import is_dark, is_ground, is_red
from test_opening import SCENE
from weston import GROUND, Weston
from xserver import die_with_parent

CLIENT_WIDTH, CLIENT_HEIGHT = 754, 568
TITLE_BAR = 30  # the height of the title bar above the client area


# Per colour channel, a byte table giving 1 for a value off the ground's.
OFF_GROUND = [bytes(int(v != c) for v in range(256)) for c in GROUND]


def off_ground(red, green, blue):
    """How many pixels, given as their channels' bytes, are not the ground."""
    masks = (int.from_bytes(channel.translate(table), "big")
             for channel, table in zip((red, green, blue), OFF_GROUND))
    return functools.reduce(operator.or_, masks).bit_count()


def window_rectangle(shot):
    """(x, y, width, height) of the one window on Weston's ground: the rows and
    columns with more than 100 pixels off the ground (the pointer has fewer).
    Counted a line at a time, so that polling for it leaves the cores free."""
    rgb, row = shot.rgb, 3 * shot.width
    rows = [y for y in range(shot.height)
            if off_ground(*(rgb[y * row + c:(y + 1) * row:3] for c in range(3))) > 100]
    cols = [x for x in range(shot.width)
            if off_ground(*(rgb[3 * x + c::row] for c in range(3))) > 100]
    if not rows or not cols:
        return None
    return cols[0], rows[0], cols[-1] + 1 - cols[0], rows[-1] + 1 - rows[0]


def ink_runs(shot, box, gap=6):
    """The horizontal extents (x0, x1) of the dark marks in a box, marks less
    than `gap` pixels apart counted as one."""
    x0, y0, x1, y1 = box
    inked = [x for x in range(x0, x1) if any(is_dark(shot.pixel(x, y)) for y in range(y0, y1))]
    runs = []
    for x in inked:
        if runs and x - runs[-1][1] <= gap:
            runs[-1][1] = x + 1
        else:
            runs.append([x, x + 1])
    return [tuple(r) for r in runs]


def title_bar_marks(shot, wx, wy, width):
    """The dark marks in the title bar: the title, drawn dark while the window
    is active, and the close box."""
    return ink_runs(shot, (wx, wy + 3, wx + width, wy + TITLE_BAR - 3))


class WaylandTest(EndToEndCase):
    SCREEN = (1024, 800)  # wider than Weston's output: the pointer waits beside it

    def setUp(self):
        super().setUp()
        log = os.path.join(ARTIFACTS, self.id())
        self.weston = Weston(self.x, self.runtime_dir, f"{log}.weston.log")
        self.addCleanup(self.weston.stop)
        self.stderr_path = f"{log}.stderr"
        env = dict(self.weston.env, QT_QPA_PLATFORM="wayland")
        env.pop("DISPLAY")  # the program reaches Weston only
        with open(self.stderr_path, "wb") as err:
            self.proc = subprocess.Popen([EXECUTABLE], env=env, stdout=subprocess.DEVNULL,
                                         stderr=err, preexec_fn=die_with_parent)
        self.addCleanup(self._end_program)
        self.x.focus(self.weston.window)
        self.weston.park_pointer()

    def _end_program(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def shot(self, name):
        shot = self.weston.screenshot()
        shot.save_png(os.path.join(ARTIFACTS, f"{self.id()}.{name}.png"))
        return shot

    def wait_for_window(self, timeout=60):
        deadline = time.monotonic() + timeout
        while True:
            shot = self.weston.screenshot()
            rect = window_rectangle(shot)
            # Shown and painted: the client area's ground under the title bar.
            if rect and is_ground(shot.pixel(rect[0] + 100, rect[1] + TITLE_BAR + 150)):
                return rect
            self.assertIsNone(self.proc.poll(), "the program ended before its window showed")
            self.assertLess(time.monotonic(), deadline, f"no window within {timeout} s")
            time.sleep(0.1)

    def wait_until(self, what, timeout, condition):
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                self.shot("failed")
                self.fail(f"not seen within {timeout} s: {what}")
            self.assertIsNone(self.proc.poll(), f"the program ended while waiting for {what}")
            time.sleep(0.1)

    def test_runs_natively_with_a_close_box_only(self):
        wx, wy, width, height = self.wait_for_window()
        self.assertEqual((width, height), (CLIENT_WIDTH, TITLE_BAR + CLIENT_HEIGHT),
                         "the window: the client area under a title bar, no border")
        client = (wx, wy + TITLE_BAR, CLIENT_WIDTH, CLIENT_HEIGHT)
        opening = self.x.screenshot(None, client)
        opening.save_png(os.path.join(ARTIFACTS, f"{self.id()}.opening.png"))
        for what, boxes, colour, least, most in SCENE:
            with self.subTest(what):
                self.assertShare(opening, boxes, colour, least, most, what)

        # The window is active, its title drawn dark, once Weston has given it
        # the keyboard; only then do keys reach it.
        centre = wx + width / 2
        title_in_middle = lambda runs: any(abs((r[0] + r[1]) / 2 - centre) < 10 for r in runs)
        self.wait_until("the window active, its title dark", 20, lambda: title_in_middle(
            title_bar_marks(self.weston.screenshot(), wx, wy, width)))
        shot = self.shot("title-bar")
        runs = title_bar_marks(shot, wx, wy, width)
        titles = [r for r in runs if abs((r[0] + r[1]) / 2 - centre) < 10]
        boxes = [r for r in runs if r[0] >= wx + width - 40]
        self.assertEqual(len(titles), 1, f"one title in the bar's middle; marks at {runs}")
        self.assertTrue(45 <= titles[0][1] - titles[0][0] <= 100,
                        f"the whole title \"Tervalin\" shows: {titles[0]}")
        self.assertEqual(len(boxes), 1, f"one close box at the bar's right end; marks at {runs}")
        self.assertEqual(sorted(titles + boxes), runs,
                         f"nothing else in the bar (no minimise or maximise); marks at {runs}")

        # START has the keyboard focus; Space presses it: START hides itself
        # and the watched vehicle drives away from its start.
        self.x.key("space")
        self.wait_until("START hidden and the vehicle driving away", 10, lambda: (
            not vehicle_at(after := self.x.screenshot(None, client), L.TERVALIN) and
            after.share(L.START_ONLY.box(), is_ground) == 1.0))

        # A message box shows over Weston's ground or the window, in the
        # window's face colour (that of the title bar), and Return closes it.
        face = bytes(shot.pixel(wx + 30, wy + 4))
        title_bar = (wx, wy, width, TITLE_BAR)
        face_count = lambda: (self.weston.screenshot().rgb.count(face) -
                              self.x.screenshot(None, title_bar).rgb.count(face))
        self.wait_until("the route's end with the answer controls", 40,
                        lambda: route_ended(self.x.screenshot(None, client)))
        self.x.type("0")
        before_box = face_count()
        self.weston.click(wx + L.COMMAND2.centre()[0], wy + TITLE_BAR + L.COMMAND2.centre()[1])
        # The box has the keyboard once Weston has made it the active window:
        # the main window's title turns grey.
        self.wait_until("the answer's message box active, the main window's title grey", 20,
                        lambda: not title_in_middle(
                            title_bar_marks(self.weston.screenshot(), wx, wy, width)))
        self.assertGreater(face_count(), before_box + 5000, "the message box shows")
        self.shot("message-box")
        # Return closes the box, and the answer check goes on to wipe the track.
        self.x.key("Return")
        self.wait_until("the message box closed by Return, the track wiped", 20, lambda: all(
            self.x.screenshot(None, client).hits(along(*L.TRACK[leg], halo=2), is_red) == 0
            for leg in range(6)))

        close_x, close_y = (boxes[0][0] + boxes[0][1]) / 2, wy + TITLE_BAR / 2
        self.weston.click(close_x, close_y)
        try:
            status = self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            gone = window_rectangle(self.shot("not-closed")) is None
            self.fail("the window closed, but the program still runs 10 s later" if gone else
                      "the close box left the window open for 10 s")
        with open(self.stderr_path, "rb") as f:
            err = f.read()
        self.assertIsNone(SANITIZER_REPORT.search(err), err.decode(errors="replace"))
        self.assertEqual((status, err.decode(errors="replace")), (0, ""),
                         "exit status 0 after the close box, nothing on standard error")


if __name__ == "__main__":
    unittest.main()
