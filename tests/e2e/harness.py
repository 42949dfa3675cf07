"""The built program on a private X server, driven as a user drives it.

A test case gets its own X server; `with self.launch() as app:` starts the
program, waits for its window and, when the block ends, closes the window if
the program still runs and checks that it ended cleanly: exit status 0 and
nothing on its stderr. The program's stderr and the last screenshot each
launch looked at are kept in the artifacts folder.

A Windows build (TERVALIN_EXE ending in .exe) runs under Wine (wine.py):
places and screenshots are then taken inside the frame Wine draws. The web
build (TERVALIN_EXE ending in .js) runs as its page in headless Chromium
(page.py), with no X server; what the page stored and every address it
asked for are checked as it ends, and its console stands for stderr.
"""

import contextlib
import os
import re
import subprocess
import tempfile
import time
import unittest

import layout
import page
import wine
from moments import Moments, route_ended, scene_painted, vehicle_at, vehicle_standing_at  # noqa: F401
from xserver import XServer, die_with_parent

TITLE = "Tervalin"
EXECUTABLE = os.environ.get("TERVALIN_EXE", "")
ARTIFACTS = os.environ.get("E2E_ARTIFACTS") or tempfile.gettempdir()

# The three messages, each in a box titled TITLE with an OK button only.
RIGHT = "  ПРАВИЛЬНЫЙ ОТВЕТ НАРУШЕНИЙ НЕБЫЛО"
WRONG = "НЕ ВЕРНО ! НАРУШЕНИЙ НЕБЫЛО  ПРОАНАЛИЗИРУИТЕ КАЖДЫЙ УЧАСТОК "
TIME_UP = " ВРЕМЯ   ИСТЕКЛО !"


def copied_message(text):
    """A message box with `text` as Windows copies it on Ctrl+C."""
    line = "-" * 27 + "\n"
    return f"{line}{TITLE}\n{line}{text}\n{line}OK   \n{line}"


SANITIZER_REPORT = re.compile(
    rb"ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: \w+Sanitizer")


class Program(Moments):
    def __init__(self, x, name, runtime_dir, args=(), env=None, executable=EXECUTABLE,
                 prefix=None):
        self.x = x
        self.stderr_path = os.path.join(ARTIFACTS, f"{name}.stderr")
        env = {**x.env, "QT_QPA_PLATFORM": "xcb", "XDG_RUNTIME_DIR": runtime_dir, **(env or {})}
        command = [executable, *args]
        # A Windows program runs in a Wine prefix of its own, or in the one given.
        self.own_prefix = prefix is None
        self.wine = prefix or (wine.Prefix() if wine.is_windows_program(executable) else None)
        if self.wine:
            if prefix:
                prefix.mark()
            # Qt on Windows sends its messages to stderr only when told to.
            env = self.wine.env({**env, "QT_QPA_PLATFORM": "windows", "QT_FORCE_STDERR_LOGGING": "1"})
            command = self.wine.command(executable, args)
        with open(self.stderr_path, "wb") as err:
            self.proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                         stderr=err, preexec_fn=die_with_parent)
        try:
            self.window = x.wait_windows(TITLE, 1, timeout=60)[0]
        except AssertionError as e:
            status = self.proc.poll()
            self.proc.kill()
            self.stop()
            state = "still runs" if status is None else f"ended with status {status}"
            with open(self.stderr_path, errors="replace") as f:
                raise AssertionError(f"{e}; the program {state}, its stderr:\n"
                                     f"{f.read()[-2000:]}") from None
        self.opened_at = time.monotonic()
        self.geometry = x.geometry(self.window)
        # Where the client area lies in the window: Wine's frame is inside it.
        self.origin = (0, 0)
        if self.wine:
            left, top, right, bottom = wine.FRAME
            x0, y0, width, height = self.geometry
            self.origin = (left, top)
            self.geometry = (x0 + left, y0 + top, width - left - right, height - top - bottom)
        x.focus(self.window)
        self.last_shot = None
        # A window may be mapped before it is first painted.
        self.wait_for("the window painted", scene_painted, 20)

    # What the user sees and does
    def shot(self):
        self.last_shot = self.x.screenshot(self.window, self.geometry)
        return self.last_shot

    def click(self, place):
        x, y = place.centre()
        self.x.click(self.window, self.origin[0] + x, self.origin[1] + y)

    def press_start(self, how="mouse"):
        """A click on START, or Return: START holds the focus when the window opens."""
        if how == "keyboard":
            self.x.key("Return")
        else:
            self.click(layout.COMMAND1)

    def answer(self, how, typed=""):
        """Types `typed` into the answer box, which the last leg gave the focus, then
        answers by Return there or by a click on the answer button; returns the
        verdict's message box."""
        if typed:
            self.x.type(typed)
        if how == "keyboard":
            self.x.key("Return")
        else:
            self.click(layout.COMMAND2)
        return self.message_box(timeout=5)

    def message_box(self, timeout):
        """Waits for a second window titled like the main one and returns it."""
        windows = self.x.wait_windows(TITLE, 2, timeout)
        return next(w for w in windows if w != self.window)

    def message_text(self, box):
        """A message box's title, text and buttons as Windows copies them on
        Ctrl+C, between lines of dashes (Windows builds only)."""
        self.x.clear_clipboard()
        self.x.focus(box)
        self.x.key("ctrl+c")
        deadline = time.monotonic() + 10
        while not (text := self.x.clipboard()):
            if time.monotonic() > deadline:
                raise AssertionError("Ctrl+C put no text on the clipboard within 10 s")
            time.sleep(0.05)
        return text.replace("\r\n", "\n")

    def message_boxes(self):
        return [w for w in self.x.windows(TITLE) if w != self.window]

    def box_width(self, box):
        return self.x.geometry(box)[2]

    def close_message_box(self, box):
        self.x.focus(box)
        self.x.key("Return")

    def wait_message_boxes_closed(self, timeout):
        self.x.wait_windows(TITLE, 1, timeout)

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout):
        """The exit status, or None when the program still runs after `timeout` s."""
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        """What the program left on the machine: under Wine, the files and
        registry keys it added."""
        if not self.wine:
            return []
        return self.wine.stop() if self.own_prefix else self.wine.added()

    def stderr(self):
        """What the program wrote on stderr, less what Qt always says under Wine."""
        with open(self.stderr_path, errors="replace") as f:
            text = f.read()
        return wine.without_known_warnings(text) if self.wine else text

    def sanitizer_report(self):
        with open(self.stderr_path, "rb") as f:
            text = f.read()
        match = SANITIZER_REPORT.search(text)
        return text[max(0, match.start() - 200):match.start() + 3000].decode(
            errors="replace") if match else None


