#!/usr/bin/env python3
"""Writes the licence notices of what a static Qt links into the program.

    qt-notices.py windows|web <qtbase source> <qtsvg source> <configure options> <output folder>

scripts/windows.sh and scripts/web.sh run it when they build Qt, while Qt's
sources are at hand, and keep the output beside that Qt:
THIRD-PARTY-NOTICES.txt, and the licence texts LGPL-3.0.txt and GPL-3.0.txt.
The notices come from Qt's own attribution files (qt_attribution.json) of the
code that the build compiles in, and from Debian's copyright files of the
runtime that the compiler links in: MinGW-w64's for Windows, Emscripten's
for the web, whose page also carries the Liberation fonts.
"""

import fnmatch
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
# The web build has OpenGL ES too (Khronos' headers), and the fonts that Qt's
# WebAssembly platform carries (Vera and DejaVu Sans).
WEB_QTBASE_PARTS = QTBASE_PARTS + ["src/gui/opengl", "src/3rdparty/wasm"]
QTSVG_PARTS = ["src/svg"]
QT_ARCHIVES = "https://download.qt.io/archive/qt/6.4/6.4.2/submodules/"

# What Emscripten links into every program, one file of each part: its
# JavaScript runtime, the C library (musl), the C++ libraries, the compiler's
# run-time library and the allocator.
EMSCRIPTEN_LINKED = [
    "src/library.js", "system/lib/libc/musl/src/string/strlen.c",
    "system/lib/libcxx/src/string.cpp", "system/lib/libcxxabi/src/cxa_handlers.cpp",
    "system/lib/compiler-rt/lib/builtins/udivti3.c", "system/lib/dlmalloc.c",
]


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


def debian_version(package):
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                          capture_output=True, text=True).stdout.strip()


def debian_package(package):
    return f"{package} {debian_version(package)}".strip()


def mingw_runtime():
    runtime = [debian_package(p) for p in ("mingw-w64-common", "gcc-mingw-w64-base")]
    with open("/usr/share/doc/mingw-w64-common/copyright", encoding="utf-8") as f:
        crt = f.read().strip()
    return textwrap.dedent(f"""\
        MinGW-w64 runtime (C runtime start-up code and winpthreads)
        ------------------------------------------------------------------------
        Source: Debian's source packages {runtime[0]} and {runtime[1]}
          (https://sources.debian.org/src/mingw-w64/ and /src/gcc-mingw-w64/).
        The GCC runtime libraries (libgcc, libstdc++) are under the GPL-3.0 with
        the GCC Runtime Library Exception, which lets them be linked into a
        program under any licence. The MinGW-w64 notices, as Debian records them:
        """) + "\n" + crt


def dep5_field(paragraph, name):
    """A field of a machine-readable Debian copyright paragraph, as its lines
    (the first one's value, then its continuation lines), or None."""
    lines = paragraph.split("\n")
    for i, line in enumerate(lines):
        if line.startswith(name + ":"):
            value = [line[len(name) + 1:].strip()]
            for more in lines[i + 1:]:
                if not more.startswith(" "):
                    break
                value.append(more)
            return value
    return None


def emscripten_runtime():
    """Debian's notices for the parts of Emscripten in every program: for each
    part the last paragraph whose Files match it (the most specific one), and
    the licence paragraphs those name."""
    with open("/usr/share/doc/emscripten/copyright", encoding="utf-8") as f:
        paragraphs = [p for p in f.read().split("\n\n") if p.strip()]
    chosen = []
    for path in EMSCRIPTEN_LINKED:
        matching = [p for p in paragraphs if dep5_field(p, "Files") and
                    any(fnmatch.fnmatch(path, pattern)
                        for line in dep5_field(p, "Files") for pattern in line.split())]
        if matching and matching[-1] not in chosen:
            chosen.append(matching[-1])
    named = {word for p in chosen for word in dep5_field(p, "License")[0].split()}
    licences = [p for p in paragraphs if not dep5_field(p, "Files") and
                dep5_field(p, "License") and dep5_field(p, "License")[0] in named]
    return textwrap.dedent(f"""\
        Emscripten {debian_version("emscripten")} runtime (its JavaScript runtime, the C library musl,
        libc++, libc++abi, compiler-rt and dlmalloc)
        ------------------------------------------------------------------------
        Source: Debian's source package emscripten
          (https://sources.debian.org/src/emscripten/). Its notices for these
          parts, as Debian records them:
        """) + "\n" + "\n\n".join(chosen + licences)


