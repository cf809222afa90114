"""A program directory without abbr.dat: the critical box, then a clean exit that stores nothing."""
import unittest

from harness import IDOK, PROGRAM_DIR, SETTINGS_KEY, SessionTest


class MissingAbbreviations(SessionTest):
    with_abbr = False

    def test_critical_box_and_exit_code_zero(self):
        s = self.s
        s.start()
        box = s.drive("wait-dialog", "CRITICAL ERROR", "30000").rstrip("\n").split("\t")
        self.assertEqual(box, ["CRITICAL ERROR", 'Unable to open file "%s\\abbr.dat".  You may need to '
                                                 'reinstall the program.' % PROGRAM_DIR])
        s.screenshot("missing-abbr-dat")
        s.drive("press-button", "CRITICAL ERROR", str(IDOK))
        self.assertEqual(s.wait_exit(), 0)
        stored = s.registry(SETTINGS_KEY)
        for name in ("Current Preset", "Font Size", "AutoClean", "Window X"):
            self.assertNotIn(name, stored, "a fatal exit stores nothing")


if __name__ == "__main__":
    unittest.main()
