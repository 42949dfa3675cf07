#!/usr/bin/env python3
"""Benchmark of the real Tervalin program in an X server of its own (Xvfb).

    bench/run_bench.py build/tervalin             # the animation: about 20 s
    bench/run_bench.py build/tervalin --timeout   # the time limit under load: about 4 min
    WINEPREFIX=$PWD/build-windows/wine-prefix \
        bench/run_bench.py build-windows/tervalin.exe   # the Windows build under Wine
    bench/run_bench.py build-web/tervalin.js      # the web page in headless Chromium: about 40 s
    bench/run_bench.py build-web/tervalin.js --timeout   # its time limit under load

The first mode presses START, lets the watched vehicle drive its route and
reports the CPU the program uses while animating, the frame period and the
route's wall time, taken from the lines that the logging category
tervalin.frames writes to standard error, one per wait, then closes the
window as a window manager would and reports the exit status.

The second mode keeps every core busy with processes of its own, presses
START and measures when the time-out message box appears after the window
opened; it then closes the box and reports the exit status.

A Windows build (a program ending in .exe) runs under Wine in a copy of the
prefix that WINEPREFIX names, as in the end-to-end tests; its CPU then
includes the Wine server's, which does the work of the Windows kernel's
timers and messages.

The web build (a program ending in .js) runs as its page in headless
Chromium, served from 127.0.0.1 (tests/e2e/page.py); the frame log reaches
the browser's console from the page's address. Its CPU is that of the
browser's renderer, which runs the program, and of its GPU process, which
draws the page's WebGL in software (SwiftShader). Beside it the same
browser runs bench/page_floor.html, a page without Qt that draws the same
scene and moves four rectangles with the same pacing: what the browser
itself costs, and how exactly it can time a frame.

Needs Xvfb and xdotool (scripts/setup.sh installs them), or Chromium and
Node for the page (scripts/web.sh --test installs them). Prints a table.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

# The X server, the window search, input and the close request are the
# end-to-end tests' own.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import browser  # noqa: E402
import layout  # noqa: E402
import page  # noqa: E402
import wine  # noqa: E402
from screen import is_ground  # noqa: E402
from xserver import XServer  # noqa: E402

TITLE = "Tervalin"
ROUTE_FRAMES = 311
# A wait as the program logs it: the moment it begins and its deadline, in
# seconds on the program's monotonic clock.
WAIT_LINE = re.compile(r"^tervalin\.frames: (\d+\.\d{6}) (\d+\.\d{6})$", re.MULTILINE)
FLOOR_LINE = re.compile(r"^floor: (\d+\.\d{6}) (\d+\.\d{6})$")
BENCH = os.path.dirname(os.path.abspath(__file__))

GOALS = {
    "cpu": 0.03,
    "median": 31.0,
    "p95": 32.0,
    "route": (11.33, 11.6),
    "timeout": (239.5, 240.5),
}


def wait_for(condition, timeout, step=0.01):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(step)
    raise TimeoutError("gave up waiting")


def cpu_seconds(pid):
    """User plus system CPU time of a process so far, in seconds; under Wine
    with that of the prefix's Wine server."""
    total = 0
    for p in [pid] + WINE_SERVERS:
        with open(f"/proc/{p}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        total += int(fields[11]) + int(fields[12])
    return total / os.sysconf("SC_CLK_TCK")


WINE_SERVERS = []


def wine_server(prefix):
    """The pid of the Wine server that runs the prefix."""
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/comm") as f:
                if not f.read().startswith("wineserver"):
                    continue
            with open(f"/proc/{pid}/environ", "rb") as f:
                if f"WINEPREFIX={prefix}".encode() in f.read().split(b"\0"):
                    return int(pid)
        except OSError:
            continue
    raise RuntimeError(f"no Wine server runs {prefix}")


def read_waits(path):
    """(start, deadline) of every wait in the program's standard error so far;
    other lines are left out."""
    with open(path, errors="replace") as f:
        return [(float(start), float(deadline)) for start, deadline in WAIT_LINE.findall(f.read())]


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100 * (len(ordered) - 1))))]


