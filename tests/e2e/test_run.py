"""A run as the user watches it: START, the stop pauses, the end of the route."""

import time
import unittest

import layout as L
from harness import EndToEndCase, vehicle_at, vehicle_standing_at
from layout import along
from screen import is_dark, is_ground, is_red, is_white


def start_hidden(shot):
    return shot.share(L.START_ONLY.box(), is_ground) == 1.0


def clock_shown(shot):
    """The clock box's white ground, with its minute count written on it."""
    return (shot.share(L.TEXT2.box(inset=4), is_white) > 0.7 and
            shot.count(L.TEXT2.box(inset=4), is_dark) >= 10)


def track(leg):
    return along(*L.TRACK[leg], halo=2)


class RunTest(EndToEndCase):
    def test_start_uncovers_clock_and_everything_stands_still_in_each_stop_pause(self):
        with self.launch() as app:
            opening = app.shot()
            app.press_start()
            app.wait_for("START hidden, the ground beneath it", start_hidden, timeout=5)
            app.wait_for("the clock box showing the minutes", clock_shown, timeout=5)

            for top in L.PAUSE_TOPS:
                with self.subTest(pause_at_top=top):
                    first = app.wait_for_pause(top)
                    seen = time.monotonic()
                    time.sleep(0.3)  # the pause lasts 1 s; both shots fall inside it
                    second = app.shot()
                    later = time.monotonic() - seen
                    self.assertTrue(vehicle_standing_at(second, L.pause_place(top)),
                                    f"the vehicle still stands at Top {top} {later:.2f} s "
                                    "after it was first seen there")
                    self.assertStill(first, second, L.TRAM_BAND,
                                     "the tram stands still during the pause")
                    self.assertStill(first, second, L.CARS_BAND,
                                     "the cars stand still during the pause")
                    self.assertMoved(opening, first, L.TRAM_BAND,
                                     "the tram moved between START and the pause")

    def test_route_ends_at_start_with_track_leg_numbers_and_answer_controls(self):
        with self.launch() as app:
            app.press_start()
            shot = app.wait_for_route_end()

            self.assertTrue(vehicle_at(shot, L.TERVALIN), "the vehicle is back at its start")
            for leg in L.TRACK:
                with self.subTest(track_of_leg=leg):
                    hits = shot.hits(track(leg), is_red)
                    self.assertGreaterEqual(hits, 0.9, f"red track along leg {leg}")
            for number in L.PRINTED_AT:
                with self.subTest(leg_number=number):
                    box = L.number_place(number).box()
                    self.assertGreaterEqual(shot.count(box, is_red), 15,
                                            f"red digit {number} at {shot.describe(box)}")
            for what, place, least_dark in [("answer prompt Label1", L.LABEL1, 0.02),
                                            ("answer button Command2", L.COMMAND2, 0.02),
                                            ("answer box Text1", L.TEXT1, 0.0)]:
                with self.subTest(shown=what):
                    self.assertShare(shot, place.box(inset=3), is_ground, 0.0, 0.05, what)
                    self.assertShare(shot, place.box(inset=3), is_dark, least_dark, 0.5, what)
            self.assertTrue(start_hidden(shot), "START stays hidden")
            self.assertTrue(clock_shown(shot), "the clock box shows the minutes")


if __name__ == "__main__":
    unittest.main()
