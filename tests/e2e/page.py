"""The web build: the page, served from 127.0.0.1, in headless Chromium.

A program path ending in .js is the web build's; its page, tervalin.html,
lies beside it. Each launch gets a server and a browser of its own, so that
nothing one page stored or loaded reaches another. Places are the window's
pixels, as on the desktop: the page draws the window at its own size where
the screen is large enough, and Qt's scale factor fits it to a smaller one;
screenshots are taken at the screen's resolution and looked at in the
window's pixels.
"""

import os
import subprocess
import tempfile
import time
import urllib.parse

import browser
import layout
from moments import Moments, scene_painted
from screen import Image, is_dark

# The program's console lines that are not faults: the frame log, which Qt's
# variables in the address turn on.
FRAME_LINE = "tervalin.frames: "


def is_page_program(path):
    return path.endswith(".js")


class Page(Moments):
    """The page in a browser of its own, with the interface of harness.Program."""

    wine = None

    def __init__(self, name, artifacts, program, env=None, screen=(1024, 768), scale=1,
                 touch=False, phone=False, folder="/"):
        self.name, self.artifacts = name, artifacts
        self.stderr_path = os.path.join(artifacts, f"{name}.console")
        self.server = browser.Server(os.path.dirname(program), folder)
        try:
            self.browser = browser.Browser(os.path.join(artifacts, f"{name}.chromium.log"),
                                           *screen, scale=scale, touch=touch, phone=phone)
        except Exception:
            self.server.stop()
            raise
        self.browser.call("Emulation.setFocusEmulationEnabled", enabled=True)
        query = urllib.parse.urlencode(env or {})
        self.address = self.server.url + "tervalin.html" + (f"?{query}" if query else "")
        self.last_shot = None
        self.origin = (0, 0)
        self.window = "page"
        self.open(lambda: self.browser.navigate(self.address))

    def reload(self):
        """Loads the page afresh, as its reload button does."""
        self.open(lambda: self.browser.call("Page.reload"))

    def open(self, load):
        load()
        self.navigated_at = time.monotonic()
        # Where the window lies on the page, in CSS pixels, and how many of
        # the window's pixels make one of them.
        rect = self._wait_value("the window's canvas", "(() => { const c = "
                                "document.querySelector('canvas'); if (!c) return null; "
                                "const r = c.getBoundingClientRect(); "
                                "return [r.x, r.y, r.width, r.height]; })()", 30)
        self.rect = tuple(rect)
        self.fit = rect[2] / self.client_size()[0]
        self.geometry = (0, 0, *self.client_size())
        self.shot_size = None
        self.wait_for("the window painted", scene_painted, 30)
        self.opened_at = time.monotonic()

    @staticmethod
    def client_size():
        return layout.CLIENT.box()[2:]

    def _wait_value(self, what, expression, timeout):
        deadline = time.monotonic() + timeout
        while (value := self.browser.evaluate(expression)) is None:
            if time.monotonic() > deadline:
                raise AssertionError(f"not seen within {timeout} s: {what}")
            time.sleep(0.05)
        return value

    # What the user sees and does
    def shot(self):
        """The window as the screen shows it, in the window's own pixels
        (sampled from the screen's at a smaller scale)."""
        x, y, width, height = self.rect
        image = self.browser.screenshot(x, y, width, height)
        self.shot_size = (image.width, image.height)
        width, height = self.client_size()
        if (image.width, image.height) != (width, height):
            image = image.resampled(width, height)
        self.last_shot = image
        return image

    def page_point(self, x, y):
        """A point of the window, in the page's CSS pixels."""
        return self.rect[0] + x * self.fit, self.rect[1] + y * self.fit

    def click(self, place):
        self.browser.click(*self.page_point(*place.centre()))

    def tap(self, place):
        self.browser.tap(*self.page_point(*place.centre()))

    def press_start(self, how="mouse"):
        if how == "keyboard":
            self.browser.key("Return")
        elif how == "touch":
            self.tap(layout.COMMAND1)
        else:
            self.click(layout.COMMAND1)

    def answer(self, how, typed=""):
        """Types `typed` into the answer box (by touch: tapping the box, as the
        phone's keyboard then types), then answers by Return, a click or a tap
        on the answer button; returns the verdict's box."""
        if how == "touch":
            self.tap(layout.TEXT1)
            if typed:
                self.browser.insert_text(typed)
                self.wait_for(f"{typed!r} in the answer box",
                              lambda s: s.count(layout.TEXT1.box(inset=4), is_dark) >= 10, 5)
            self.tap(layout.COMMAND2)
        else:
            if typed:
                self.browser.type(typed)
            if how == "keyboard":
                self.browser.key("Return")
            else:
                self.click(layout.COMMAND2)
        return self.message_box(timeout=5)

    def message_box(self, timeout):
        """Waits for a message box over the window; returns its place."""
        shot = self.wait_for("a message box", lambda s: message_box_at(s) is not None, timeout)
        return message_box_at(shot)

    def message_boxes(self):
        box = message_box_at(self.shot())
        return [] if box is None else [box]

    def box_width(self, box):
        return box[2] - box[0]

    def message_words(self, box):
        """The words of a message box's text, as OCR reads them off the screen
        (tesseract, Russian, without its dictionaries, so that it reads what
        stands there), and where the first one begins, in window pixels from
        the box's left edge."""
        left, top, right, bottom = box
        shot = self.last_shot
        x0, y0, x1, y1 = left + 6, top + 26, right - 6, bottom - 38  # below the title, above OK
        crop = Image(x1 - x0, y1 - y0, b"".join(
            shot.rgb[3 * (y * shot.width + x0):3 * (y * shot.width + x1)] for y in range(y0, y1)))
        with tempfile.TemporaryDirectory() as tmp:
            png = os.path.join(tmp, "text.png")
            crop.resampled(3 * crop.width, 3 * crop.height).save_png(png)
            tsv = subprocess.run(["tesseract", png, "-", "-l", "rus", "--psm", "6",
                                  "-c", "load_system_dawg=0", "-c", "load_freq_dawg=0", "tsv"],
                                 capture_output=True, text=True, check=True).stdout
        words = [row.split("\t") for row in tsv.splitlines()[1:]]
        words = [(int(w[6]), w[11]) for w in words if len(w) == 12 and w[11].strip()]
        return [text for _, text in words], (x0 - left) + min(x for x, _ in words) / 3

    def close_message_box(self, box):
        self.browser.key("Return")

    def tap_message_box_ok(self, box):
        self.tap(ok_button(box))

    def wait_message_boxes_closed(self, timeout):
        self.wait_for("no message box", lambda s: message_box_at(s) is None, timeout)

    def running(self):
        return bool(self.browser.evaluate("!!document.querySelector('canvas')"))

    def wait_exit(self, timeout):
        """0 once the page's window has gone, or None while it is still there."""
        deadline = time.monotonic() + timeout
        while self.running():
            if time.monotonic() > deadline:
                return None
            time.sleep(0.05)
        return 0

    def console_lines(self, kinds=("log", "warning", "error", "exception")):
        return [text for _, kind, text in self.browser.console if kind in kinds]

    def wait_console_lines(self, start, count, timeout):
        """Waits until `count` console lines begin with `start`; returns them."""
        deadline = time.monotonic() + timeout
        while len(lines := [t for t in self.console_lines() if t.startswith(start)]) < count:
            if time.monotonic() > deadline:
                raise AssertionError(f"{len(lines)} console lines {start!r} within {timeout} s, "
                                     f"not {count}")
            time.sleep(0.05)
        return lines

    def stored(self):
        """What the page keeps in the browser: cookies, local and session
        storage, databases and caches, by name."""
        return self.browser.evaluate(
            "(async () => [...document.cookie.split(';').filter(c => c.trim()),"
            " ...Object.keys(localStorage).map(k => 'localStorage ' + k),"
            " ...Object.keys(sessionStorage).map(k => 'sessionStorage ' + k),"
            " ...(await indexedDB.databases()).map(d => 'IndexedDB ' + d.name),"
            " ...(await caches.keys()).map(k => 'cache ' + k)])()")

    def foreign_requests(self):
        return [url for url in self.browser.requests
                if not url.startswith(self.server.url) and not url.startswith(("data:", "blob:"))]

    def stop(self):
        """What the page left behind: things stored, and requests to any other address."""
        try:
            left = self.stored() + [f"request {url}" for url in self.foreign_requests()]
        except RuntimeError as e:
            left = [f"cannot read the page's storage: {e}"]
        with open(self.stderr_path, "w") as f:
            f.writelines(f"{kind}: {text}\n" for _, kind, text in self.browser.console)
        self.browser.stop()
        self.server.stop()
        return left

    def stderr(self):
        """The program's warnings and errors on the console, less the frame log."""
        return "".join(f"{text}\n" for text in self.console_lines(("warning", "error", "exception"))
                       if not text.startswith(FRAME_LINE))

    def sanitizer_report(self):
        return None


