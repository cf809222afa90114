"""What a new user meets first, with real keys and clicks: the help of the first start's notice
beside the notice, Shift+F1 help mode on the toolbar, and the main window taking the keys again after a box without an owner, and file names outside
the 8-bit code page."""
import os
import subprocess
import unittest

from harness import IDNO, PROGRAM_DIR, SETTINGS_KEY, TREE, WINE, SessionTest

FILE_DIALOG = os.environ.get("SORVANE_E2E_FILE_DIALOG",
                             os.path.join(TREE, "tests", "e2e", "e2e_file_dialog.exe"))
ID_FILE_OPEN, ID_FILE_SAVE_AS = 57601, 57604
ID_HELP = 57670
NOTICE = "Auto Clean is Enabled"

ID_EDIT_CLEAN_SELECTED = 32772
ID_CONTEXT_HELP = 57669
IDC_TOOLBAR_PRESETS = 1074
# Toolbar entries by index, and the help topic each one's command opens.
TOOLBAR_TOPICS = [(11, "Cleaning Text"), (0, "Auto Clean"), (3, "Files and Settings"),
                  (12, "Cleaning Text"), (14, "Getting Started")]


class NewUser(SessionTest):
    def help_title(self):
        out, code = self.s.drive("help", check=False)
        return out.partition("\n")[0] if code == 0 else None

    def windows(self):
        return [line.split("\t")[0] for line in self.s.drive("windows").splitlines()]

    def rect(self, title):
        """(left, top, right, bottom) and the place in the z-order (0 in front)."""
        values = [int(v) for v in self.s.drive("window-rect", title).split()]
        return tuple(values[:4]), values[4]

    def test_help_from_the_notice_then_help_mode_on_every_kind_of_toolbar_entry(self):
        s = self.s
        s.start()
        s.drive("wait-dialog", "Welcome!", "30000")
        s.drive("press-button", "Welcome!", str(IDNO))
        s.drive("wait-dialog", NOTICE, "30000")
        s.drive("click-button", NOTICE, str(ID_HELP))
        self.eventually(self.help_title, "Sorvane Help - Auto Clean\tAuto Clean", "the notice's Help")
        s.screenshot("help-from-notice")
        (nl, nt, nr, nb), notice_z = self.rect(NOTICE)
        (hl, ht, hr, hb), _ = self.rect("Sorvane Help - Auto Clean")
        self.assertTrue(hr <= nl or hl >= nr or hb <= nt or ht >= nb,
                        "the help leaves the notice in sight: %r %r" % ((nl, nt, nr, nb), (hl, ht, hr, hb)))
        self.assertLess(notice_z, self.rect("Untitled - Sorvane")[1], "the notice stays above the main window")
        s.drive("keys-as-is", "escape")
        self.eventually(self.help_title, None, "Escape closes the help")
        self.eventually(lambda: s.drive("active").split("\t")[1].split("\n")[0], NOTICE,
                        "closing the help goes back to the notice")
        s.drive("keys-as-is", "return")
        s.wait_ready()
        self.assertEqual(s.dialogs_seen, [])

        text = b">  quoted   text\r\n"
        s.set_text(text)
        s.drive("select", "0", "0")
        for index, topic in TOOLBAR_TOPICS + [(None, "Presets")]:
            s.keys("shift+f1")
            self.assertEqual(s.drive("toolbar-checked", str(ID_CONTEXT_HELP)).strip(), "checked")
            if index == 11:
                s.screenshot("help-mode-on")
            if index is None:
                s.drive("click-child", str(IDC_TOOLBAR_PRESETS))
            else:
                s.drive("click-toolbar", str(index))
            self.eventually(self.help_title, "Sorvane Help - %s\t%s" % (topic, topic), "help for %s" % index)
            if index == 11:
                s.screenshot("help-mode-clean-everything")
            self.assertEqual(s.drive("toolbar-checked", str(ID_CONTEXT_HELP)).strip(), "unchecked",
                             "help mode ends with the click")
            s.drive("close-help")
            self.assertEqual(s.text(), text, "nothing ran")
            self.assertNotIn("#32770", self.windows(), "no Open dialog, no Auto Clean notice")
        # Auto Clean was never switched off: it is stored on at the end.
        self.assertEqual(s.close(), 0)
        self.assertEqual(s.registry(SETTINGS_KEY).get("AutoClean"), 1)

    def test_the_main_window_takes_the_keys_again_after_a_box_without_owner(self):
        s = self.s
        folder = os.path.join(s.prefix, "drive_c", "My Documents")
        os.makedirs(folder)
        with open(os.path.join(folder, "big.txt"), "wb") as f:
            f.write(b"x" * 1048576)
        self.start()
        s.command(ID_FILE_OPEN)
        code, _, err = s.wine(FILE_DIALOG, "Open", "C:\\My Documents\\big.txt", "10000")
        self.assertEqual(code, 0, err)
        self.assertEqual(s.drive("wait-dialog", "WARNING", "10000").strip(),
                         "WARNING\tThe file is too large to open.")
        s.drive("keys-as-is", "return")
        self.eventually(lambda: "#32770" in self.windows(), False, "Enter closes the box")
        # The system hands the activation back a moment after the box is gone.
        self.eventually(lambda: s.drive("active").splitlines()[0].split("\t")[1],
                        "Untitled - Sorvane", "the main window is active again")
        focus = s.drive("active").splitlines()[1]
        self.assertEqual(focus.split("\t")[0].lower(), "edit")
        s.drive("keys-as-is", "h", "i")
        self.assertEqual(s.text(), b"hi", "typing reaches the editor without a click")
        self.assertEqual(s.close(), 0)

    def test_file_names_outside_the_code_page_from_the_command_line_and_the_file_dialogs(self):
        s = self.s
        folder = os.path.join(s.prefix, "drive_c", "My Documents")
        os.makedirs(folder)
        notes = "\u03a9mega notes.txt"
        with open(os.path.join(folder, notes), "wb") as f:
            f.write(b"> caf\xe9  notes\r\n")
        s.starts += 1
        log = open(os.path.join(s.root, "wine-%d.log" % s.starts), "wb")
        s.process = subprocess.Popen([WINE, PROGRAM_DIR + r"\Sorvane.exe", "C:\\My Documents\\" + notes],
                                     cwd=s.program_dir, env=s.env, stdout=log, stderr=subprocess.STDOUT)
        log.close()
        s.wait_ready()
        self.assertEqual(s.text(), b"> caf\xe9  notes\r\n", "the name on the command line opens")
        self.assertEqual(self.title(), notes + " - Sorvane")
        s.screenshot("unicode-file-name")

        s.keys("ctrl+e")
        s.command(ID_FILE_SAVE_AS)
        code, _, err = s.wine(FILE_DIALOG, "Save As", "C:\\My Documents\\\u03a9mega saved", "10000")
        self.assertEqual(code, 0, err)
        saved = os.path.join(folder, "\u03a9mega saved.txt")
        self.eventually(lambda: os.path.exists(saved), True, "saved under its own name")
        self.eventually(self.title, "\u03a9mega saved.txt - Sorvane", "the title follows")
        with open(saved, "rb") as f:
            self.assertEqual(f.read(), s.text())

        s.command(ID_FILE_OPEN)
        code, _, err = s.wine(FILE_DIALOG, "Open", "C:\\My Documents\\" + notes, "10000")
        self.assertEqual(code, 0, err)
        self.assertEqual(s.text(), b"> caf\xe9  notes\r\n", "and opens through the Open dialog")
        self.assertNotIn("#32770", self.windows(), "no \"File not found\"")
        self.assertEqual(s.close(), 0)

    def title(self):
        return self.s.drive("title").rstrip("\n").encode("latin-1").decode("utf-8")


if __name__ == "__main__":
    unittest.main()
