"""Moments of a run, found by polling screenshots: what the desktop program
and the page share (harness.Program, page.Page)."""

import time

import layout
from screen import is_black, is_ground, is_white


class Moments:
    """Needs shot() and running() of the program it is mixed into."""

    def wait_for(self, what, condition, timeout):
        """Polls screenshots until `condition(shot)` holds; returns that shot."""
        deadline = time.monotonic() + timeout
        while True:
            shot = self.shot()
            if condition(shot):
                return shot
            if time.monotonic() > deadline or not self.running():
                raise AssertionError(f"not seen within {timeout} s: {what}")
            time.sleep(0.02)  # a shot takes a few ms; leave the cores to the program

    def wait_for_pause(self, top=layout.PAUSE_TOPS[0], timeout=20):
        place = layout.pause_place(top)
        return self.wait_for(f"the watched vehicle in its stop pause at Top {top}",
                             lambda shot: vehicle_standing_at(shot, place), timeout)

    def wait_for_route_end(self, timeout=40):
        return self.wait_for("the watched vehicle back at its start with the answer controls",
                             route_ended, timeout)


def vehicle_at(shot, place):
    return shot.share(place.box(inset=1), is_black) > 0.8


def vehicle_standing_at(shot, place):
    """The black vehicle fills the place but not the strips of 90 twips above
    and below it, where it stands one step earlier or later."""
    above = layout.Place(place.left, place.top - 90, place.width, 90)
    below = layout.Place(place.left, place.top + place.height, place.width, 90)
    return (vehicle_at(shot, place) and shot.count(above.box(inset=1), is_black) == 0 and
            shot.count(below.box(inset=1), is_black) == 0)


def scene_painted(shot):
    """The window's first paint: the vehicle at its start, on open ground. A
    window shows before it is painted, black or with what was beneath it."""
    return (vehicle_at(shot, layout.TERVALIN) and
            shot.share(layout.OPEN_GROUND.box(), is_ground) == 1.0)


def route_ended(shot):
    return (vehicle_at(shot, layout.TERVALIN) and
            shot.share(layout.TEXT1.box(inset=4), is_white) > 0.5 and
            shot.share(layout.COMMAND2.box(inset=4), is_ground) < 0.5)
