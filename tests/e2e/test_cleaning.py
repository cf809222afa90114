"""Clean Everything and Clean Selected from the keyboard: the editor ends up with exactly what
the command-line cleaner makes of the same text, and Undo brings back exactly what was there;
whole lines cleaned with Ctrl+L keep their final line break."""
import unittest

from harness import SessionTest, sorvane_clean

MAIL = (b"> Hi Anna,\r\n"
        b">\r\n"
        b"> thanks for the notes from Tuesday.  I read them on the train and\r\n"
        b"> they  look   fine to me.\tA few points:\r\n"
        b">\r\n"
        b"> 1) the budget for Q3 is approved\r\n"
        b"> 2) Mr. Smith joins the team on Monday\r\n"
        b"> 3) the caf\xe9 opens at 8 a.m. again\r\n"
        b">\r\n"
        b"> Best,\r\n"
        b"> Tom\r\n")

BEFORE = b"Notes for Friday\r\n\r\n"
QUOTED = (b"> The meeting  moves to\r\n"
          b"> room 4 because the\r\n"
          b"> projector is broken.")
AFTER = b"\r\n\r\n  Keep   this   spacing   as   it   is.\r\n"


class Cleaning(SessionTest):
    def test_clean_everything_then_undo(self):
        expected = sorvane_clean(MAIL)
        self.assertNotEqual(expected, MAIL, "the sample must give the cleaner work")
        self.start()
        s = self.s
        s.set_text(MAIL)
        self.assertEqual(s.text(), MAIL)
        s.keys("ctrl+e")
        self.assertEqual(s.text(), expected)
        start, end = s.selection()
        self.assertEqual(start, end, "nothing stays selected after Clean Everything")
        s.screenshot("clean-everything")
        s.keys("ctrl+z")
        self.assertEqual(s.text(), MAIL)

    def test_clean_selected_only_touches_the_selection(self):
        cleaned = sorvane_clean(QUOTED)
        self.assertNotEqual(cleaned, QUOTED)
        self.assertNotEqual(sorvane_clean(BEFORE + QUOTED + AFTER), BEFORE + cleaned + AFTER,
                            "cleaning everything would also change the text around the selection")
        text = BEFORE + QUOTED + AFTER
        self.start()
        s = self.s
        s.set_text(text)

        s.drive("select", "3", "3")
        s.keys("ctrl+l")
        self.assertEqual(s.text(), text, "Ctrl+L with nothing selected changes nothing")

        s.drive("select", str(len(BEFORE)), str(len(BEFORE) + len(QUOTED)))
        s.keys("ctrl+l")
        self.assertEqual(s.text(), BEFORE + cleaned + AFTER)
        caret = len(BEFORE) + len(cleaned)
        self.assertEqual(s.selection(), (caret, caret), "the caret stands after the cleaned text")
        s.keys("ctrl+z")
        self.assertEqual(s.text(), text)

        # Whole lines chosen with Shift+Down: the selection ends at the start of the next line,
        # and the cleaned lines keep that line break instead of swallowing "Thanks".
        lines = [b"Dear all,\r\n", b"> Please reply\r\n", b"> by   mail.\r\n", b"Thanks\r\n"]
        s.set_text(b"".join(lines))
        s.drive("select", str(len(lines[0])), str(len(lines[0])))
        s.keys("shift+down", "shift+down")
        self.assertEqual(s.selection(), (len(lines[0]), len(lines[0]) + len(lines[1]) + len(lines[2])))
        s.keys("ctrl+l")
        quoted = sorvane_clean(b"".join(lines[1:3]).rstrip(b"\r\n"))
        self.assertEqual(s.text(), lines[0] + quoted + b"\r\n" + lines[3])


if __name__ == "__main__":
    unittest.main()
