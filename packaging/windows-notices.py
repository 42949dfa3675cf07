#!/usr/bin/env python3
"""Writes the licence notices of what a static Qt links into tervalin.exe.

    windows-notices.py <qtbase source> <qtsvg source> <configure options> <output folder>

scripts/windows.sh runs it when it builds Qt for Windows, while Qt's sources
are at hand, and keeps the output beside that Qt: THIRD-PARTY-NOTICES.txt,
and the licence texts LGPL-3.0.txt and GPL-3.0.txt. The notices come from
Qt's own attribution files (qt_attribution.json) of the code that the
Windows build compiles in, and from Debian's copyright files of the MinGW-w64
runtime that the compiler links in.
"""

import json
import os
import subprocess
import sys
import textwrap

# Qt's attributions for the code in a static qtbase and qtsvg for Windows
# with the configure options of scripts/windows.sh. Left out: what only other
# platforms, modules or features use (forkfd, xcb, pixman for ARM, libpsl,
# Vulkan, D-Bus, wasm, Android, macOS, libjpeg).
QTBASE_PARTS = [
    "src/corelib/text", "src/corelib/tools", "src/gui/painting", "src/gui/text",
    "src/3rdparty/zlib", "src/3rdparty/double-conversion", "src/3rdparty/pcre2",
    "src/3rdparty/tinycbor", "src/3rdparty/easing", "src/3rdparty/sha1", "src/3rdparty/sha3",
    "src/3rdparty/rfc6234", "src/3rdparty/blake2", "src/3rdparty/md4", "src/3rdparty/md5",
    "src/3rdparty/libpng", "src/3rdparty/harfbuzz-ng",
    "src/3rdparty/freetype", "src/3rdparty/md4c", "src/3rdparty/icc",
]
QTSVG_PARTS = ["src/svg"]
QT_ARCHIVES = "https://download.qt.io/archive/qt/6.4/6.4.2/submodules/"


def attributions(root, part):
    """The entries of one qt_attribution.json, which may hold one or a list;
    Qt's files break strings over lines and repeat keys (the last one holds)."""
    path = os.path.join(root, part, "qt_attribution.json")
    with open(path, encoding="utf-8") as f:
        data = json.loads(f.read(), strict=False)
    for entry in data if isinstance(data, list) else [data]:
        yield path, entry


def one_line(text):
    return " ".join(str(text).split())


def notice(module, root, part, path, entry):
    lines = [entry["Name"] + (f" {one_line(entry['Version'])}" if "Version" in entry else ""),
             "-" * 72]
    for key, label in [("QtUsage", "Used"), ("License", "Licence"), ("LicenseId", "SPDX"),
                       ("Copyright", "Copyright"), ("Homepage", "Home page"),
                       ("DownloadLocation", "Download")]:
        if entry.get(key):
            lines += textwrap.wrap(one_line(entry[key]), 78, initial_indent=f"{label}: ",
                                   subsequent_indent="  ")
    lines.append(f"Source: in Qt's {module} sources ({QT_ARCHIVES}"
                 f"{module}-everywhere-src-6.4.2.tar.xz), folder {part}")
    for name in str(entry.get("LicenseFile", "")).split():
        with open(os.path.join(os.path.dirname(path), name), encoding="utf-8",
                  errors="replace") as f:
            lines += ["", f.read().strip()]
    return "\n".join(lines)


def debian_package(package):
    version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                             capture_output=True, text=True).stdout
    return f"{package} {version}".strip()


def main():
    qtbase, qtsvg, options, out = sys.argv[1:5]
    os.makedirs(out, exist_ok=True)
    for name, target in [("LGPL-3.0-only.txt", "LGPL-3.0.txt"),
                         ("GPL-3.0-only.txt", "GPL-3.0.txt")]:
        with open(os.path.join(qtbase, "LICENSES", name), encoding="utf-8") as f:
            text = f.read()
        with open(os.path.join(out, target), "w", encoding="utf-8", newline="\r\n") as f:
            f.write(text)

    parts = [textwrap.dedent(f"""\
        Licence notices for tervalin.exe
        ================================
        tervalin.exe is Tervalin (GPL-3.0-or-later, see LICENSE.txt and GPL-3.0.txt)
        with the Qt 6.4.2 libraries and the MinGW-w64 runtime linked into it. Each
        part below keeps its own licence. Tervalin's own sources, with which the
        program can be built again against a changed Qt, are published with it.

        Qt 6.4.2 (qtbase and qtsvg)
        ------------------------------------------------------------------------
        Licence: GNU Lesser General Public License version 3 (LGPL-3.0.txt, which
          adds to GPL-3.0.txt)
        Copyright: The Qt Company Ltd. and other contributors
        Source: {QT_ARCHIVES}qtbase-everywhere-src-6.4.2.tar.xz and
          {QT_ARCHIVES}qtsvg-everywhere-src-6.4.2.tar.xz; Debian's source
          package qt6-base 6.4.2 holds the same qtbase. Built for Windows with:
          {options}
        """)]
    for module, root, names in [("qtbase", qtbase, QTBASE_PARTS), ("qtsvg", qtsvg, QTSVG_PARTS)]:
        for part in names:
            for path, entry in attributions(root, part):
                parts.append(notice(module, root, part, path, entry))

    runtime = [debian_package(p) for p in ("mingw-w64-common", "gcc-mingw-w64-base")]
    with open("/usr/share/doc/mingw-w64-common/copyright", encoding="utf-8") as f:
        crt = f.read().strip()
    parts.append(textwrap.dedent(f"""\
        MinGW-w64 runtime (C runtime start-up code and winpthreads)
        ------------------------------------------------------------------------
        Source: Debian's source packages {runtime[0]} and {runtime[1]}
          (https://sources.debian.org/src/mingw-w64/ and /src/gcc-mingw-w64/).
        The GCC runtime libraries (libgcc, libstdc++) are under the GPL-3.0 with
        the GCC Runtime Library Exception, which lets them be linked into a
        program under any licence. The MinGW-w64 notices, as Debian records them:
        """) + "\n" + crt)

    with open(os.path.join(out, "THIRD-PARTY-NOTICES.txt"), "w", encoding="utf-8",
              newline="\r\n") as f:
        f.write(("\n\n\n".join(parts)) + "\n")


if __name__ == "__main__":
    main()
