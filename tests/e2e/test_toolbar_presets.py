"""The preset list on the toolbar: a choice reaches the registry's current settings at once and
governs the next cleaning; "(none)" only unties the settings from the preset."""
import unittest

from harness import CURRENT_KEY, SETTINGS_KEY, SessionTest, sorvane_clean
from test_cleaning import MAIL

IDC_TOOLBAR_PRESETS = 1074


class ToolbarPresets(SessionTest):
    def test_choosing_light_cleaning(self):
        light = sorvane_clean(MAIL, "--preset", "Light Cleaning")
        self.assertNotEqual(light, sorvane_clean(MAIL, "--preset", "Full Cleaning"),
                            "the sample must tell the two presets apart")
        self.start()
        s = self.s
        light_values = s.builtin_preset("Light Cleaning")
        self.assertEqual(len(light_values), 44)
        self.assertNotEqual(light_values, s.builtin_preset("Full Cleaning"))

        s.drive("combo-select", "Light Cleaning")
        self.assertEqual(s.combo_selection(), "Light Cleaning")
        self.assertEqual(s.registry(CURRENT_KEY), light_values)
        s.screenshot("toolbar-light-cleaning")

        s.set_text(MAIL)
        s.keys("ctrl+e")
        self.assertEqual(s.text(), light)

        s.drive("combo-select", "(none)")
        self.assertEqual(s.combo_selection(), "(none)")
        self.assertEqual(s.registry(CURRENT_KEY), light_values, "\"(none)\" writes nothing")

        # A choice by mouse, or Escape, hands the keyboard back: the next keys are text.
        s.set_text(b"")
        s.drive("click-child", str(IDC_TOOLBAR_PRESETS))
        s.drive("click-combo-entry", "Full Cleaning")
        s.drive("keys-as-is", "l", "o", "o", "k", "s")
        self.assertEqual(s.combo_selection(), "Full Cleaning")
        self.assertEqual(s.text(), b"looks")
        s.drive("click-child", str(IDC_TOOLBAR_PRESETS))
        s.drive("keys-as-is", "escape", "l")
        self.assertEqual(s.combo_selection(), "Full Cleaning")
        self.assertEqual(s.text(), b"looksl")
        s.screenshot("toolbar-full-cleaning-typed")
        self.assertEqual(s.registry(CURRENT_KEY), s.builtin_preset("Full Cleaning"))
        self.assertEqual(s.close(), 0)
        self.assertEqual(s.registry(SETTINGS_KEY).get("Current Preset"), "Full Cleaning")


if __name__ == "__main__":
    unittest.main()