# Qt's WebAssembly platform draws a dialog's frame itself: a bevelled border
# of 4 pixels round a title bar in the palette's highlight colour, over the
# dialog's own ground in the window colour.
TITLE_BAR = (48, 140, 198)
DIALOG_GROUND = (239, 239, 239)
TITLE_BAR_LEAST = 120  # pixels of title bar along a row: more than any scene line has


def message_box_at(shot):
    """The message box over the window, as (left, top, right, bottom), ends
    excluded, or None."""
    for y in range(0, shot.height, 3):  # a title bar is more than 3 rows high
        xs = [x for x in range(shot.width) if shot.pixel(x, y) == TITLE_BAR]
        if len(xs) >= TITLE_BAR_LEAST:
            break
    else:
        return None
    left, right = xs[0], xs[-1] + 1
    top = y
    while top > 0 and shot.pixel(left + 1, top - 1) == TITLE_BAR:
        top -= 1
    bottom = top  # down the title bar and the ground beside the text to the frame's shadow
    while bottom < shot.height and shot.pixel(left + 1, bottom) in (TITLE_BAR, DIALOG_GROUND,
                                                                     (255, 255, 255)):
        bottom += 1
    return (left - 4, top - 4, right + 4, bottom + 1)


def ok_button(box):
    """Where a message box's one button lies: at its lower right corner."""
    left, top, right, bottom = box
    return layout.Place((right - 56) * 15, (bottom - 28) * 15, 30 * 15, 12 * 15)
