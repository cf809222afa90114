"""The shipped 32-bit program, whole, under 32-bit Wine (emulated where this machine cannot run
32-bit code): first start, a paste from another program, Clean Everything, and the settings
stored at exit. Run by scripts/test-i386, which makes the 32-bit prefix and runs this through
scripts/with-i386; each step takes seconds when emulated, hence the long limits."""
import os
import subprocess
import unittest

from harness import DRIVER, ID_OPT_AUTOCLEAN, PROGRAM, SETTINGS_KEY, SessionTest, sorvane_clean
from harness import QUOTED_MAIL as MAIL

# What the editor holds after the paste: code page 1252, CR LF.
PASTED = MAIL.replace("\n", "\r\n").encode("cp1252")

STARTUP_SECONDS = 400
STEP_SECONDS = 180


class ShippedProgram(SessionTest):
    def test_paste_clean_exit(self):
        kind = subprocess.run(["file", "-b", PROGRAM], capture_output=True, text=True).stdout.strip()
        print("\nprogram: %s (%s), 32-bit code %s; driver: %s" % (PROGRAM, kind, os.environ.get("SORVANE_I386_MODE", "?"), DRIVER))
        self.assertTrue(kind.startswith("PE32 executable") and "Intel 80386" in kind, kind)
        expected = sorvane_clean(PASTED)
        self.assertNotEqual(expected, PASTED, "the mail must give the cleaner work")

        s = self.s
        s.start()
        s.wait_ready(timeout=STARTUP_SECONDS)
        self.assertEqual([d.split("\t")[1] for d in s.dialogs_seen], ["Welcome!", "Auto Clean is Enabled"])
        # Auto Clean off, so the paste brings the mail as it was copied.
        s.command(ID_OPT_AUTOCLEAN)
        self.paste_from_another_program(MAIL)
        self.assertEqual(s.text(), PASTED)
        s.keys("ctrl+e")
        self.assertEqual(s.text(), expected)
        s.screenshot("i386-clean-everything")

        _, _, right, bottom = s.work_area()
        self.assertEqual(s.close(timeout=STEP_SECONDS), 0)
        stored = s.registry(SETTINGS_KEY)
        wanted = {"Current Preset": "Full Cleaning", "Font Size": 10, "AutoClean": 0,
                  "Window X": right // 2 - 320, "Window Y": bottom // 2 - 210,
                  "Window Width": 640, "Window Height": 420, "Window Maximized": 0,
                  "Show Toolbar": 1, "Show Status Bar": 1}
        self.assertEqual({k: stored.get(k) for k in wanted}, wanted)


if __name__ == "__main__":
    unittest.main()
