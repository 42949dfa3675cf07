"""The time limit: four minutes after the window opened, whatever the user does."""

import sys
import time
import unittest

import layout as L
from harness import TIME_UP, EndToEndCase, copied_message

LIMIT = 240  # seconds: the clock's minute count reaching 4


class TimeLimitTest(EndToEndCase):
    def test_time_out_message_after_4_minutes_then_the_program_ends(self):
        with self.launch() as app:
            app.press_start()
            box = app.message_box(timeout=LIMIT + 10)
            shown_after = time.monotonic() - app.opened_at
            print(f"time-out message {shown_after:.2f} s after the window opened", file=sys.stderr)
            self.assertAlmostEqual(shown_after, LIMIT, delta=1.0,
                                   msg="seconds from the window opening to the time-out message")
            if app.wine:  # Windows copies a message box on Ctrl+C: title, text, buttons
                self.assertEqual(app.message_text(box), copied_message(TIME_UP))
            app.close_message_box(box)
            self.assertEqual(app.wait_exit(timeout=2), 0,
                             "the program ends within 2 s of the message closing, status 0")
            if hasattr(app, "reload"):  # the page kept nothing: reloading it starts afresh
                app.reload()
                self.assertShare(app.shot(), L.START_ONLY.box(), lambda p: p != (192, 192, 192),
                                 0.95, 1.0, "START shown again")


if __name__ == "__main__":
    unittest.main()
