"""The window as a screen reader reads it: the real program on its own D-Bus
session with the accessibility bus, its tree read over AT-SPI with pyatspi.
Every control and sign has its role and a Russian name and description,
the answer controls are announced once the route has brought them, and the
verdict is read as it is written."""

import json
import os
import re
import subprocess
import unittest

from harness import EndToEndCase
from xserver import die_with_parent

HERE = os.path.dirname(os.path.abspath(__file__))
# pyatspi is Debian's, installed for its own Python only.
SYSTEM_PYTHON = "/usr/bin/python3"
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
LATIN = re.compile(r"[A-Za-z]")
PROPER_NAMES = ("START", "Tervalin")

# (role, name, showing when the window opens)
CONTROLS = [
    ("image", "Схема дорог", True),
    ("push button", "START", True),
    ("push button", "ОТВЕТ", False),
    ("text", "Число нарушений", False),
    ("text", "Минуты", True),
    ("label", "Укажите число зафиксированных Вами нарушений и нажмите кнопку ОТВЕТ", False),
    ("image", "Знак «Железнодорожный переезд»", True),
    ("image", "Знак «Парковка»", True),
    ("image", "Знак «Обгон запрещён»", True),
    ("image", "Знак «Поворот направо запрещён»", True),
    ("image", "Знак «Стоп»", True),
    ("image", "Знак «Поворот налево запрещён»", True),
]


def reads_in_english(text):
    for name in PROPER_NAMES:
        text = text.replace(name, "")
    return LATIN.search(text) is not None


class ScreenReaderTest(EndToEndCase):
    def setUp(self):
        super().setUp()
        for tool in (SYSTEM_PYTHON, BUS_LAUNCHER):
            self.assertTrue(os.access(tool, os.X_OK), f"{tool} is missing; run scripts/setup.sh")
        # A session bus of the test's own that lives until the shell's sleep
        # is ended; the shell tells its address and the sleep's pid.
        self.session = subprocess.Popen(
            ["dbus-run-session", "--", "sh", "-c",
             'echo "$$ $DBUS_SESSION_BUS_ADDRESS"; exec sleep 600'],
            env=self.x.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
            preexec_fn=die_with_parent)
        self.addCleanup(self.end_session)
        pid, address = self.session.stdout.readline().split(" ", 1)
        self.sleep_pid = int(pid)
        self.env = dict(self.x.env, DBUS_SESSION_BUS_ADDRESS=address.strip())
        self.bus = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], env=self.env,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                    preexec_fn=die_with_parent)
        self.addCleanup(self.end_bus)

    def end_bus(self):
        self.bus.terminate()
        self.bus.wait(timeout=10)

    def end_session(self):
        try:
            os.kill(self.sleep_pid, 15)
        except (AttributeError, ProcessLookupError):
            self.session.terminate()
        self.session.wait(timeout=10)

    def read_tree(self):
        result = subprocess.run([SYSTEM_PYTHON, "-B", os.path.join(HERE, "atspi_tree.py"), "20"],
                                env=self.env, capture_output=True, text=True, timeout=60)
        self.assertEqual(result.returncode, 0, f"reading the tree failed:\n{result.stderr}")
        return [json.loads(line) for line in result.stdout.splitlines()]

    def find(self, tree, role, name):
        found = [n for n in tree if n["role"] == role and n["name"] == name]
        self.assertEqual(len(found), 1, f"{role} {name!r} once in the tree; the tree:\n" +
                         "\n".join(f"{n['role']}: {n['name']!r}" for n in tree))
        return found[0]

    def test_every_control_is_read_in_russian(self):
        env = {"DBUS_SESSION_BUS_ADDRESS": self.env["DBUS_SESSION_BUS_ADDRESS"],
               "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}
        with self.launch(env=env) as app:
            tree = self.read_tree()
            self.assertEqual(tree[0]["role"], "application")
            window = self.find(tree, "frame", "Tervalin")
            controls = [n for n in tree if n["depth"] > window["depth"]]
            # the scene, two buttons, two text boxes, two labels, six signs
            self.assertEqual(len(controls), 13, "everything in the window is in the tree")

            for node in [window] + controls:
                what = f"{node['role']} {node['name']!r}"
                self.assertTrue(node["name"].strip(), f"{what} has a name")
                self.assertTrue(node["description"].strip(), f"{what} has a description")
                self.assertFalse(reads_in_english(node["name"]), f"{what}: name in Russian")
                self.assertFalse(reads_in_english(node["description"]),
                                 f"{what}: description in Russian: {node['description']!r}")
            for role, name, showing in CONTROLS:
                node = self.find(controls, role, name)
                self.assertEqual(node["showing"], showing, f"{role} {name!r} showing")
            self.assertTrue(self.find(controls, "push button", "START")["focused"],
                            "START holds the focus")
            task = [n for n in controls if n["role"] == "label" and n["showing"]]
            self.assertEqual(len(task), 1, "the task text is the one label shown")
            self.assertIn("На задачу отводится 4 минуты", task[0]["name"])

            # The route brings the answer controls and the focus to the box.
            app.press_start("keyboard")
            app.wait_for_route_end()
            tree = self.read_tree()
            box = self.find(tree, "text", "Число нарушений")
            self.assertTrue(box["showing"] and box["focused"], "the answer box, focused")
            self.assertTrue(self.find(tree, "push button", "ОТВЕТ")["showing"],
                            "the answer button is shown")
            self.assertFalse(self.find(tree, "push button", "START")["showing"],
                             "START is gone")

            # The wrong answer's verdict reads word for word, blanks and all.
            box = app.answer("keyboard", "3")
            labels = [n["name"] for n in self.read_tree() if n["role"] == "label" and n["showing"]]
            self.assertIn("НЕ ВЕРНО ! НАРУШЕНИЙ НЕБЫЛО  ПРОАНАЛИЗИРУИТЕ КАЖДЫЙ УЧАСТОК ", labels)
            app.close_message_box(box)


if __name__ == "__main__":
    unittest.main()
