"""The whole exercise from the keyboard alone: Return on START, digits and
Return in the answer box, Return to close the verdict."""

import unittest

import layout as L
from harness import TITLE, EndToEndCase
from screen import is_black, is_dark, is_ground, is_white

ANSWERS = [("right", "0"), ("wrong", "3")]


def text_pixels(p):  # the answer's digits, enabled (black) or greyed
    return sum(p) / 3 < 215


class KeyboardTest(EndToEndCase):
    def test_exercise_by_keyboard_only(self):
        verdict_widths = {}
        for case, typed in ANSWERS:
            with self.subTest(case), self.launch(case) as app:
                self.x.key("Return")  # START holds the focus when the window opens
                app.wait_for("START gone, the clock box in its place",
                             lambda s: s.share(L.START_ONLY.box(inset=1), is_ground) > 0.9,
                             timeout=5)
                app.wait_for_route_end()
                self.x.type(typed)  # the route gave the answer box the focus
                app.wait_for(f"{typed!r} typed into the answer box",
                             lambda s: s.count(L.TEXT1.box(inset=4), is_black) >= 10, timeout=5)
                self.x.key("Return")

                box = app.message_box(timeout=5)
                verdict_widths[case] = self.x.geometry(box)[2]
                app.close_message_box(box)  # Return on its OK button
                self.x.wait_windows(TITLE, 1, timeout=5)

                shot = app.wait_for("the answer button hidden",
                                    lambda s: s.share(L.COMMAND2.box(), is_ground) == 1.0, 5)
                answer = L.TEXT1.box(inset=4)
                self.assertShare(shot, answer, is_white, 0.0, 0.1, f"{case}: answer box greyed")
                self.assertEqual(shot.count(answer, is_dark), 0, f"{case}: the answer greyed")
                self.assertGreaterEqual(shot.count(answer, text_pixels), 10,
                                        f"{case}: the answer box keeps {typed!r}")
                self.assertTrue(app.running(), f"{case}: the program goes on after the answer")

        # The wrong answer's message is 60 characters long, the right one's 35:
        # each run got its own verdict.
        self.assertGreater(verdict_widths["wrong"], verdict_widths["right"] + 50,
                           f"message box widths {verdict_widths}")


if __name__ == "__main__":
    unittest.main()