def press_start(x, window, prefix):
    """Clicks START once the window is painted; under Wine inside Wine's frame."""
    left, top = wine.FRAME[:2] if prefix else (0, 0)
    wx, wy, width, height = x.geometry(window)
    client = (wx + left, wy + top, width, height)
    wait_for(lambda: x.screenshot(window, client).share(layout.OPEN_GROUND.box(), is_ground) == 1.0,
             20, 0.05)
    x.click(window, left + layout.COMMAND1.centre()[0], top + layout.COMMAND1.centre()[1])


def launch(program, x, env, stderr_path, prefix):
    command = prefix.command(program) if prefix else [program]
    env = prefix.env(dict(env, QT_QPA_PLATFORM="windows")) if prefix else env
    started = time.monotonic()
    with open(stderr_path, "wb") as err:
        proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=err)
    window = x.wait_windows(TITLE, 1, 30)[0]
    if prefix:
        WINE_SERVERS[:] = [wine_server(prefix.path)]
    return proc, window, started, time.monotonic()


def row(name, value, goal, ok):
    print(f"| {name:<44} | {value:>12} | {goal:>14} | {'yes' if ok else 'NO':>4} |")


def table_head():
    print(f"| {'measure':<44} | {'measured':>12} | {'goal':>14} | {'met':>4} |")
    print(f"|{'-' * 46}|{'-' * 14}|{'-' * 16}|{'-' * 6}|")


def bench_animation(program, x, env, log, prefix):
    proc, window, _, _ = launch(program, x, env, log, prefix)
    press_start(x, window, prefix)
    clicked = time.monotonic()
    cpu_at_click = cpu_seconds(proc.pid)
    # The route takes about 11.5 s; wait until its last frame is in the log.
    wait_for(lambda: sum(1 for s, d in read_waits(log) if d - s < 0.1) > ROUTE_FRAMES, 30, 0.1)
    route_cpu = (cpu_seconds(proc.pid) - cpu_at_click) / (time.monotonic() - clicked)
    # The background traffic alone, for five seconds after the route.
    cpu_before, wall_before = cpu_seconds(proc.pid), time.monotonic()
    time.sleep(5)
    traffic_cpu = (cpu_seconds(proc.pid) - cpu_before) / (time.monotonic() - wall_before)

    x.close(window)
    closed = time.monotonic()
    try:
        status = proc.wait(10)
    except subprocess.TimeoutExpired:
        proc.kill()
        status = "hung"
    exit_time = time.monotonic() - closed

    waits = read_waits(log)
    frames = [s for s, d in waits if d - s < 0.1]  # a stop pause waits 1 s
    pauses = [s for s, d in waits if d - s >= 0.1]
    periods = [(b - a) * 1000 for a, b in zip(frames, frames[1:])
               if not any(a < p < b for p in pauses)]
    route = frames[ROUTE_FRAMES] - frames[0]
    median, p95 = statistics.median(periods), percentile(periods, 95)

    table_head()
    row("CPU per wall second, route (core)", f"{route_cpu:.3f}", f"<= {GOALS['cpu']}",
        route_cpu <= GOALS["cpu"])
    row("CPU per wall second, traffic only (core)", f"{traffic_cpu:.3f}", f"<= {GOALS['cpu']}",
        traffic_cpu <= GOALS["cpu"])
    row(f"frame period median, {len(periods)} frames (ms)", f"{median:.2f}",
        f"<= {GOALS['median']}", median <= GOALS["median"])
    row("frame period p95 (ms)", f"{p95:.2f}", f"<= {GOALS['p95']}", p95 <= GOALS["p95"])
    row("frame period max (ms)", f"{max(periods):.2f}", "", True)
    lo, hi = GOALS["route"]
    row(f"route wall time, {ROUTE_FRAMES} frames + {len(pauses)} pauses (s)", f"{route:.3f}",
        f"{lo} to {hi}", lo <= route <= hi)
    row("exit status after closing the window", str(status), "0", status == 0)
    row("time from close to exit (s)", f"{exit_time:.3f}", "", True)
    return status == 0


