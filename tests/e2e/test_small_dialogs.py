"""The start-up dialogs, the custom font size and the built-in help, as a person meets them."""
import os
import unittest

from harness import IDNO, IDOK, SETTINGS_KEY, TOP, SessionTest

IDCANCEL, IDYES = 2, 6
IDC_FONT_SIZE = 1001
IDC_WELCOME_DONT_ASK = 1074
IDC_AUTO_CLEAN_DONT_SHOW = 1077
ID_HELP = 57670
ID_HELP_FINDER = 57667
ID_HELP_GETTING_STARTED = 32786
ID_FONT_SIZE_OTHER = 32784

WELCOME = ["Welcome!", "Welcome to the Sorvane!",
           "Would you like to see an overview on how to get started with this program?"]
NOTICE = ["Auto Clean is Enabled",
          "The Auto Clean setting is currently turned on.  This can be a great time saver, because the "
          "cleaning is done in the background, every time you cut or copy text.",
          "When cutting, copying, and pasting graphics which include text, this can sometimes cause the "
          "graphical part to be removed.  Auto Clean should be turned off when you don't want Sorvane to "
          "modify text that you cut or copy.",
          "Auto Clean may be turned on or off from the \"Options\" menu.  For more information, click on "
          "the \"Help\" button with the mouse."]
BOUNDS = "The font size must be between 1 and 500."


def getting_started_opening():
    """The first paragraph of the Getting Started topic in the help source."""
    with open(os.path.join(TOP, "resources", "help", "help.txt"), encoding="latin-1") as f:
        lines = f.read().splitlines()
    return lines[lines.index("== 2 Getting Started") + 1]


class SmallDialogs(SessionTest):
    def dialog(self, title):
        return self.s.drive("wait-dialog", title, "30000").rstrip("\n").split("\t")

    def setting(self, name):
        return lambda: self.s.registry(SETTINGS_KEY).get(name)

    def help_shown(self):
        out, code = self.s.drive("help", check=False)
        if code != 0:
            return None, ""
        head, _, text = out.partition("\n")
        return head, text

    def test_first_start_greets_then_warns_and_the_boxes_stop_both(self):
        s = self.s
        s.start()
        self.assertEqual(self.dialog("Welcome!"), WELCOME)
        self.assertNotIn("Auto Clean is Enabled", s.drive("windows"), "one dialog at a time")
        s.screenshot("dialog-welcome")
        s.drive("press-button", "Welcome!", str(IDC_WELCOME_DONT_ASK))
        self.eventually(self.setting("Show Welcome Screen"), 0, "stored at the click")
        s.drive("press-button", "Welcome!", str(IDNO))

        self.assertEqual(self.dialog("Auto Clean is Enabled"), NOTICE)
        s.screenshot("dialog-auto-clean")
        s.drive("press-button", "Auto Clean is Enabled", str(IDC_AUTO_CLEAN_DONT_SHOW))
        self.eventually(self.setting("Show Auto Clean Warning"), 0, "stored at the click")
        s.drive("press-button", "Auto Clean is Enabled", str(IDOK))
        s.wait_ready()
        self.assertEqual(s.dialogs_seen, [])
        self.assertNotIn("SorvaneHelp", s.drive("windows"), "No opens no help")
        self.assertEqual(s.close(), 0)

        s.start()
        s.wait_ready()
        self.assertEqual(s.dialogs_seen, [], "neither dialog comes back")
        self.assertEqual(s.close(), 0)

    def test_other_font_size_takes_1_to_500_only(self):
        s = self.s
        self.start()

        def other(entered):
            s.command(ID_FONT_SIZE_OTHER)
            self.dialog("Custom Font Size")
            s.drive("dialog-set-text", "Custom Font Size", str(IDC_FONT_SIZE), entered)
            s.drive("press-button", "Custom Font Size", str(IDOK))
            self.eventually(lambda: "Custom Font Size" in s.drive("windows"), False, "OK closes it")

        other("1")
        s.command(ID_FONT_SIZE_OTHER)
        self.dialog("Custom Font Size")
        self.assertEqual(s.drive("dialog-get-text", "Custom Font Size", str(IDC_FONT_SIZE)), "1\n")
        s.screenshot("dialog-font-size")
        s.drive("press-button", "Custom Font Size", str(IDCANCEL))
        self.eventually(lambda: "Custom Font Size" in s.drive("windows"), False, "Cancel closes it")
        other("500")

        # Refused: the dialog stays open for the next try, then Cancel keeps 500.
        s.command(ID_FONT_SIZE_OTHER)
        self.dialog("Custom Font Size")
        for entered, message in (("0", BOUNDS), ("501", BOUNDS), ("", "Please enter an integer.")):
            s.drive("dialog-set-text", "Custom Font Size", str(IDC_FONT_SIZE), entered)
            s.drive("press-button", "Custom Font Size", str(IDOK))
            self.assertEqual(self.dialog("OOPS!"), ["OOPS!", message], entered)
            if entered == "0":
                s.screenshot("dialog-font-size-bounds")
            s.drive("press-button", "OOPS!", str(IDOK))
            self.eventually(lambda: s.drive("focus-id", "Custom Font Size").strip(),
                            str(IDC_FONT_SIZE), "the focus goes back to the size")
        s.drive("dialog-set-text", "Custom Font Size", str(IDC_FONT_SIZE), "77")
        s.drive("press-button", "Custom Font Size", str(IDCANCEL))
        self.eventually(lambda: "Custom Font Size" in s.drive("windows"), False, "Cancel closes it")
        self.assertEqual(s.close(), 0)
        self.assertEqual(s.registry(SETTINGS_KEY).get("Font Size"), 500)

    def test_help_opens_at_getting_started_and_at_each_dialogs_topic(self):
        s = self.s
        s.start()
        self.dialog("Welcome!")
        s.drive("press-button", "Welcome!", str(IDYES))
        self.dialog("Auto Clean is Enabled")
        self.eventually(lambda: self.help_shown()[0],
                        "Sorvane Help - Getting Started\tGetting Started", "Yes opens Getting Started")
        self.assertTrue(self.help_shown()[1].startswith("Getting Started\r\n\r\n" + getting_started_opening()))
        s.screenshot("help-from-welcome")
        s.drive("press-button", "Auto Clean is Enabled", str(ID_HELP))
        self.eventually(lambda: self.help_shown()[0], "Sorvane Help - Auto Clean\tAuto Clean",
                        "the notice's Help button opens its own topic")
        s.drive("press-button", "Auto Clean is Enabled", str(IDOK))
        s.wait_ready()

        s.command(ID_HELP_FINDER)
        self.eventually(lambda: self.help_shown()[0], "Sorvane Help - Getting Started\tGetting Started",
                        "Help Topics starts at the first topic")
        s.keys("f1")
        self.eventually(lambda: self.help_shown()[0], "Sorvane Help - Cleaning Text\tCleaning Text",
                        "F1 in the editor")
        s.command(ID_HELP_GETTING_STARTED)
        self.eventually(lambda: self.help_shown()[0], "Sorvane Help - Getting Started\tGetting Started",
                        "Help > Getting Started")
        s.screenshot("help-window")
        self.assertEqual(s.close(), 0, "the help window goes with the program")


if __name__ == "__main__":
    unittest.main()