class EndToEndCase(unittest.TestCase):
    """One X server per test; programs launched inside it are checked on exit."""
    SCREEN = (1024, 768)

    def setUp(self):
        if not EXECUTABLE:
            self.skipTest("TERVALIN_EXE names no program")
        os.makedirs(ARTIFACTS, exist_ok=True)
        self.x = None
        if page.is_page_program(EXECUTABLE):
            return
        self.x = XServer(os.path.join(ARTIFACTS, f"{self.id()}.xvfb.log"), *self.SCREEN)
        self.addCleanup(self.x.stop)
        runtime = tempfile.TemporaryDirectory(prefix="xdg-")  # made 0700, as Qt wants it
        self.addCleanup(runtime.cleanup)
        self.runtime_dir = runtime.name

    @contextlib.contextmanager
    def launch(self, label="", args=(), env=None, executable=EXECUTABLE, prefix=None,
               **page_options):
        """`args`: the program's command line; `env`: variables added to its
        environment (the page's address query, for the web build);
        `executable` and `prefix`: another program than the build's, and the
        Wine prefix it is installed in; `page_options`: the browser's screen
        (page.Page)."""
        name = self.id() + (f".{re.sub(r'[^A-Za-z0-9]+', '_', label)}" if label else "")
        if page.is_page_program(executable):
            app = page.Page(name, ARTIFACTS, executable, env, **page_options)
        else:
            app = Program(self.x, name, self.runtime_dir, args, env, executable, prefix)
        try:
            yield app
        finally:
            if app.last_shot:  # what the last check looked at, for whoever reads a failure
                app.last_shot.save_png(os.path.join(ARTIFACTS, f"{name}.png"))
            ended_by_test = not app.running()
            if self.x and not ended_by_test:
                with contextlib.suppress(RuntimeError):  # the window may be gone already
                    self.x.close(app.window)
            # A page ends with its tab, which leaves no status.
            status = app.wait_exit(timeout=10) if self.x or ended_by_test else 0
            if status is None:
                app.proc.kill()
                app.proc.wait()
            left = app.stop()
            report = app.sanitizer_report()
            stderr = app.stderr()
        self.assertEqual(left, [], f"{name}: the program writes no file and no registry key, "
                                   "and the page stores nothing and asks no other address")
        self.assertIsNone(report, f"{name}: sanitizer report on the program's stderr")
        self.assertEqual(stderr, "", f"{name}: the program writes nothing to stderr")
        if not ended_by_test:
            self.assertEqual(status, 0, f"{name}: exit status after closing the window")

    def assertShare(self, shot, box, predicate, at_least=0.0, at_most=1.0, what=""):
        share = shot.share(box, predicate)
        self.assertTrue(at_least <= share <= at_most,
                        f"{what}: {predicate.__name__} share {share:.3f} at {shot.describe(box)}, "
                        f"expected {at_least:.3f}..{at_most:.3f}")

    def assertStill(self, before, after, place, what):
        changed = before.differing(after, place.box())
        self.assertEqual(changed, 0, f"{what}: {changed} pixels changed at "
                                     f"{before.describe(place.box())}")

    def assertMoved(self, before, after, place, what):
        self.assertGreater(before.differing(after, place.box()), 0,
                           f"{what}: nothing changed at {before.describe(place.box())}")
