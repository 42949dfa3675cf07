"""The MSI under Wine, as whoever keeps a room of Windows computers deploys
it: a silent install, the Start-menu shortcut, the installed program, its
entry among the installed apps, a silent removal that leaves nothing of
Tervalin behind, and the upgrade rules. Each test installs into a Wine prefix
of its own. msiexec runs as a deployment script starts it, with `start /wait`,
and its status is read from cmd's errorlevel: Wine hands on to Linux only the
low 8 bits of a Windows exit status."""

import glob
import os
import struct
import subprocess
import unittest
import zipfile

import wine
from harness import RIGHT, EndToEndCase, copied_message

PACKAGES = os.environ.get("TERVALIN_PACKAGES", "")
ICON = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "packaging",
                    "tervalin.ico")
FOLDER = "C:\\Program Files\\Tervalin\\"
UNINSTALL = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
PRODUCTS = "HKLM\\Software\\Classes\\Installer\\Products\\"
# Where the Start menu's programs are: for all users, as Windows puts a
# per-machine installation's shortcut, or the user's, where Wine 8 puts it.
START_MENUS = ("ProgramData/Microsoft/Windows/Start Menu/Programs",
               "users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
# Windows Installer's status for an installation it refused (ERROR_INSTALL_FAILURE).
FAILED = 1603


def package(pattern):
    found = glob.glob(os.path.join(PACKAGES, pattern))
    if len(found) != 1:
        raise AssertionError(f"not one package {pattern} in {PACKAGES}: {found}")
    return found[0]


def properties(msi):
    rows = subprocess.run(["msiinfo", "export", msi, "Property"], capture_output=True,
                          text=True, check=True).stdout.splitlines()[3:]
    return dict(row.rstrip("\r").split("\t", 1) for row in rows)


def squished(code):
    """A GUID as Windows Installer names its registry keys."""
    h = code.strip("{}").replace("-", "")
    return h[7::-1] + h[11:7:-1] + h[15:11:-1] + "".join(h[i + 1] + h[i] for i in range(16, 32, 2))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def shortcut(path):
    """The target, working folder and icon a .lnk file names (MS-SHLLINK)."""
    data = read(path)
    flags = struct.unpack_from("<I", data, 0x14)[0]
    at = 0x4C
    if flags & 0x01:  # an item list, skipped: the path is in the link information
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = None
    if flags & 0x02:
        size, _, _, _, base = struct.unpack_from("<5I", data, at)
        target = data[at + base:data.index(b"\0", at + base)].decode("latin-1")
        at += size
    strings = {}
    for bit, name in [(0x04, "name"), (0x08, "relative"), (0x10, "folder"), (0x20, "arguments"),
                      (0x40, "icon")]:
        if flags & bit:
            count = struct.unpack_from("<H", data, at)[0]
            # Wine counts the string's terminating null too
            strings[name] = data[at + 2:at + 2 + 2 * count].decode("utf-16-le").rstrip("\0")
            at += 2 + 2 * count
    return target, strings.get("folder"), strings.get("icon")


class MsiTest(EndToEndCase):
    def setUp(self):
        super().setUp()
        if not PACKAGES:
            self.skipTest("TERVALIN_PACKAGES names no packages")
        self.msi = package("tervalin-*-windows-x64.msi")
        self.higher = package("higher/tervalin-*-windows-x64.msi")
        self.own = properties(self.msi)
        self.prefix = None
        self.addCleanup(self.fresh_prefix, False)
        self.fresh_prefix()

    def fresh_prefix(self, make=True):
        if self.prefix:
            self.prefix.stop()
        self.prefix = wine.Prefix() if make else None

    def msiexec(self, *args):
        """msiexec's exit status, as a deployment script reads it."""
        command = f"start /wait msiexec {' '.join(args)} /qn & echo !errorlevel!"
        out = subprocess.run(self.prefix.command("cmd", ["/v:on", "/c", command]),
                             env=self.prefix.env(os.environ), capture_output=True, text=True,
                             timeout=300).stdout
        return int(out.split()[-1])

    def reg(self, key):
        """The values of a registry key, or None where there is no such key."""
        query = subprocess.run(self.prefix.command("reg", ["query", key]), capture_output=True,
                               text=True, env=self.prefix.env(os.environ), timeout=60)
        if query.returncode != 0:
            return None
        rows = [line.rstrip("\r").split("    ") for line in query.stdout.splitlines()]
        return {row[1]: row[3] for row in rows if len(row) == 4 and not row[0]}

    def installed_version(self):
        """The versions of Tervalin among the installed apps."""
        return [entry["DisplayVersion"] for code in {self.own["ProductCode"],
                                                      properties(self.higher)["ProductCode"]}
                if (entry := self.reg(UNINSTALL + code))]

    def traces(self):
        """Every file, folder, registry key or value that names Tervalin or its
        codes, and what Windows Installer keeps of installed packages."""
        codes = [self.own["ProductCode"], self.own["UpgradeCode"]]
        names = ["tervalin"] + [c.strip("{}").lower() for c in codes] + [squished(c).lower()
                                                                          for c in codes]
        self.prefix.end_server()
        found = []
        for folder, dirs, files in os.walk(os.path.join(self.prefix.path, "drive_c")):
            found += [os.path.join(folder, n) for n in dirs + files
                      if any(name in os.path.join(folder, n).lower() for name in names)]
        found += glob.glob(os.path.join(self.prefix.path, "drive_c/windows/Installer/*.msi"))
        for hive in ("system.reg", "user.reg"):
            with open(os.path.join(self.prefix.path, hive), encoding="utf-8",
                      errors="replace") as f:
                found += [line for line in f if any(name in line.lower() for name in names)]
        return found

    def test_silent_install_shortcut_program_entry_and_silent_removal(self):
        self.assertEqual(self.traces(), [], "the fresh prefix")
        self.assertEqual(self.msiexec("/i", wine.windows_path(self.msi)), 0, "silent install")

        # The ZIP's files but its read-me, in Program Files\Tervalin.
        with zipfile.ZipFile(package("tervalin-*-windows-x64.zip")) as z:
            expected = {m.filename.split("/", 1)[1]: z.read(m) for m in z.infolist()
                        if not m.is_dir() and not m.filename.endswith("/README.txt")}
        folder = self.prefix.host_path(FOLDER)
        installed = {os.path.relpath(os.path.join(d, n), folder): read(os.path.join(d, n))
                     for d, _, names in os.walk(folder) for n in names}
        self.assertEqual(sorted(installed), sorted(expected))
        self.assertTrue(installed == expected, "the installed files are the ZIP's")

        links = [p for menu in START_MENUS
                 for p in glob.glob(os.path.join(self.prefix.path, "drive_c", menu, "**"),
                                    recursive=True) if os.path.isfile(p)]
        self.assertEqual([os.path.basename(p) for p in links], ["Tervalin.lnk"],
                         "one Start-menu shortcut")
        target, working, icon = shortcut(links[0])
        self.assertEqual((target, working), (FOLDER + "tervalin.exe", FOLDER))
        picture = read(ICON)
        self.assertEqual(read(self.prefix.host_path(icon)), picture, f"the shortcut's icon {icon}")
        added = self.prefix.added()
        self.assertEqual([a for a in added if not a.startswith("[")],
                         sorted([os.path.relpath(links[0], self.prefix.path)] +
                                [f"drive_c/Program Files/Tervalin/{f}" for f in installed]),
                         "no other file installed")
        # Keys as the registry's files write them, their backslashes doubled.
        records = (r"[Software\\Classes\\Installer\\",
                   r"[Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\",
                   r"[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
                   self.own["ProductCode"] + "]")
        self.assertEqual([a for a in added if a.startswith("[") and not a.startswith(records)], [],
                         "no registry key but Windows Installer's records of the package")

        with self.launch("installed", executable=target, prefix=self.prefix) as app:
            app.press_start("keyboard")
            app.wait_for_route_end()
            box = app.answer("keyboard", "0")
            self.assertEqual(app.message_text(box), copied_message(RIGHT))
            app.close_message_box(box)

        entry = self.reg(UNINSTALL + self.own["ProductCode"])
        self.assertIsNotNone(entry, "an entry among the installed apps")
        self.assertEqual({k: entry.get(k, "") for k in ("DisplayName", "DisplayVersion",
                                                     "Publisher", "HelpLink")},
                         {"DisplayName": "Tervalin", "DisplayVersion": self.own["ProductVersion"],
                          "Publisher": "Tervalin developers",
                          "HelpLink": os.environ.get("TERVALIN_URL", "")})
        self.assertIn("GNU General Public License, version 3 or later", entry["Comments"])
        icon = self.reg(PRODUCTS + squished(self.own["ProductCode"]))["ProductIcon"]
        self.assertEqual(read(self.prefix.host_path(icon)), picture, f"the entry's icon {icon}")

        self.assertEqual(self.msiexec("/x", wine.windows_path(self.msi)), 0, "silent removal")
        self.assertEqual(self.traces(), [], "what the removal left")

    def test_upgrade_rules(self):
        own, higher = self.own["ProductVersion"], properties(self.higher)["ProductVersion"]
        # (what, the packages installed in turn, their statuses, the version installed then)
        rules = [(f"{own} again", [self.msi, self.msi], [0, 0], own),
                 (f"{higher} over {own}", [self.msi, self.higher], [0, 0], higher),
                 (f"{own} over {higher}", [self.higher, self.msi], [0, FAILED], higher)]
        for what, packages, statuses, version in rules:
            with self.subTest(what):
                self.fresh_prefix()
                self.assertEqual([self.msiexec("/i", wine.windows_path(p)) for p in packages],
                                 statuses)
                self.assertEqual(self.installed_version(), [version])
                self.assertTrue(os.path.exists(self.prefix.host_path(FOLDER + "tervalin.exe")))


if __name__ == "__main__":
    unittest.main()
