"""The window as it opens: the road scene, START, and no answer controls."""

import os
import subprocess
import unittest

import layout as L
import page
import wine
from harness import EXECUTABLE, EndToEndCase
from layout import along
from screen import (Image, is_black, is_cyan, is_dark, is_dark_red, is_ground, is_light,
                    is_pink, is_red, is_sign_blue, is_sign_red, is_white)

# What shows where when the window opens: (what, pixels, colour, least share,
# greatest share). Lines are checked along the middle of their length, away
# from what crosses them.
SCENE = [
    ("open ground of the central block", L.OPEN_GROUND.box(), is_ground, 1.0, 1.0),
    ("upper rail Line12, 1 px", along(1000, 1800, 8800, 1800, 0), is_dark, 0.98, 1.0),
    ("lower rail Line11, 1 px", along(1000, 1920, 8800, 1920, 0), is_dark, 0.98, 1.0),
    ("ground between the rails", along(1000, 1860, 8800, 1860, 1), is_ground, 1.0, 1.0),
    ("ground just outside the rails", along(1000, 1770, 8800, 1770, 0) +
     along(1000, 1950, 8800, 1950, 0), is_ground, 1.0, 1.0),
    ("road edge Line13, 3 px", along(4400, 4920, 10200, 4920, 1), is_dark, 0.98, 1.0),
    ("ground beside Line13", along(4400, 4875, 10200, 4875, 0) +
     along(4400, 4965, 10200, 4965, 0), is_ground, 1.0, 1.0),
    ("road edge Line8, 3 px", along(840, 4100, 840, 7200, 1), is_dark, 0.98, 1.0),
    ("ground beside Line8", along(795, 4100, 795, 7200, 0) + along(885, 4100, 885, 7200, 0),
     is_ground, 1.0, 1.0),
    ("light dash-dot centre line Line2", along(360, 900, 360, 7200, 0), is_light, 0.3, 0.95),
    ("dashed line Line5", along(9800, 2280, 10350, 2280, 0), is_dark, 0.3, 0.9),
    # rose_auto's lower part lies under the no-overtaking sign's box.
    ("pink rose_auto", L.ROSE_AUTO.changed(height=240).box(inset=2), is_pink, 0.95, 1.0),
    ("dark-red red_tram", L.RED_TRAM.box(inset=3), is_dark_red, 0.95, 1.0),
    ("cyan body of avto_blue", L.AVTO_BLUE.box(inset=2), is_cyan, 0.6, 0.98),
    ("red hatch of avto_blue", L.AVTO_BLUE.box(inset=2), is_red, 0.02, 0.4),
    ("black tervalin at its start", L.TERVALIN.box(inset=1), is_black, 0.95, 1.0),
    ("red STOP sign", L.PICTURE2.box(inset=2), is_sign_red, 0.3, 1.0),
    ("blue parking sign", L.PICTURE5.box(inset=2), is_sign_blue, 0.4, 1.0),
    ("START below the clock box's height", L.START_ONLY.box(), is_ground, 0.0, 0.05),
    ("START's caption", L.COMMAND1.box(inset=6), is_dark, 0.01, 0.5),
    ("task text's light ground", L.LABEL2.box(inset=2), is_white, 0.6, 1.0),
    ("task text's caption", L.LABEL2.box(inset=2), is_dark, 0.02, 0.4),
    # The answer controls are hidden: their places show the ground beneath.
    ("hidden answer prompt Label1", L.LABEL1.box(), is_ground, 1.0, 1.0),
    ("hidden answer box Text1", L.TEXT1.box(), is_ground, 1.0, 1.0),
    ("hidden answer button Command2", L.COMMAND2.box(), is_ground, 1.0, 1.0),
]


class OpeningTest(EndToEndCase):
    def test_window_opens_with_scene_start_and_no_answer_controls(self):
        with self.launch() as app:
            x, y, width, height = app.geometry
            self.assertEqual((width, height), (754, 568), "client area 11310 x 8520 twips")
            shot = app.shot()
            for what, boxes, colour, least, most in SCENE:
                with self.subTest(what):
                    self.assertShare(shot, boxes, colour, least, most, what)

    @unittest.skipUnless(page.is_page_program(EXECUTABLE), "the web build's page")
    def test_page_shows_the_scene_as_on_linux(self):
        """The page's window beside the Linux window's screenshot (docs/): the
        scene's pixels alike, and only the text set in other fonts' hinting
        and the Fusion buttons' gradients apart."""
        linux = Image.load_png(os.path.join(os.path.dirname(__file__), "..", "..", "docs",
                                            "screenshot.png"))
        with self.launch() as app:
            shot = app.shot()
        scene = [(0, 0, 754, 430), (0, 430, 280, 488), (330, 430, 754, 488)]  # above the texts
        for fuzz, least in [(0, 0.999), (48, 0.9995)]:
            alike = sum(max(abs(a - b) for a, b in zip(shot.pixel(x, y), linux.pixel(x, y))) <= fuzz
                        for x0, y0, x1, y1 in scene for y in range(y0, y1) for x in range(x0, x1))
            share = alike / sum((x1 - x0) * (y1 - y0) for x0, y0, x1, y1 in scene)
            self.assertGreaterEqual(share, least, f"scene pixels within {fuzz} levels of Linux's")
        whole = shot.differing(linux, (0, 0, 754, 568)) / (754 * 568)
        self.assertLess(whole, 0.03, "the whole window, texts and buttons included")

    @unittest.skipUnless(wine.is_windows_program(EXECUTABLE), "the frame Windows draws")
    def test_windows_frame_has_a_title_and_a_close_box_only(self):
        """No minimise or maximise button, no resizing border, and no task-bar
        button of its own (a tool window), as Windows records the window."""
        with self.launch() as app:
            read = subprocess.run(app.wine.command(os.environ["WINDOW_STYLE_EXE"]),
                                  env=app.wine.env(self.x.env), capture_output=True, text=True,
                                  timeout=60)
            self.assertEqual(read.stdout.split(), ["WS_CAPTION", "WS_SYSMENU", "WS_EX_TOOLWINDOW"])


if __name__ == "__main__":
    unittest.main()