def liberation_fonts():
    with open("/usr/share/doc/fonts-liberation2/copyright", encoding="utf-8") as f:
        text = f.read().strip()
    return textwrap.dedent(f"""\
        Liberation fonts {debian_version("fonts-liberation2")} (Liberation Serif and Liberation Sans,
        regular and bold, carried by the page unchanged)
        ------------------------------------------------------------------------
        Source: Debian's package fonts-liberation2 (https://github.com/liberationfonts).
        As Debian records them:
        """) + "\n" + text


def main():
    platform, qtbase, qtsvg, options, out = sys.argv[1:6]
    web = platform == "web"
    os.makedirs(out, exist_ok=True)
    for name, target in [("LGPL-3.0-only.txt", "LGPL-3.0.txt"),
                         ("GPL-3.0-only.txt", "GPL-3.0.txt")]:
        with open(os.path.join(qtbase, "LICENSES", name), encoding="utf-8") as f:
            text = f.read()
        with open(os.path.join(out, target), "w", encoding="utf-8", newline="\r\n") as f:
            f.write(text)

    if web:
        header = textwrap.dedent("""\
            Licence notices for the Tervalin web page
            =========================================
            tervalin.wasm and tervalin.js are Tervalin (GPL-3.0-or-later, see LICENSE.txt
            and GPL-3.0.txt) with the Qt 6.4.2 libraries and the Emscripten runtime
            linked into them and the Liberation fonts built in; qtloader.js is Qt's.
            Each part below keeps its own licence. Tervalin's own sources, with which
            the page can be built again against a changed Qt, are published with it.
            """)
    else:
        header = textwrap.dedent("""\
            Licence notices for tervalin.exe
            ================================
            tervalin.exe is Tervalin (GPL-3.0-or-later, see LICENSE.txt and GPL-3.0.txt)
            with the Qt 6.4.2 libraries and the MinGW-w64 runtime linked into it. Each
            part below keeps its own licence. Tervalin's own sources, with which the
            program can be built again against a changed Qt, are published with it.
            """)
    parts = [header + textwrap.dedent(f"""\

        Qt 6.4.2 (qtbase and qtsvg)
        ------------------------------------------------------------------------
        Licence: GNU Lesser General Public License version 3 (LGPL-3.0.txt, which
          adds to GPL-3.0.txt)
        Copyright: The Qt Company Ltd. and other contributors
        Source: {QT_ARCHIVES}qtbase-everywhere-src-6.4.2.tar.xz and
          {QT_ARCHIVES}qtsvg-everywhere-src-6.4.2.tar.xz; Debian's source
          package qt6-base 6.4.2 holds the same qtbase. Built for {"WebAssembly" if web else "Windows"} with:
          {options}
        """)]
    qtbase_parts = WEB_QTBASE_PARTS if web else QTBASE_PARTS
    for module, root, names in [("qtbase", qtbase, qtbase_parts), ("qtsvg", qtsvg, QTSVG_PARTS)]:
        for part in names:
            for path, entry in attributions(root, part):
                parts.append(notice(module, root, part, path, entry))
    parts += [emscripten_runtime(), liberation_fonts()] if web else [mingw_runtime()]

    with open(os.path.join(out, "THIRD-PARTY-NOTICES.txt"), "w", encoding="utf-8",
              newline="\r\n") as f:
        f.write(("\n\n\n".join(parts)) + "\n")


if __name__ == "__main__":
    main()
