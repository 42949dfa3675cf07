"""Without a display the program says so in one line and ends with status 1,
instead of the toolkit's abort."""

import os
import subprocess
import tempfile
import unittest

from harness import EXECUTABLE

LINE = (b"tervalin: no display: neither an X11 nor a Wayland display can be reached; "
        b"start it on a desktop, or without one under a virtual X server: xvfb-run tervalin\n")

# The environment each case sets; DISPLAY, WAYLAND_DISPLAY and
# QT_QPA_PLATFORM are removed first. Display 32765 has no server.
CASES = [
    ("no display at all", {}),
    ("DISPLAY naming no server", {"DISPLAY": ":32765"}),
    ("Wayland asked for, no compositor", {"QT_QPA_PLATFORM": "wayland",
                                          "WAYLAND_DISPLAY": "wl-nobody"}),
]


class NoDisplayTest(unittest.TestCase):
    def test_one_line_and_status_1(self):
        if not EXECUTABLE:
            self.skipTest("TERVALIN_EXE names no program")
        with tempfile.TemporaryDirectory(prefix="xdg-") as runtime:
            base = {k: v for k, v in os.environ.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
            base["XDG_RUNTIME_DIR"] = runtime
            for what, extra in CASES:
                with self.subTest(what):
                    result = subprocess.run([EXECUTABLE], env=dict(base, **extra),
                                            capture_output=True, timeout=30)
                    self.assertEqual(result.returncode, 1,
                                     f"{what}: exit status; stderr: {result.stderr!r}")
                    self.assertEqual(result.stderr, LINE, f"{what}: standard error")
                    self.assertEqual(result.stdout, b"", f"{what}: standard output")


if __name__ == "__main__":
    unittest.main()
