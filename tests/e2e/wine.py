"""The Windows build of the program, run under Wine on the test's X server.

A Windows program (a path ending in .exe) runs through scripts/wine-run.sh in
a Wine prefix of its own: a copy of the prefix that $WINEPREFIX names (the
build's, made once), made in a moment of hard links but for what Wine writes
to. So every test has its own Wine server on its own X server, and nothing
one run leaves in a prefix reaches another. What a run left in its prefix is
read back: the files on drive C: and the registry's keys, less Windows' and
Wine's own.

Wine draws the window's frame itself, inside the X window: its title bar and
borders surround the client area, which the tests find by FRAME.
"""

import os
import shutil
import subprocess
import tempfile

RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                   "wine-run.sh")

# Wine 8's frame of a fixed-size tool window with a caption: (left, top,
# right, bottom) in pixels, measured under Xvfb at 96 dots per inch (the
# window of 754 x 568 is 760 x 590 with it).
FRAME = (3, 19, 3, 3)

# What Qt says on stderr under Wine, at its start and for every window: Wine
# lacks the per-monitor DPI awareness of Windows 10, and Qt falls back to the
# older one. Nothing else may appear there.
KNOWN_WARNINGS = ("SetProcessDpiAwarenessContext(", "EnableNonClientDpiScaling() failed")


# Where Windows and Wine keep their own files and records. HKCU\Console
# holds the settings of Wine's console host, which starts now and then
# beside a program under Wine (seen once in a close during a stop pause) and
# which no Windows GUI program such as Tervalin touches.
OWN = ("drive_c/windows/", "[Software\\\\Wine", "[System\\\\", "[Console]")


def is_windows_program(path):
    return path.lower().endswith(".exe")


def windows_path(path):
    """A host's file as Windows programs under Wine name it: drive Z: is /."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Prefix:
    """A Wine prefix for one test; stop() ends its Wine server and removes it."""

    def __init__(self):
        template = os.environ.get("WINEPREFIX")
        if not template:
            raise RuntimeError("WINEPREFIX names no Wine prefix to copy")
        subprocess.run([RUN], env=dict(os.environ, WINEPREFIX=template), check=True)
        self._folder = tempfile.mkdtemp(prefix="wine-")
        self.path = os.path.join(self._folder, "prefix")
        # Wine rewrites the registry's files in place, and may write on drive C:
        # for its user: those are copied, Wine's own files are linked.
        subprocess.run(["cp", "-al", template, self.path], check=True)
        for own in ["drive_c/users"] + [n for n in os.listdir(template) if n.endswith(".reg")]:
            subprocess.run(["rm", "-rf", os.path.join(self.path, own)], check=True)
            subprocess.run(["cp", "-a", os.path.join(template, own), os.path.join(self.path, own)],
                           check=True)
        self._before = self._contents()

    def command(self, program, args=()):
        return [RUN, program, *args]

    def env(self, env):
        return dict(env, WINEPREFIX=self.path)

    def _contents(self):
        files = {os.path.relpath(os.path.join(folder, name), self.path)
                 for folder, _, names in os.walk(os.path.join(self.path, "drive_c"))
                 for name in names}
        keys = set()
        for hive in ("system.reg", "user.reg"):
            with open(os.path.join(self.path, hive), encoding="utf-8", errors="replace") as f:
                keys |= {line.split("]")[0] + "]" for line in f if line.startswith("[")}
        return {item for item in files | keys if not item.startswith(OWN)}

    def host_path(self, path):
        """Where a path on drive C: lies in the prefix."""
        drive, rest = path.split(":", 1)
        assert drive.upper() == "C", path
        return os.path.join(self.path, "drive_c", *rest.strip("\\").split("\\"))

    def end_server(self):
        """Ends the prefix's Wine server and its programs; the server saves the
        registry as it ends."""
        for ending in ("--kill", "--wait"):
            subprocess.run(["wineserver", ending], env=self.env(os.environ),
                           stderr=subprocess.DEVNULL, check=False)

    def mark(self):
        """From now on, added() counts what is added."""
        self.end_server()
        self._before = self._contents()

    def added(self):
        """What runs added since the prefix was made or marked: new files on
        drive C: and registry keys."""
        self.end_server()
        return sorted(self._contents() - self._before)

    def stop(self):
        """Returns what runs added, and removes the prefix."""
        added = self.added()
        shutil.rmtree(self._folder, ignore_errors=True)
        return added


def without_known_warnings(text):
    return "".join(line for line in text.splitlines(keepends=True)
                   if not any(known in line for known in KNOWN_WARNINGS))
