"""The first start on an empty registry: what the user sees, and what the program stores."""
import unittest

from harness import ID_STATUS_BAR_WINDOW, ID_TOOLBAR_WINDOW, SETTINGS_KEY, SessionTest


class FirstStart(SessionTest):
    def test_defaults_shown_and_stored(self):
        self.start()
        s = self.s
        left, top, right, bottom = s.work_area()
        self.assertTrue(right > 640 and bottom > 480, "work area %r too small to centre" % ((left, top, right, bottom),))
        centred = (right // 2 - 320, bottom // 2 - 210, 640, 420)
        self.assertEqual(s.rect(), centred)
        self.assertEqual(s.state(), "normal")
        self.assertEqual(s.combo_entries(), ["(none)", "Full Cleaning", "Light Cleaning"])
        self.assertEqual(s.combo_selection(), "Full Cleaning")
        self.assertTrue(s.bar_visible(ID_TOOLBAR_WINDOW))
        self.assertTrue(s.bar_visible(ID_STATUS_BAR_WINDOW))
        self.assertEqual(s.text(), b"")
        s.screenshot("first-start")

        self.assertEqual(s.close(), 0)
        stored = s.registry(SETTINGS_KEY)
        expected = {"Current Preset": "Full Cleaning", "Font Size": 10, "AutoClean": 1,
                    "Window X": centred[0], "Window Y": centred[1], "Window Width": 640,
                    "Window Height": 420, "Window Maximized": 0, "Show Toolbar": 1, "Show Status Bar": 1}
        self.assertEqual({k: stored.get(k) for k in expected}, expected)


if __name__ == "__main__":
    unittest.main()
