"""Places in the main window, in twips as the window description gives them.

Tests find everything through these places, 15 twips to a pixel, so that a
different font rendering does not break them and a misplaced control does.
"""

import math

TWIPS_PER_PIXEL = 15


class Place:
    """A rectangle in twips: Left, Top, Width, Height."""

    def __init__(self, left, top, width, height):
        self.left, self.top, self.width, self.height = left, top, width, height

    def box(self, inset=0):
        """The pixels wholly inside the place, `inset` pixels in from every edge,
        as (x0, y0, x1, y1) with the ends excluded."""
        return (math.ceil(self.left / TWIPS_PER_PIXEL) + inset,
                math.ceil(self.top / TWIPS_PER_PIXEL) + inset,
                math.floor((self.left + self.width) / TWIPS_PER_PIXEL) - inset,
                math.floor((self.top + self.height) / TWIPS_PER_PIXEL) - inset)

    def centre(self):
        return ((self.left + self.width / 2) / TWIPS_PER_PIXEL,
                (self.top + self.height / 2) / TWIPS_PER_PIXEL)

    def changed(self, left=None, top=None, height=None):
        return Place(self.left if left is None else left, self.top if top is None else top,
                     self.width, self.height if height is None else height)


def pixel(twips):
    return round(twips / TWIPS_PER_PIXEL)


def along(x1, y1, x2, y2, halo):
    """The pixels within `halo` of a horizontal or vertical segment, as one box
    per pixel step along it (each box spans the segment's width, 2 * halo + 1)."""
    if y1 == y2:
        y = pixel(y1)
        return [(x, y - halo, x + 1, y + halo + 1)
                for x in range(pixel(min(x1, x2)), pixel(max(x1, x2)))]
    x = pixel(x1)
    return [(x - halo, y, x + halo + 1, y + 1)
            for y in range(pixel(min(y1, y2)), pixel(max(y1, y2)))]


CLIENT = Place(0, 0, 11310, 8520)  # the window's client area

# Controls
COMMAND1 = Place(4440, 6480, 1455, 615)  # START
TEXT2 = Place(4440, 6480, 1455, 525)  # the clock box, under START
# The strip of START below the clock box: START's colours while it is shown,
# the ground once it is hidden.
START_ONLY = Place(4440, 6480 + 525, 1455, 615 - 525)
TEXT1 = Place(8640, 5100, 735, 915)  # the answer box
COMMAND2 = Place(8280, 6120, 1455, 495)  # the answer button
LABEL1 = Place(4320, 5400, 4215, 495)  # the answer prompt
LABEL2 = Place(120, 7320, 10845, 1125)  # the task text

# Sign boxes: a 2-pixel border round the picture.
PICTURE2 = Place(9000, 1560, 735, 735)  # STOP
PICTURE5 = Place(2160, 6480, 735, 735)  # parking

# Vehicles where they stand when the window opens
ROSE_AUTO = Place(480, 360, 255, 495)
RED_TRAM = Place(9960, 1800, 495, 135)
AVTO_BLUE = Place(120, 0, 255, 375)
TERVALIN = Place(3840, 6960, 105, 330)

# The watched vehicle stands about a second at each of two places below the
# rails, one step (100 twips) apart: first at Top 2140, then at Top 2040.
PAUSE_TOPS = (2140, 2040)


def pause_place(top):
    return TERVALIN.changed(left=10000, top=top)


# Where only the background traffic moves: the tram along the rails (left of
# the watched vehicle's road), and the two cars down the left road.
TRAM_BAND = Place(0, 1770, 9700, 195)
CARS_BAND = Place(0, 0, 780, 4900)

# A stretch of the central block with nothing on it.
OPEN_GROUND = Place(1500, 2100, 7200, 1000)

# The watched vehicle's track: the middle of each leg, away from its corners
# (x1, y1, x2, y2 of the top-left corner's path).
TRACK = {
    0: (3840, 6600, 3840, 5000),
    1: (4300, 4640, 9600, 4640),
    2: (10000, 4300, 10000, 700),
    3: (9600, 300, 900, 300),
    4: (500, 700, 500, 3300),
    5: (900, 3640, 3100, 3640),
    6: (3500, 4000, 3500, 5700),
}

# Where the leg numbers are printed: the top-left corner of the text, whose
# first character is the blank before a positive number.
PRINTED_AT = {1: (3840, 4660), 2: (9840, 4640), 3: (10000, 340),
              4: (600, 300), 5: (500, 3420), 6: (3400, 3640)}


def number_place(n):
    """Where the digit of leg number `n` shows: right of the blank before it,
    below the top of the line, clipped off what lies over it or runs through it."""
    x, y = PRINTED_AT[n]
    left, top, right, bottom = x + 150, y + 90, x + 450, y + 540
    if n == 4:
        bottom = 600  # the no-overtaking sign's box covers the rest
    if n == 5:
        top = 3690  # below the track of leg 5, which runs through the digit
    if n == 6:
        right = 3720  # the no-left-turn sign's box covers the rest
    return Place(left, top, right - left, bottom - top)
