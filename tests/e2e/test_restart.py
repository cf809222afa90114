"""What the user set up survives closing the program: stored at exit, restored at the next start."""
import unittest

from harness import (ID_FONT_SIZE_14, ID_OPT_AUTOCLEAN, ID_STATUS_BAR_WINDOW, ID_TOOLBAR_WINDOW,
                     ID_VIEW_STATUS_BAR, SETTINGS_KEY, SessionTest)

STORED = ["Current Preset", "Font Size", "AutoClean", "Window X", "Window Y", "Window Width",
          "Window Height", "Window Maximized", "Show Toolbar", "Show Status Bar"]


class Restart(SessionTest):
    def stored(self):
        values = self.s.registry(SETTINGS_KEY)
        return {k: values.get(k) for k in STORED}

    def test_settings_come_back(self):
        s = self.s
        self.start()
        s.drive("combo-select", "Light Cleaning")
        s.command(ID_FONT_SIZE_14)
        s.command(ID_OPT_AUTOCLEAN)  # on at the first start, so now off
        s.command(ID_VIEW_STATUS_BAR)
        s.drive("move", "100", "80", "700", "500")
        self.assertEqual(s.rect(), (100, 80, 700, 500))
        self.assertEqual(s.close(), 0)
        first = {"Current Preset": "Light Cleaning", "Font Size": 14, "AutoClean": 0, "Window X": 100,
                 "Window Y": 80, "Window Width": 700, "Window Height": 500, "Window Maximized": 0,
                 "Show Toolbar": 1, "Show Status Bar": 0}
        self.assertEqual(self.stored(), first)

        # Second start: everything as it was left; maximized at the end.
        self.start()
        self.assertEqual(s.rect(), (100, 80, 700, 500))
        self.assertEqual(s.combo_selection(), "Light Cleaning")
        self.assertTrue(s.bar_visible(ID_TOOLBAR_WINDOW))
        self.assertFalse(s.bar_visible(ID_STATUS_BAR_WINDOW))
        s.screenshot("restart-restored")
        s.drive("maximize")
        self.assertEqual(s.close(), 0)
        # Font size and Auto Clean are written back from what the restarted program holds.
        self.assertEqual(self.stored(), dict(first, **{"Window Maximized": 1}))

        # Third start: maximized, over the same normal rectangle.
        self.start()
        self.assertEqual(s.state(), "maximized")
        s.screenshot("restart-maximized")
        s.drive("restore")
        self.assertEqual(s.rect(), (100, 80, 700, 500))
        self.assertEqual(s.close(), 0)


if __name__ == "__main__":
    unittest.main()
