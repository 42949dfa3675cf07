"""Closing the window, as a window manager's close box does, at any moment."""

import time
import unittest

import layout as L
from harness import TITLE, EndToEndCase, vehicle_at


def before_start(app):
    pass


def while_driving(app):
    app.press_start()
    app.wait_for("the vehicle driving away from its start",
                 lambda shot: not vehicle_at(shot, L.TERVALIN), timeout=5)


def in_stop_pause(app):
    app.press_start()
    app.wait_for_pause()


def with_verdict_open(app):
    """After the route, with the answer's message box open; it is modal, so the
    main window refuses to close until the box is closed."""
    app.press_start()
    app.wait_for_route_end()
    return app.answer("mouse", "0")


MOMENTS = [("before START", before_start), ("while driving", while_driving),
           ("in a stop pause", in_stop_pause),
           ("after the route, first with the verdict open", with_verdict_open)]


class CloseTest(EndToEndCase):
    def test_closing_the_window_ends_the_program_within_2_s_with_status_0(self):
        for moment, reach in MOMENTS:
            with self.subTest(moment), self.launch(moment) as app:
                box = reach(app)
                if box:
                    self.x.close(app.window)
                    self.assertIsNone(app.wait_exit(timeout=1), "the program runs on under the box")
                    self.assertEqual(self.x.windows(TITLE), sorted([app.window, box]),
                                     "the main window and the message box stay open")
                    app.close_message_box(box)
                    self.x.wait_windows(TITLE, 1, timeout=5)
                asked = time.monotonic()
                self.x.close(app.window)
                status = app.wait_exit(timeout=2)
                took = time.monotonic() - asked
                self.assertIsNotNone(status, f"closed {moment}: still running after 2 s")
                self.assertEqual(status, 0, f"closed {moment}: exit status ({took:.2f} s)")


if __name__ == "__main__":
    unittest.main()