def bench_timeout(program, x, env, log, prefix):
    busy = [subprocess.Popen([sys.executable, "-c", "while True: pass"])
            for _ in range(os.cpu_count() or 1)]
    try:
        proc, window, launched, opened = launch(program, x, env, log, prefix)
        press_start(x, window, prefix)
        boxes = wait_for(lambda: [w for w in x.windows(TITLE) if w != window], 300, 0.05)
        shown = time.monotonic()
        # OK with the keyboard: the box takes the focus, then Return goes to it.
        x.focus(boxes[0])
        x.key("Return")
        try:
            status = proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
            status = "hung"
    finally:
        for b in busy:
            b.kill()
            b.wait()
    after_open, after_launch = shown - opened, shown - launched
    lo, hi = GOALS["timeout"]
    table_head()
    row("time-out message after the window opened (s)", f"{after_open:.2f}", f"{lo} to {hi}",
        lo <= after_open <= hi)
    row("time-out message after launch (s)", f"{after_launch:.2f}", "", True)
    row("busy processes loading the cores", str(len(busy)), "", True)
    row("exit status after closing the message", str(status), "0", status == 0)
    return status == 0 and lo <= after_open <= hi


def process_cpu(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def browser_processes(profile):
    """The renderer and GPU processes of the Chromium that runs with the
    given profile folder: {"renderer": [pids], "gpu": [pids]}."""
    found = {"renderer": [], "gpu": []}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:  # Chromium rewrites its command line into one string
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                args = f.read().replace(b"\0", b" ").split()
        except OSError:
            continue
        if f"--user-data-dir={profile}".encode() not in args:
            continue
        if b"--type=renderer" in args:
            found["renderer"].append(int(pid))
        elif b"--type=gpu-process" in args:
            found["gpu"].append(int(pid))
    return found


class Meter:
    """CPU per wall second of the renderer and GPU processes over a stretch."""

    def __init__(self, processes):
        self.processes = processes
        self.start()

    def cpu(self):
        return {kind: sum(process_cpu(p) for p in pids) for kind, pids in self.processes.items()}

    def start(self):
        self.at, self.used = time.monotonic(), self.cpu()

    def read(self):
        now, used = time.monotonic(), self.cpu()
        return {kind: (used[kind] - self.used[kind]) / (now - self.at) for kind in used}


def periods_of(waits):
    frames = [s for s, d in waits if d - s < 0.1]  # a stop pause waits 1 s
    pauses = [s for s, d in waits if d - s >= 0.1]
    periods = [(b - a) * 1000 for a, b in zip(frames, frames[1:])
               if not any(a < p < b for p in pauses)]
    return frames, pauses, periods


def bench_page(program, tmp):
    def lines(chromium, pattern):
        return [(float(m[1]), float(m[2])) for _, _, text in chromium.console
                if (m := pattern.match(text))]

    app = page.Page("bench", tmp, program, {"QT_LOGGING_RULES": "tervalin.frames.debug=true"})
    try:
        painted = app.opened_at - app.navigated_at
        meter = Meter(browser_processes(app.browser.profile))
        app.press_start()
        meter.start()
        wait_for(lambda: sum(1 for s, d in lines(app.browser, WAIT_LINE) if d - s < 0.1) > ROUTE_FRAMES,
                 40, 0.1)
        route_cpu = meter.read()
        meter.start()
        time.sleep(5)
        traffic_cpu = meter.read()
        frames, pauses, periods = periods_of(lines(app.browser, WAIT_LINE))
        stray = app.stderr()
    finally:
        app.stop()

    # The same browser with a page that draws the same scene without Qt.
    site = os.path.join(tmp, "floor")
    os.mkdir(site)
    shutil.copy(os.path.join(BENCH, "page_floor.html"), site)
    shutil.copy(os.path.join(BENCH, "..", "docs", "screenshot.png"), site)
    server = browser.Server(site)
    floor = browser.Browser(os.path.join(tmp, "floor.log"), 1024, 768)
    try:
        floor.navigate(server.url + "page_floor.html")
        wait_for(lambda: len(lines(floor, FLOOR_LINE)) > 10, 30, 0.1)
        floor_meter = Meter(browser_processes(floor.profile))
        time.sleep(10)
        floor_cpu = floor_meter.read()
        _, _, floor_periods = periods_of(lines(floor, FLOOR_LINE))
    finally:
        floor.stop()
        server.stop()

    route = frames[ROUTE_FRAMES] - frames[0]
    median, p95 = statistics.median(periods), percentile(periods, 95)
    table_head()
    row("CPU per wall second, route: renderer (core)", f"{route_cpu['renderer']:.3f}", "", True)
    row("  the same: GPU process (core)", f"{route_cpu['gpu']:.3f}", "", True)
    row("CPU, traffic only: renderer (core)", f"{traffic_cpu['renderer']:.3f}", "", True)
    row("  the same: GPU process (core)", f"{traffic_cpu['gpu']:.3f}", "", True)
    row("floor page: renderer (core)", f"{floor_cpu['renderer']:.3f}", "", True)
    row("  the same: GPU process (core)", f"{floor_cpu['gpu']:.3f}", "", True)
    row(f"frame period median, {len(periods)} frames (ms)", f"{median:.2f}", "<= 31",
        median <= 31)
    row("frame period p95 (ms)", f"{p95:.2f}", "<= 33", p95 <= 33)
    row("frame period max (ms)", f"{max(periods):.2f}", "", True)
    row("floor page: frame period median (ms)", f"{statistics.median(floor_periods):.2f}", "", True)
    row("floor page: frame period p95 (ms)", f"{percentile(floor_periods, 95):.2f}", "", True)
    lo, hi = GOALS["route"]
    row(f"route wall time, {ROUTE_FRAMES} frames + {len(pauses)} pauses (s)", f"{route:.3f}",
        f"{lo} to {hi}", lo <= route <= hi)
    row("navigation to the window painted (s)", f"{painted:.2f}", "<= 5", painted <= 5)
    row("warnings on the console", str(len(stray.splitlines())), "0", not stray)
    return not stray


def bench_page_timeout(program, tmp):
    busy = [subprocess.Popen([sys.executable, "-c", "while True: pass"])
            for _ in range(os.cpu_count() or 1)]
    try:
        app = page.Page("bench", tmp, program)
        try:
            app.press_start()
            box = app.message_box(300)
            shown = time.monotonic()
            app.close_message_box(box)
            status = app.wait_exit(10)
        finally:
            app.stop()
    finally:
        for b in busy:
            b.kill()
            b.wait()
    after_open, after_navigation = shown - app.opened_at, shown - app.navigated_at
    lo, hi = GOALS["timeout"]
    table_head()
    row("time-out message after the window showed (s)", f"{after_open:.2f}", f"{lo} to {hi}",
        lo <= after_open <= hi)
    row("time-out message after navigation (s)", f"{after_navigation:.2f}", "", True)
    row("busy processes loading the cores", str(len(busy)), "", True)
    row("the window gone after closing the message", "yes" if status == 0 else "no", "yes",
        status == 0)
    return status == 0 and lo <= after_open <= hi


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program", help="path to the tervalin executable")
    parser.add_argument("--timeout", action="store_true",
                        help="measure when the time-out message appears, under load (4 min)")
    args = parser.parse_args()
    program = os.path.abspath(args.program)

    if page.is_page_program(program):
        with tempfile.TemporaryDirectory() as tmp:
            ok = (bench_page_timeout if args.timeout else bench_page)(program, tmp)
        return 0 if ok else 1
    with tempfile.TemporaryDirectory() as tmp:
        x = XServer(os.path.join(tmp, "xvfb.log"))
        runtime = os.path.join(tmp, "runtime")
        os.mkdir(runtime, 0o700)
        log = os.path.join(tmp, "stderr.log")
        # The waits on standard error in Qt's default message pattern, also
        # under a Qt built to log to the system journal when no terminal is
        # attached.
        env = dict(x.env, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime,
                   QT_LOGGING_RULES="tervalin.frames.debug=true", QT_FORCE_STDERR_LOGGING="1")
        env.pop("QT_MESSAGE_PATTERN", None)
        prefix = wine.Prefix() if wine.is_windows_program(program) else None
        try:
            if args.timeout:
                ok = bench_timeout(program, x, env, log, prefix)
            else:
                ok = bench_animation(program, x, env, log, prefix)
        finally:
            if prefix:
                prefix.stop()
            x.stop()
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
