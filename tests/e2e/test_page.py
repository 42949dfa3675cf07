"""The web page around the window: how it shows the window on a desktop's and
on a phone's screen, a whole run by touch, Qt's variables from its address,
and that it works from any folder of a server."""

import re
import unittest

import layout as L
from harness import EXECUTABLE, EndToEndCase
from page import FRAME_LINE, is_page_program
from screen import is_white
from test_run import button_hidden, start_hidden

FRAME_LOG = re.compile(r"^tervalin\.frames: \d+\.\d{6} \d+\.\d{6}$")
PAGE_GROUND = (0x6B, 0x6B, 0x6B)  # the plain ground around the window


@unittest.skipUnless(is_page_program(EXECUTABLE), "the web build's page")
class PageTest(EndToEndCase):
    def test_window_whole_on_a_plain_ground_from_any_folder(self):
        with self.launch(folder="/school/exercises/") as app:
            page = app.browser.evaluate(
                "({title: document.title, icons: [...document.querySelectorAll('link[rel=icon]')]"
                ".map(l => l.getAttribute('href')), scrolls: document.documentElement.scrollWidth >"
                " innerWidth || document.documentElement.scrollHeight > innerHeight,"
                " overflow: getComputedStyle(document.body).overflow})")
            self.assertEqual(page["title"], "Tervalin")
            self.assertEqual(page["icons"], ["tervalin.svg", "tervalin.ico"], "relative icons")
            self.assertFalse(page["scrolls"], "nothing to scroll")
            self.assertEqual(page["overflow"], "hidden", "no scroll bars")
            x, y, width, height = app.rect
            self.assertEqual((width, height), (754, 568), "the window at its own size")
            self.assertEqual((x, y), ((1024 - 754) / 2, (768 - 568) / 2), "in the middle")
            around = app.browser.screenshot(0, 0, 1024, 768)
            for corner in [(0, 0), (1023, 0), (0, 767), (1023, 767)]:
                self.assertEqual(around.pixel(*corner), PAGE_GROUND, f"plain ground at {corner}")
            for icon in page["icons"]:
                self.assertTrue(app.browser.evaluate(f"fetch('{icon}').then(r => r.ok)"), icon)
            asked = {path for path in app.server.requested if path.startswith("/school/")}
            self.assertTrue({"/school/exercises/tervalin.html", "/school/exercises/tervalin.js",
                             "/school/exercises/tervalin.wasm"} <= asked, sorted(asked))
            self.assertEqual([line for line in app.console_lines() if line.startswith(FRAME_LINE)],
                             [], "no frame log unless the address asks for it")

    def test_run_by_touch_on_a_phone_held_upright(self):
        """390 x 844 CSS pixels at ratio 3: the window drawn smaller at the
        screen's resolution, taps as clicks, the answer through the phone's
        keyboard (text input, as an on-screen keyboard commits it)."""
        with self.launch(screen=(390, 844), scale=3, touch=True, phone=True) as app:
            x, y, width, height = app.rect
            self.assertLessEqual(width, 390, "the window fits the screen's width")
            self.assertGreaterEqual(x, 0)
            self.assertAlmostEqual(width / height, 754 / 568, delta=0.01, msg="not distorted")
            self.assertEqual(app.shot_size, (round(width * 3), round(height * 3)),
                             "the screenshot holds the screen's pixels")
            canvas = app.browser.evaluate("[document.querySelector('canvas').width,"
                                          " document.querySelector('canvas').height]")
            self.assertEqual(canvas, [round(width * 3), round(height * 3)],
                             "drawn at the screen's full resolution")
            app.press_start("touch")
            app.wait_for("START hidden by a tap", start_hidden, timeout=5)
            # After the route, where the answer button stays put away once it
            # has judged (the last leg shows it again every frame).
            app.wait_for_route_end()
            box = app.answer("touch", "0")
            app.tap_message_box_ok(box)
            app.wait_message_boxes_closed(timeout=5)
            shot = app.wait_for("the answer box greyed",
                                lambda s: s.share(L.TEXT1.box(inset=4), is_white) <= 0.1, 5)
            self.assertTrue(button_hidden(shot), "the answer button put away")

    def test_qt_variables_from_the_address(self):
        with self.launch(env={"QT_LOGGING_RULES": "tervalin.frames.debug=true"}) as app:
            app.press_start()
            app.wait_for("START hidden", start_hidden, timeout=5)
            lines = app.wait_console_lines(FRAME_LINE, 30, timeout=10)
            self.assertTrue(all(FRAME_LOG.match(line) for line in lines), lines[:3])


if __name__ == "__main__":
    unittest.main()
