"""The program reads no command line: the toolkit's own options, which would
restyle the window, change no pixel of it."""

import os
import unittest

from harness import ARTIFACTS, EndToEndCase

# Each would change the window's look if the toolkit read it.
OPTIONS = [
    ("a style sheet", ["-stylesheet", "{sheet}"]),
    ("a style sheet, one argument", ["-stylesheet={sheet}"]),
    ("another style", ["-style", "windows"]),
]

SHEET = "* { background: rgb(255, 0, 255); color: rgb(0, 255, 0); font-size: 30px; }\n"


class CommandLineTest(EndToEndCase):
    def test_toolkit_options_change_no_pixel(self):
        sheet = os.path.join(ARTIFACTS, f"{self.id()}.qss")
        with open(sheet, "w") as f:
            f.write(SHEET)
        with self.launch("plain") as app:
            plain = app.shot()
        whole = (0, 0, plain.width, plain.height)
        for what, args in OPTIONS:
            args = [a.format(sheet=sheet) for a in args]
            with self.subTest(what), self.launch(what, args) as app:
                self.assertEqual(app.geometry[2:], (plain.width, plain.height),
                                 f"{what} {args}: the window's size")
                # Painting may take a moment; a restyled window never matches.
                try:
                    app.wait_for("the same pixels as without options",
                                 lambda shot: plain.differing(shot, whole) == 0, timeout=20)
                except AssertionError:
                    changed = plain.differing(app.last_shot, whole)
                    self.fail(f"{what} {args}: {changed} pixels changed")


if __name__ == "__main__":
    unittest.main()
