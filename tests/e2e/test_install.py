"""The installer as a Windows user runs it, silently, in a fresh prefix: the program, its files,
the Start-menu shortcut and the uninstall entry; the installed program started, a paste cleaned
and the program closed; an install over it; the uninstaller removing all it put down and
keeping the settings unless asked to remove them. The installer is built by dist/setup from
the build tree these tests run (a 64-bit installer of the 64-bit program where 32-bit code
cannot run)."""
import glob
import os
import re
import struct
import subprocess
import unittest

from harness import ID_OPT_AUTOCLEAN, QUOTED_MAIL, SETTINGS_KEY, TOP, TREE, WINESERVER, SessionTest, \
    sorvane_clean, wine_for

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorvane"
INSTALLED = ["LICENSE.txt", "README.txt", "Sorvane.exe", "abbr.dat", "uninstall.exe"]


class Installer(SessionTest):
    def setUp(self):
        super().setUp()
        made = subprocess.run([os.path.join(TOP, "dist", "setup"), TREE, os.path.join(self.s.root, "dist")],
                              capture_output=True, text=True, timeout=120)
        self.assertEqual(made.returncode, 0, made.stderr)
        self.setup = made.stdout.strip()
        with open(os.path.join(TOP, "resources", "version.h")) as f:
            self.version = re.search(r'#define SORVANE_VERSION "([^"]+)"', f.read()).group(1)
        # No menu entries on this machine's desktop for the shortcuts made in the prefix.
        self.s.env["WINEDLLOVERRIDES"] += ";winemenubuilder.exe=d"
        users = [u for u in glob.glob(os.path.join(self.s.prefix, "drive_c", "users", "*"))
                 if os.path.basename(u) != "Public"]
        self.assertEqual(len(users), 1, users)
        self.user = os.path.basename(users[0])
        self.home = os.path.join(users[0], "AppData", "Local", "Programs", "Sorvane")
        self.windows_home = r"C:\users\%s\AppData\Local\Programs\Sorvane" % self.user
        self.start_menu = os.path.join(users[0], "AppData", "Roaming", "Microsoft", "Windows", "Start Menu",
                                       "Programs", "Sorvane.lnk")
        self.desktop = os.path.join(users[0], "Desktop", "Sorvane.lnk")

    def install(self):
        code, _, _ = self.s.wine(self.s.windows_path(self.setup), "/S")
        return code

    def uninstall(self, *args):
        code, _, _ = self.s.wine(self.windows_home + r"\uninstall.exe", "/S", *args)
        self.assertEqual(code, 0, "the silent uninstall")
        # The uninstaller goes on in a copy of itself: wait for every process of the prefix.
        subprocess.run([WINESERVER, "-w"], env=self.s.env, timeout=120)
        self.assertFalse(os.path.exists(self.home), "the program folder is removed")
        self.assertFalse(os.path.exists(self.start_menu), "the Start-menu shortcut is removed")
        self.assertEqual(self.s.registry(UNINSTALL_KEY), {}, "the uninstall entry is removed")

    def test_install_use_update_uninstall(self):
        s = self.s
        exe = self.windows_home + r"\Sorvane.exe"
        self.assertEqual(s.drive("file-version", s.windows_path(self.setup)).strip(), self.version)
        with open(self.setup, "rb") as f:
            setup = f.read()
        with open(os.path.join(TOP, "resources", "Sorvane.ico"), "rb") as f:
            icon = f.read()
        for i in range(struct.unpack_from("<H", icon, 4)[0]):
            size, offset = struct.unpack_from("<II", icon, 6 + 16 * i + 8)
            self.assertIn(icon[offset:offset + size], setup, "the installer carries the program's icon")

        self.assertEqual(self.install(), 0, "the silent install")
        self.assertEqual(sorted(os.listdir(self.home)), INSTALLED)
        with open(os.path.join(TOP, "resources", "abbr.dat"), "rb") as shipped, \
                open(os.path.join(self.home, "abbr.dat"), "rb") as installed:
            self.assertEqual(installed.read(), shipped.read())
        self.assertEqual(s.drive("file-version", exe).strip(), self.version)
        with open(self.start_menu, "rb") as f:
            shortcut = f.read()
        self.assertTrue(exe.encode("utf-16-le") in shortcut or exe.encode("cp1252") in shortcut,
                        "the shortcut starts the installed program")
        self.assertFalse(os.path.exists(self.desktop), "no desktop shortcut unless chosen")
        size_kb = sum(os.path.getsize(os.path.join(self.home, n)) for n in INSTALLED) // 1024
        entry = s.registry(UNINSTALL_KEY)
        self.assertLessEqual(abs(entry.pop("EstimatedSize") - size_kb), 4, "EstimatedSize in KB")
        self.assertEqual(entry, {
            "DisplayName": "Sorvane", "DisplayVersion": self.version, "Publisher": "Meradon",
            "DisplayIcon": exe, "InstallLocation": self.windows_home,
            "UninstallString": '"%s\\uninstall.exe"' % self.windows_home,
            "QuietUninstallString": '"%s\\uninstall.exe" /S' % self.windows_home,
            "NoModify": 1, "NoRepair": 1})

        # The installed program, started in its folder.
        s.program_dir = self.home
        s.starts += 1
        with open(s.wine_log(), "wb") as log:
            s.process = subprocess.Popen([wine_for(self.setup), exe], cwd=self.home, env=s.env,
                                         stdout=log, stderr=subprocess.STDOUT)
        s.wait_ready()
        s.command(ID_OPT_AUTOCLEAN)
        pasted = QUOTED_MAIL.replace("\n", "\r\n").encode("cp1252")
        self.paste_from_another_program(QUOTED_MAIL)
        self.assertEqual(s.text(), pasted)
        s.keys("ctrl+e")
        self.assertEqual(s.text(), sorvane_clean(pasted))
        s.screenshot("installed-clean-everything")

        # While it runs, an install over it stops without touching it.
        self.assertEqual(self.install(), 2, "the silent install while Sorvane runs")
        self.assertEqual(sorted(os.listdir(self.home)), sorted(INSTALLED + ["sv_log.txt"]))
        self.assertEqual(s.close(), 0)
        self.assertEqual(s.registry(SETTINGS_KEY).get("AutoClean"), 0, "the settings stored at exit")

        # Closed, an install over it replaces its files.
        with open(os.path.join(self.home, "README.txt"), "wb") as f:
            f.write(b"an older read-me")
        self.assertEqual(self.install(), 0, "the silent install")
        with open(os.path.join(TOP, "dist", "README.txt"), "rb") as shipped, \
                open(os.path.join(self.home, "README.txt"), "rb") as installed:
            self.assertEqual(installed.read(), shipped.read())

        self.uninstall()
        self.assertEqual(s.registry(SETTINGS_KEY).get("AutoClean"), 0, "the settings are kept")

        self.assertEqual(self.install(), 0, "the silent install")
        self.uninstall("/REMOVESETTINGS")
        code, _, _ = s.wine("reg", "query", r"HKCU\Software\Meradon")
        self.assertNotEqual(code, 0, "the settings and presets are removed, and their empty parent key")


if __name__ == "__main__":
    unittest.main()
