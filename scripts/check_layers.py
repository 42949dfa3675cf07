#!/usr/bin/env python3
"""The layering rule of src/, and its check. The folders are layers, from the
bottom up; each may include from its own folder and from the layers listed
above it, never from one below it or beside it on the same line:

    window/                      the description as data, the quiz state, twips
    toolkit/                     the toolkit interface, the shared scene layer,
                                 and its implementations toolkit/sim/, toolkit/qt/
    clock/ animation/ answer/    the handlers: plain code against the toolkit
    app/                         program start and wiring

The handlers and window/ see the toolkit interface only, never an
implementation of it, and no widget or GUI class of Qt; the simulated toolkit
never includes the real one. Prints each offending include; exits 1 on any.
"""

import pathlib
import re
import sys

SRC = pathlib.Path(__file__).resolve().parent.parent / "src"
HANDLERS = {"clock", "animation", "answer"}
RANK = {"window": 0, "toolkit": 1, "clock": 2, "animation": 2, "answer": 2, "app": 3}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]', re.M)
GUI = re.compile(r"^(Qt(Gui|Widgets|Svg)/|Q(Widget|Painter|Image|Pixmap|Color|Font|Application|"
                 r"GuiApplication|PushButton|LineEdit|Label|MessageBox|Palette|Icon)\b)")


def main():
    faults = []
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        parts = path.relative_to(SRC).parts
        folder = parts[0]
        for target in INCLUDE.findall(path.read_text(encoding="utf-8")):
            target_folder = target.split("/")[0]
            where = f"{path.relative_to(SRC.parent)}: #include {target}"
            if target_folder in RANK and folder in RANK:
                if RANK[target_folder] > RANK[folder] or (
                        RANK[target_folder] == RANK[folder] and target_folder != folder):
                    faults.append(f"{where} (a layer above or beside {folder}/)")
            if folder in HANDLERS or folder == "window":
                if target.startswith(("toolkit/qt/", "toolkit/sim/")):
                    faults.append(f"{where} (an implementation of the toolkit)")
                if GUI.match(target):
                    faults.append(f"{where} (a GUI class)")
            if folder == "toolkit" and len(parts) > 2 and parts[1] == "sim" \
                    and target.startswith("toolkit/qt/"):
                faults.append(f"{where} (the real toolkit in the simulated one)")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} include(s) across the layers")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
