"""Cleaning Options as a person uses it: settings changed on every page with clicks and keys, OK,
and the next Clean Everything cleans as sorvane-clean does with the same settings; a preset
saved through "Presets..." outlives a cancelled sheet and a restart."""
import os
import subprocess
import unittest

from harness import CURRENT_KEY, SHOTS, SessionTest, sorvane_clean

SHEET = "Cleaning Options"
COMMS = "Preset Commands"
OPT_CLEANING = 32777
IDOK, IDCANCEL = 1, 2

SAMPLE = (b"> > Dear  all, \x93hello\x94\r\n"
          b"> > the cat sat on the mat and the cat was\r\n"
          b"> > happy.  Then\tit slept.\r\n"
          b"> >\r\n"
          b"> > - one cat\r\n"
          b"> > - two cats\r\n")

# What the clicks and keys below change, from "Full Cleaning".
CHANGES = {
    "para-max chars on para line": 40,
    "spac-rem extra spaces between words": 0,
    "list-id '- '": 0,
    "misc-find 0": "cat",
    "misc-replace 0": "dog",
    "char-straight quotes": 1,
}


class CleaningOptions(SessionTest):
    def shot(self, name):
        """The dialog's own picture, kept under build/e2e for docs/."""
        x, y, w, h = (int(v) for v in self.s.drive("dialog-rect", *name).split())
        path = os.path.join(SHOTS, name[1] + ".png")
        os.makedirs(SHOTS, exist_ok=True)
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y),
                        "+repage", path], check=True, capture_output=True, timeout=60)

    def test_edit_every_page_then_clean_and_keep_a_preset(self):
        self.start()
        s = self.s
        full = s.builtin_preset("Full Cleaning")
        for name, value in CHANGES.items():
            self.assertNotEqual(full[name], value, name)

        s.command(OPT_CLEANING)
        s.drive("wait-dialog", SHEET, "10000")
        self.shot((SHEET, "options-paragraph"))
        s.drive("click", SHEET, "1013")                      # "Unlimited" off
        s.drive("click", SHEET, "1012")
        # The width takes more digits than it shows.
        s.drive("dialog-keys", SHEET, "home", "shift+end", "1", "0", "0", "0", "0", "0", "0")
        self.assertEqual(s.drive("dialog-get-text", SHEET, "1012").strip(), "100000")
        self.shot((SHEET, "options-paragraph-wide-number"))
        s.drive("dialog-keys", SHEET, "home", "shift+end", "4", "0")
        s.drive("click", SHEET, "tab1")
        self.shot((SHEET, "options-spacing"))
        s.drive("click", SHEET, "1029")                      # extra spaces between words
        s.drive("click", SHEET, "tab2")
        self.shot((SHEET, "options-lists"))
        s.drive("click", SHEET, "1036")                      # "A dash"
        s.drive("click", SHEET, "tab3")
        self.shot((SHEET, "options-replace"))
        s.drive("click", SHEET, "1061")
        s.drive("dialog-keys", SHEET, "c", "a", "t")
        s.drive("click", SHEET, "1060")
        s.drive("dialog-keys", SHEET, "d", "o", "g")
        s.drive("click", SHEET, "tab4")
        s.drive("click", SHEET, "1100")                      # "Straight quotes"
        self.shot((SHEET, "options-characters"))
        s.drive("click", SHEET, str(IDOK))

        stored = s.registry(CURRENT_KEY)
        expected = dict(full, **CHANGES)
        self.assertEqual(stored, expected)
        self.assertEqual(s.combo_selection(), "(none)")
        s.set_text(SAMPLE)
        s.keys("ctrl+e")
        sets = []
        for name, value in CHANGES.items():
            sets += ["--set", "%s=%s" % (name, value)]
        want = sorvane_clean(SAMPLE, *sets)
        self.assertNotEqual(want, sorvane_clean(SAMPLE), "the changes must show in the sample")
        self.assertEqual(s.text(), want)

        # A preset saved through "Presets...", then the sheet cancelled.
        s.command(OPT_CLEANING)
        s.drive("wait-dialog", SHEET, "10000")
        s.drive("click", SHEET, "1019")
        s.drive("wait-dialog", COMMS, "10000")
        s.drive("click", COMMS, "1022")
        s.drive("dialog-keys", COMMS, "m", "i", "n", "e")
        self.shot((COMMS, "preset-commands"))
        s.drive("click", COMMS, str(IDOK))
        s.drive("click", SHEET, str(IDCANCEL))
        self.assertIn("mine", s.combo_entries())
        self.assertEqual(s.registry(CURRENT_KEY), expected)
        self.assertEqual(s.registry(CURRENT_KEY.replace("Current Cleaning Settings", "Presets\\mine")),
                         expected)
        self.assertEqual(s.close(), 0)
        self.start()
        self.assertIn("mine", s.combo_entries())
        self.assertEqual(s.close(), 0)


if __name__ == "__main__":
    unittest.main()
