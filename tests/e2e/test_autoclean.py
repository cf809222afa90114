"""Auto Clean with real other programs: xclip copies to the X clipboard, which Wine turns into a
Windows clipboard change; the e2e driver copies with several formats at once, and a second
driver joins the clipboard viewer chain before Sorvane does, so it sits after Sorvane. Each check
reads the clipboard back as the next paste would: xclip -o, and the driver's CF_TEXT. Then Clean
and Paste in the same session: the driver's window with an edit box is the program in front,
xdotool presses the key (Ctrl+Win+V reaches Wine on the virtual display) and types into the
dialog."""
import os
import struct
import subprocess
import time
import unittest
import zlib

from harness import DRIVER, ID_OPT_AUTOCLEAN, IDOK, SETTINGS_KEY, SHOTS, WINE, SessionTest, sorvane_clean
from harness import QUOTED_MAIL as MAIL

EXCLUDE = "ExcludeClipboardContentFromMonitorProcessing"
PRESETS_KEY = r"HKEY_CURRENT_USER\Software\Meradon\Sorvane\Presets"
CHARACTER_FLAGS = ("char-straight quotes", "char-plain dashes", "char-plain ellipsis", "char-plain spaces",
                   "char-remove invisible")
IDC_CLEAN_PASTE_DELAY = 1114


