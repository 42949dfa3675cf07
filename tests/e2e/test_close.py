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


def after_route(app):
    app.press_start()
    app.wait_for_route_end()


MOMENTS = [("before START", before_start), ("while driving", while_driving),
           ("in a stop pause", in_stop_pause), ("after the route", after_route)]


class CloseTest(EndToEndCase):
    def test_closing_the_window_ends_the_program_within_2_s_with_status_0(self):
        for moment, reach in MOMENTS:
            with self.subTest(moment), self.launch(moment) as app:
                reach(app)
                asked = time.monotonic()
                self.x.close(app.window)
                status = app.wait_exit(timeout=2)
                took = time.monotonic() - asked
                self.assertIsNotNone(status, f"closed {moment}: still running after 2 s")
                self.assertEqual(status, 0, f"closed {moment}: exit status ({took:.2f} s)")

    def test_close_waits_for_the_open_message_box_then_ends_the_program(self):
        # The message box is modal: while it is open, the main window refuses
        # to close, as any window blocked by a modal box does.
        with self.launch() as app:
            after_route(app)
            self.x.focus(app.window)
            self.x.type("0")
            app.click(L.COMMAND2)
            box = app.message_box(timeout=5)
            self.x.close(app.window)
            self.assertIsNone(app.wait_exit(timeout=1), "the program runs on under the box")
            self.assertEqual(self.x.windows(TITLE), sorted([app.window, box]),
                             "the main window and the message box stay open")
            app.close_message_box(box)
            self.x.wait_windows(TITLE, 1, timeout=5)
            self.x.close(app.window)
            self.assertEqual(app.wait_exit(timeout=2), 0,
                             "closed after the answer: ends within 2 s with status 0")


if __name__ == "__main__":
    unittest.main()
