"""Answering after the route: the message box, then the window put away."""

import time
import unittest

import layout as L
from harness import TITLE, EndToEndCase
from layout import along
from screen import is_black, is_dark, is_ground, is_red, is_white

ANSWERS = [("right", "0"), ("wrong", "3")]


def text_pixels(p):  # the answer's digits, enabled (black) or greyed
    return sum(p) / 3 < 215


class AnswerTest(EndToEndCase):
    def test_answer_shows_message_then_clears_track_and_puts_answer_controls_away(self):
        for case, typed in ANSWERS:
            with self.subTest(case), self.launch(case) as app:
                app.press_start()
                app.wait_for_route_end()
                self.x.focus(app.window)  # the answer box holds the window's focus
                self.x.type(typed)
                app.wait_for(f"{typed!r} typed into the answer box",
                             lambda s: s.count(L.TEXT1.box(inset=4), is_black) >= 10, timeout=5)
                app.click(L.COMMAND2)

                box = app.message_box(timeout=5)
                self.assertEqual(self.x.windows(TITLE), sorted([app.window, box]),
                                 "the message box is a second top-level window 'Tervalin'")
                frozen = app.shot()
                time.sleep(0.3)
                self.assertStill(frozen, app.shot(), L.TRAM_BAND,
                                 "the traffic stands still while the message box is open")
                app.close_message_box(box)
                self.x.wait_windows(TITLE, 1, timeout=5)

                shot = app.wait_for("the answer button hidden",
                                    lambda s: s.share(L.COMMAND2.box(), is_ground) == 1.0, 5)
                for leg, segment in L.TRACK.items():
                    self.assertEqual(shot.hits(along(*segment, halo=2), is_red), 0,
                                     f"{case}: the track of leg {leg} is gone")
                for number in L.PRINTED_AT:
                    self.assertEqual(shot.count(L.number_place(number).box(), is_red), 0,
                                     f"{case}: leg number {number} is gone")
                answer = L.TEXT1.box(inset=4)
                self.assertShare(shot, answer, is_white, 0.0, 0.1, f"{case}: answer box greyed")
                self.assertShare(shot, answer, is_ground, 0.0, 0.1, f"{case}: answer box shown")
                self.assertEqual(shot.count(answer, is_dark), 0,
                                 f"{case}: the answer's text greyed")
                self.assertGreaterEqual(shot.count(answer, text_pixels), 10,
                                        f"{case}: the answer box keeps {typed!r}")

                time.sleep(0.3)
                later = app.shot()
                self.assertTrue(app.running(), f"{case}: the program goes on after the answer")
                self.assertMoved(shot, later, L.TRAM_BAND,
                                 f"{case}: the traffic drives on after the answer")


if __name__ == "__main__":
    unittest.main()