def png(width, height):
    rows = b"".join(b"\x00" + b"\x20\x60\xa0" * width for _ in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def as_x_text(windows_text):
    """What X programs paste of a Windows CF_TEXT: UTF-8, lines ending in LF."""
    return windows_text.decode("cp1252").replace("\r\n", "\n").encode("utf-8")


class AutoClean(SessionTest):
    def setUp(self):
        super().setUp()
        self.xclips = []
        self.addCleanup(self.stop_xclips)

    def stop_xclips(self):
        for x in self.xclips:
            if x.poll() is None:
                x.kill()
            x.wait()

    def add_preset(self, name, values):
        """A user preset put into the registry as the program stores one, before it starts."""
        def reg_value(value):
            if isinstance(value, int):
                return "dword:%08x" % (value & 0xffffffff)
            return '"%s"' % value.replace("\\", "\\\\").replace('"', '\\"')
        lines = ["Windows Registry Editor Version 5.00", "", "[%s\\%s]" % (PRESETS_KEY, name)]
        lines += ['"%s"=%s' % (key, reg_value(value)) for key, value in values.items()]
        path = os.path.join(self.s.root, "preset.reg")
        with open(path, "w", encoding="utf-16") as f:
            f.write("\r\n".join(lines) + "\r\n")
        code, out, err = self.s.wine("reg", "import", self.s.windows_path(path))
        self.assertEqual(code, 0, err)

    # --- the other programs ----------------------------------------------------------------
    def xcopy(self, data, target=None):
        """xclip owns the X clipboard with data until another program takes it over."""
        args = ["xclip", "-quiet", "-selection", "clipboard", "-i"] + (["-t", target] if target else [])
        x = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        x.stdin.write(data)
        x.stdin.close()
        self.xclips.append(x)

    def xpaste(self, target=None):
        args = ["xclip", "-selection", "clipboard", "-o"] + (["-t", target] if target else [])
        return subprocess.run(args, capture_output=True, timeout=30).stdout

    def windows_paste(self):
        path = os.path.join(self.s.root, "clip.txt")
        out, code = self.s.drive("clip-get", self.s.windows_path(path), check=False)
        with open(path, "rb") as f:
            return f.read() if code == 0 else None

    def notifications(self):
        try:
            with open(self.watch_file) as f:
                return int(f.read().strip() or 0)
        except (OSError, ValueError):
            return 0

    def copy_and_wait(self, copy, run_expected=True):
        """Does copy; waits until the viewer after Sorvane has the notification and, when a run is
        expected, until Sorvane reports it. Returns the status text ("" when no run reported)."""
        s = self.s
        s.drive("status-clear")
        seen = self.notifications()
        copy()
        until = time.time() + 20
        while self.notifications() <= seen:
            self.assertLess(time.time(), until, "the viewer after Sorvane got no notification")
            time.sleep(0.05)
        while run_expected and not s.drive("status").strip():
            self.assertLess(time.time(), until, "no Auto Clean run reported")
            time.sleep(0.05)
        if not run_expected:
            s.drive("state")  # waits until the program has handled what reached it
            time.sleep(0.3)
        return s.drive("status").strip()

    def test_copies_from_other_programs(self):
        s = self.s
        self.watch_file = os.path.join(s.root, "watch.txt")
        watcher = subprocess.Popen([WINE, DRIVER, "watch", s.windows_path(self.watch_file)], env=s.env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        until = time.time() + 30
        while self.notifications() < 1:
            self.assertLess(time.time(), until, "the viewer did not join the chain")
            time.sleep(0.1)
        plain = dict(s.builtin_preset("Full Cleaning"), **{flag: 1 for flag in CHARACTER_FLAGS})
        self.add_preset("Plain characters", plain)
        self.start()

        # An e-mail: the next paste is what sorvane-clean makes of it, byte for byte.
        expected = sorvane_clean(MAIL.encode("cp1252"))
        status = self.copy_and_wait(lambda: self.xcopy(MAIL.encode("utf-8")))
        self.assertIn("cleaned", status)
        self.assertEqual(self.windows_paste(), expected)
        self.assertEqual(self.xpaste(), as_x_text(expected))
        self.assertEqual(s.text(), expected)
        s.screenshot("autoclean-cleaned")

        # A second run straight after: no exchange follows, the chain goes quiet.
        second = b"  Two   runs\nin a row.\n"
        status = self.copy_and_wait(lambda: self.xcopy(second))
        self.assertIn("cleaned", status)
        quiet = self.notifications()
        time.sleep(1.0)
        self.assertEqual(self.notifications(), quiet)
        self.assertEqual(self.windows_paste(), sorvane_clean(second))

        # An already clean copy is not taken over: xclip keeps owning the clipboard.
        clean = b"Clean web text already."
        status = self.copy_and_wait(lambda: self.xcopy(clean))
        self.assertIn("already clean", status)
        self.assertIsNone(self.xclips[-1].poll(), "xclip lost the clipboard")
        self.assertEqual(self.xpaste(), clean)

        # Copies that are left as they are.
        password = b"  pass  word  "
        path = os.path.join(s.root, "marked.txt")
        with open(path, "wb") as f:
            f.write(password)
        status = self.copy_and_wait(lambda: s.drive("clip-set", s.windows_path(path), EXCLUDE))
        self.assertIn("left a copy alone", status)
        self.assertEqual(self.windows_paste(), password)

        picture = png(6, 4)
        status = self.copy_and_wait(lambda: self.xcopy(picture, "image/png"))
        self.assertIn("left a copy alone", status)
        self.assertEqual(self.xpaste("image/png"), picture)

        s.screenshot("autoclean-skipped")

        # Any script: a Greek and a Chinese e-mail come back as sorvane-clean makes them (their
        # statuses differ, as the status bar writes only a text it does not show already).
        for mail in ("> \u0393\u03b5\u03b9\u03ac \u03c3\u03bf\u03c5,\n>\n> \u03c4\u03b1   \u03bd\u03ad\u03b1.\n",
                     "> \u4f60\u597d\uff0c\n>\n> \u65e5\u672c\u8a9e   text    \U0001f600.\n"):
            data = mail.encode("utf-8")
            reference = sorvane_clean(data, "--encoding", "utf-8")
            status = self.copy_and_wait(lambda: self.xcopy(data))
            self.assertIn("cleaned", status)
            self.assertEqual(self.xpaste(), reference.replace(b"\r\n", b"\n"))
        s.screenshot("autoclean-unicode")

        # Copying inside the editor is not cleaned.
        s.set_text(b"Local   text,   copied   here.")
        s.drive("select", "0", "13")
        self.assertEqual(self.copy_and_wait(lambda: s.keys("ctrl+c"), run_expected=False), "")
        self.assertEqual(self.xpaste(), b"Local   text,")

        # Auto Clean off, then on again: while its notice is open nothing is cleaned either.
        s.command(ID_OPT_AUTOCLEAN)
        spaced = b"a  b   c"
        self.assertEqual(self.copy_and_wait(lambda: self.xcopy(spaced), run_expected=False), "")
        self.assertEqual(self.xpaste(), spaced)
        s.drive("command", str(ID_OPT_AUTOCLEAN))
        s.drive("wait-dialog", "Auto Clean is Enabled", "10000")
        self.assertIn("a dialog was open", self.copy_and_wait(lambda: self.xcopy(b"x  y"), run_expected=False))
        self.assertEqual(self.xpaste(), b"x  y")
        s.drive("press-button", "Auto Clean is Enabled", str(IDOK))

        # Work of the user's in the editor stays; the copy is cleaned on the clipboard alone.
        s.set_text(b"")
        s.keys("m", "y", "space", "n", "o", "t", "e")
        status = self.copy_and_wait(lambda: self.xcopy(MAIL.encode("utf-8")))
        self.assertIn("unsaved text kept", status)
        self.assertEqual(self.windows_paste(), expected)
        self.assertEqual(s.text(), b"my note")
        s.screenshot("autoclean-kept")

        # Under a preset with the five character flags on, curly quotes, a dash, an ellipsis
        # and a zero-width space come back plain, as sorvane-clean makes them with those flags.
        s.drive("combo-select", "Plain characters")
        typed = "> \u201cSmart\u201d quotes \u2013 a zero\u200bwidth space\u2026\n".encode("utf-8")
        sets = [arg for flag in CHARACTER_FLAGS for arg in ("--set", flag + "=1")]
        reference = sorvane_clean(typed, "--encoding", "utf-8", *sets)
        self.assertEqual(reference, b'"Smart" quotes - a zerowidth space...')
        self.copy_and_wait(lambda: self.xcopy(typed))
        self.assertEqual(self.windows_paste(), reference)
        self.assertEqual(self.xpaste(), reference)
        # Clean and Paste, Auto Clean off: the key pastes into the program in front what
        # sorvane-clean makes of the e-mail, and the clipboard gets the e-mail back.
        s.command(ID_OPT_AUTOCLEAN)
        self.clean_and_paste(["ctrl+super+v"], 0.5)

        # Another key and delay, chosen in Options > Clean and Paste... with real keys.
        s.keys("alt+o", "p")
        s.drive("wait-dialog", "Clean and Paste", "10000")
        # The dialog's own picture as it opens (docs/clean-and-paste.png).
        x, y, w, h = (int(v) for v in s.drive("dialog-rect", "Clean and Paste").split())
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                        os.path.join(SHOTS, "clean-and-paste.png")], check=True, capture_output=True, timeout=60)
        subprocess.run(["xdotool", "key", "Tab", "ctrl+alt+j", "Tab", "Tab"], check=True)
        subprocess.run(["xdotool", "type", "300"], check=True)
        time.sleep(0.5)
        self.assertEqual(s.drive("dialog-get-text", "Clean and Paste", str(IDC_CLEAN_PASTE_DELAY)).strip(), "300")
        s.screenshot("clean-and-paste-dialog")
        subprocess.run(["xdotool", "key", "Return"], check=True)
        self.clean_and_paste(["ctrl+alt+j"], 0.3)

        self.assertEqual(s.close(), 0)
        self.stop_target()
        open(self.watch_file + ".stop", "w").close()
        watcher.wait(timeout=30)
        settings = s.registry(SETTINGS_KEY)
        self.assertEqual((settings.get("Clean Paste"), settings.get("Clean Paste Key"),
                          settings.get("Clean Paste Delay")), (1, 0x034A, 300))

    def read_target(self):
        with open(self.target_file, "rb") as f:
            return f.read()

    def stop_target(self):
        if getattr(self, "target", None) and self.target.poll() is None:
            open(self.target_file + ".stop", "w").close()
            self.target.wait(timeout=30)

    def clean_and_paste(self, keys, delay):
        """The e-mail copied in an X program; keys pressed with the target's edit box in front."""
        s = self.s
        self.stop_target()
        self.target_file = os.path.join(s.root, "target.txt")
        for path in (self.target_file, self.target_file + ".stop"):
            if os.path.exists(path):
                os.remove(path)
        self.target = subprocess.Popen([WINE, DRIVER, "target", s.windows_path(self.target_file)], env=s.env,
                                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.stop_target)
        self.eventually(lambda: subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], capture_output=True,
                                               text=True).stdout.strip(), "Sorvane Test Target", "the target in front", 30)
        mail = MAIL.encode("utf-8")
        self.xcopy(mail)
        self.eventually(self.xpaste, mail, "the e-mail on the clipboard")
        subprocess.run(["xdotool", "key"] + keys, check=True)
        self.eventually(self.read_target, sorvane_clean(mail), "the cleaned e-mail in the target")
        s.screenshot("clean-and-paste-target")
        self.eventually(self.xpaste, mail, "the e-mail back on the clipboard", delay + 10)


if __name__ == "__main__":
    unittest.main()
