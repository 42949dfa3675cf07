"""The program as a native Wayland client, in Weston nested in the test's own
X server: the opening scene, a title bar with the whole title and only a
close box, START from the keyboard, a message box closed by Return, and
closing by the close box."""

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


def window_rectangle(shot):
    """(x, y, width, height) of the one window on Weston's ground: the rows and
    columns with more than 100 pixels off the ground (the pointer has fewer)."""
    rows = [y for y in range(shot.height)
            if sum(1 for x in range(0, shot.width, 2) if shot.pixel(x, y) != GROUND) > 50]
    cols = [x for x in range(shot.width)
            if sum(1 for y in range(0, shot.height, 2) if shot.pixel(x, y) != GROUND) > 50]
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


class WaylandTest(EndToEndCase):
    SCREEN = (1024, 800)

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

    def wait_for_window(self, timeout=20):
        deadline = time.monotonic() + timeout
        while True:
            shot = self.weston.screenshot()
            rect = window_rectangle(shot)
            # Shown and painted: the client area's ground under the title bar.
            if rect and is_ground(shot.pixel(rect[0] + 100, rect[1] + TITLE_BAR + 150)):
                return rect
            self.assertIsNone(self.proc.poll(), "the program ended before its window showed")
            self.assertLess(time.monotonic(), deadline, "no window within 20 s")
            time.sleep(0.1)

    def wait_until(self, what, timeout, condition):
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                self.shot("failed")
                self.fail(f"not seen within {timeout} s: {what}")
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

        shot = self.shot("title-bar")
        bar = (wx, wy + 3, wx + width, wy + TITLE_BAR - 3)
        runs = ink_runs(shot, bar)
        centre = wx + width / 2
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
        before_box = face_count()
        self.wait_until("the route's end with the answer controls", 40,
                        lambda: route_ended(self.x.screenshot(None, client)))
        self.x.type("0")
        self.x.click_at(wx + L.COMMAND2.centre()[0], wy + TITLE_BAR + L.COMMAND2.centre()[1])
        self.wait_until("the answer's message box", 10,
                        lambda: face_count() > before_box + 5000)
        self.shot("message-box")
        # Return closes the box, and the answer check goes on to wipe the
        # track. The box may take the keyboard only a moment after it shows;
        # until then Return reaches the main window, where the box in the way
        # drops it: Return is pressed again until the track is gone.
        track_gone = lambda: all(
            self.x.screenshot(None, client).hits(along(*L.TRACK[leg], halo=2), is_red) == 0
            for leg in range(6))
        deadline = time.monotonic() + 10
        while not track_gone():
            if time.monotonic() > deadline:
                self.shot("failed")
                self.fail("not seen within 10 s: the message box closed by Return")
            self.x.key("Return")
            time.sleep(1)
        self.assertIsNone(self.proc.poll(), "the program runs on after the message box")

        close_x, close_y = (boxes[0][0] + boxes[0][1]) / 2, wy + TITLE_BAR / 2
        self.x.click_at(close_x, close_y)
        try:
            status = self.proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.shot("not-closed")
            self.fail("the close box did not end the program within 5 s")
        self.assertEqual(status, 0, "exit status after the close box")
        with open(self.stderr_path, "rb") as f:
            err = f.read()
        self.assertIsNone(SANITIZER_REPORT.search(err), err.decode(errors="replace"))
        self.assertEqual(err, b"", "nothing on standard error")


if __name__ == "__main__":
    unittest.main()
