"""Headless Chromium for one test, and the page's files served to it from 127.0.0.1.

Chromium is Debian's; chromium.mjs drives it over the DevTools protocol from
Node. Input goes in as the browser's own mouse, key and touch events, and
screenshots come through the protocol, so that what a test sees is what the
page shows. A fresh profile per browser: nothing of an earlier test remains.
"""

import functools
import http.server
import json
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time

from screen import Image
from xserver import die_with_parent

DRIVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "chromium.mjs")


class Server:
    """The files of `folder` on 127.0.0.1 at a free port, under the address
    path `prefix`, as a static web server serves a site's folder. It notes
    every path asked for."""

    def __init__(self, folder, prefix="/"):
        self.requested = []
        server = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                              ".wasm": "application/wasm", ".js": "text/javascript"}

            def translate_path(self, path):
                server.requested.append(path)
                if not path.startswith(prefix):
                    return os.path.join(folder, "no such file")
                return super().translate_path("/" + path[len(prefix):])

            def log_message(self, *args):
                pass

        self._httpd = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(Handler, directory=folder))
        self.url = f"http://127.0.0.1:{self._httpd.server_port}{prefix}"
        threading.Thread(target=self._httpd.serve_forever, daemon=True).start()

    def stop(self):
        self._httpd.shutdown()
        self._httpd.server_close()


# Keys by the names the tests use, as the browser reports them.
KEYS = {
    "Return": {"key": "Enter", "code": "Enter", "windowsVirtualKeyCode": 13, "text": "\r"},
    "space": {"key": " ", "code": "Space", "windowsVirtualKeyCode": 32, "text": " "},
    "Tab": {"key": "Tab", "code": "Tab", "windowsVirtualKeyCode": 9},
}


class Browser:
    """One Chromium with one page of `width` x `height` CSS pixels at device
    pixel ratio `scale`; `touch` gives it a touch screen, `phone` makes it
    report itself as a phone's browser."""

    def __init__(self, log_path, width, height, scale=1, touch=False, phone=False):
        self.profile = tempfile.mkdtemp(prefix="chromium-")
        self._answers = {}
        self._answered = threading.Condition()
        self._next_id = 1
        self.events = queue.Queue()
        self.console = []  # (monotonic time, type, text) of every console line
        self.scale = scale
        self._proc = subprocess.Popen(
            ["node", "--experimental-websocket", "--no-warnings", DRIVER, self.profile, log_path],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, preexec_fn=die_with_parent)
        self._ready = threading.Event()
        threading.Thread(target=self._read, daemon=True).start()
        if not self._ready.wait(90):
            self.stop()
            raise RuntimeError(f"Chromium did not start within 90 s; see {log_path}")
        self.call("subscribe", events=["Runtime.consoleAPICalled", "Runtime.exceptionThrown",
                                       "Network.requestWillBeSent"])
        for domain in ("Page", "Runtime", "Network"):
            self.call(f"{domain}.enable")
        self.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                  deviceScaleFactor=scale, mobile=phone)
        if touch:
            self.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
        if phone:
            self.call("Emulation.setUserAgentOverride", platform="Linux armv8l",
                      userAgent="Mozilla/5.0 (Linux; Android 13; Pixel 7) AppleWebKit/537.36 "
                                "(KHTML, like Gecko) Chrome/120.0 Mobile Safari/537.36")
        self.requests = []

    def _read(self):
        for line in self._proc.stdout:
            try:
                message = json.loads(line)
            except ValueError:  # a line cut short as the driver ends
                break
            event = message.get("event")
            if event is None:
                with self._answered:
                    self._answers[message["id"]] = message
                    self._answered.notify_all()
            elif event == "ready":
                self.pid = message["params"]["pid"]
                self._ready.set()
            elif event == "Runtime.consoleAPICalled":
                text = " ".join(str(a.get("value", a.get("description", "")))
                                for a in message["params"]["args"])
                self.console.append((time.monotonic(), message["params"]["type"], text))
            elif event == "Runtime.exceptionThrown":
                details = message["params"]["exceptionDetails"]
                self.console.append((time.monotonic(), "exception",
                                     details.get("exception", {}).get("description",
                                                                      details.get("text"))))
            elif event == "Network.requestWillBeSent":
                self.requests.append(message["params"]["request"]["url"])
        with self._answered:
            self._answers[None] = None
            self._answered.notify_all()

    def call(self, method, timeout=60, **params):
        """Runs a DevTools method (or one of chromium.mjs's) and returns its result."""
        with self._answered:
            id_ = self._next_id
            self._next_id += 1
            self._proc.stdin.write((json.dumps({"id": id_, "method": method, "params": params})
                                    + "\n").encode())
            self._proc.stdin.flush()
            if not self._answered.wait_for(lambda: id_ in self._answers or None in self._answers,
                                           timeout):
                raise RuntimeError(f"{method}: no answer within {timeout} s")
            answer = self._answers.pop(id_, None)
        if answer is None:
            raise RuntimeError(f"{method}: the browser is gone")
        if "error" in answer:
            raise RuntimeError(f"{method}: {answer['error']}")
        return answer["result"]

    def navigate(self, url):
        self.call("Page.navigate", url=url)

    def evaluate(self, expression):
        """The value of a JavaScript expression in the page; a promise is awaited."""
        result = self.call("Runtime.evaluate", expression=expression, awaitPromise=True,
                           returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def screenshot(self, x, y, width, height):
        """The CSS-pixel rectangle as the screen shows it, in device pixels."""
        fd, path = tempfile.mkstemp(suffix=".rgb")
        os.close(fd)
        try:
            size = self.call("screenshot", path=path, scale=1,
                             clip={"x": x, "y": y, "width": width, "height": height})
            with open(path, "rb") as f:
                return Image(size["width"], size["height"], f.read())
        finally:
            os.unlink(path)

    def click(self, x, y):
        for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left",
                      clickCount=0 if kind == "mouseMoved" else 1)

    def tap(self, x, y):
        self.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def key(self, name):
        key = KEYS[name]
        self.call("Input.dispatchKeyEvent", type="keyDown", **key)
        self.call("Input.dispatchKeyEvent", type="keyUp",
                  **{k: v for k, v in key.items() if k != "text"})

    def type(self, text):
        """Types `text` on a keyboard, key by key (digits and signs)."""
        for ch in text:
            code = f"Digit{ch}" if ch.isdigit() else ""
            self.call("Input.dispatchKeyEvent", type="keyDown", key=ch, text=ch, code=code,
                      windowsVirtualKeyCode=ord(ch.upper()))
            self.call("Input.dispatchKeyEvent", type="keyUp", key=ch, code=code,
                      windowsVirtualKeyCode=ord(ch.upper()))

    def insert_text(self, text):
        """Text as an on-screen keyboard or an input method commits it."""
        self.call("Input.insertText", text=text)

    def stop(self):
        if self._proc.poll() is None:
            self._proc.stdin.close()
            try:
                self._proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self._proc.kill()
                self._proc.wait()
        self._proc.stdout.close()
        shutil.rmtree(self.profile, ignore_errors=True)
