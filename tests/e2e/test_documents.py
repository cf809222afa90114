"""Documents as a person uses them: a file named on the command line shown byte for byte, cleaned
and saved under a new name through the Save As dialog; the "Save changes" question on New and
Exit while "Warn About Unsaved Docs" is on, where Cancel keeps everything; no question while it
is off, and the switch kept for the next start."""
import os
import subprocess
import time
import unittest

from harness import IDNO, PROGRAM_DIR, SETTINGS_KEY, TREE, WINE, SessionTest, sorvane_clean

FILE_DIALOG = os.environ.get("SORVANE_E2E_FILE_DIALOG",
                             os.path.join(TREE, "tests", "e2e", "e2e_file_dialog.exe"))

ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_APP_EXIT = 57600, 57601, 57603, 57604, 57665
ID_OPT_WARN_UNSAVED = 32776
IDYES, IDCANCEL = 6, 2

# A reply with CR LF line ends, bytes of 128 and above (Windows-1252 letters, the euro sign,
# a no-break space, 0xFF) and ragged spacing for the cleaner.
MAIL = (b"> Dear Ren\xe9e,\r\n"
        b">\r\n"
        b"> the invoice of 120 \x80 for the caf\xe9  is\r\n"
        b"> attached.  Please check   the na\xefve\xa0figures \x96 and the \xabtotal\xbb.\r\n"
        b">\r\n"
        b"> Gr\xfc\xdfe, J\xf8rgen \xff\x81\x8d\x8f\x90\x9d\r\n")


def start_with(session, *args):
    """Starts the program with a command line, then waits for the end of start-up."""
    session.starts += 1
    log = open(os.path.join(session.root, "wine-%d.log" % session.starts), "wb")
    session.process = subprocess.Popen([WINE, PROGRAM_DIR + r"\Sorvane.exe"] + list(args),
                                       cwd=session.program_dir, env=session.env, stdout=log,
                                       stderr=subprocess.STDOUT)
    log.close()
    session.wait_ready()


def main_title(session):
    for line in session.drive("windows").splitlines():
        kind, _, title = line.partition("\t")
        if kind != "#32770":
            return title
    return None


class Documents(SessionTest):
    def docs(self, name):
        """A file in C:\\My Documents: (Windows path, host path)."""
        folder = os.path.join(self.s.prefix, "drive_c", "My Documents")
        os.makedirs(folder, exist_ok=True)
        return "C:\\My Documents\\" + name, os.path.join(folder, name)

    def question(self):
        """The program's "Save changes" box: its text lines after the caption."""
        box = self.s.drive("wait-dialog", "Sorvane", "10000").rstrip("\n").split("\t")
        self.assertEqual(box[0], "Sorvane")
        return box[1:]

    def answer(self, button):
        self.s.drive("press-button", "Sorvane", str(button))
        time.sleep(0.5)

    def dialogs(self):
        return [l for l in self.s.drive("windows").splitlines() if l.startswith("#32770")]

    def test_open_from_command_line_clean_and_save_under_a_new_name(self):
        s = self.s
        mail, mail_host = self.docs("mail.txt")
        with open(mail_host, "wb") as f:
            f.write(MAIL)
        expected = sorvane_clean(MAIL)
        self.assertNotEqual(expected, MAIL, "the sample must give the cleaner work")

        start_with(s, mail)
        self.assertEqual(s.text(), MAIL, "the editor shows the file's bytes exactly")
        self.assertEqual(main_title(s), "mail.txt - Sorvane")
        s.screenshot("document-opened")

        s.keys("ctrl+e")
        self.assertEqual(s.text(), expected)
        s.command(ID_FILE_SAVE_AS)
        s.drive("wait-dialog", "Save As", "10000")
        s.screenshot("document-save-as")
        code, _, err = s.wine(FILE_DIALOG, "Save As", "C:\\My Documents\\cleaned", "10000")
        self.assertEqual(code, 0, err)

        _, cleaned_host = self.docs("cleaned.txt")
        for _ in range(50):
            if os.path.exists(cleaned_host) and main_title(s) == "cleaned.txt - Sorvane":
                break
            time.sleep(0.2)
        with open(cleaned_host, "rb") as f:
            self.assertEqual(f.read(), expected, "saved byte for byte, .txt added to the name")
        with open(mail_host, "rb") as f:
            self.assertEqual(f.read(), MAIL, "the opened file is untouched")
        self.assertEqual(main_title(s), "cleaned.txt - Sorvane")
        self.assertEqual(sorted(os.listdir(os.path.dirname(mail_host))), ["cleaned.txt", "mail.txt"])
        s.screenshot("document-saved")

        # File > Open brings the original back; the saved text needs no question.
        s.command(ID_FILE_OPEN)
        code, _, err = s.wine(FILE_DIALOG, "Open", mail, "10000")
        self.assertEqual(code, 0, err)
        self.assertEqual(s.text(), MAIL)
        self.assertEqual(main_title(s), "mail.txt - Sorvane")

        self.assertEqual(s.close(), 0)
        self.assertFalse([d for d in s.dialogs_seen if "Save changes" in d], "nothing was left unsaved")

    def test_a_utf16_file_is_cleaned_and_saved_in_utf16_as_the_cleaner_makes_it(self):
        s = self.s
        text = ("> \u0391\u03b3\u03b1\u03c0\u03b7\u03c4\u03ad \u0393\u03b9\u03ce\u03c1\u03b3\u03bf,\r\n"
                ">\r\n"
                "> \u4f1a\u8bae\u5728   \u661f\u671f\u4e09  \u4e0b\u5348 \U0001F600 and the\r\n"
                "> notes   follow\u2026  \u2713\r\n")
        data = b"\xff\xfe" + text.encode("utf-16-le")
        letter, letter_host = self.docs("letter.txt")
        with open(letter_host, "wb") as f:
            f.write(data)
        expected = sorvane_clean(data)
        self.assertTrue(expected.startswith(b"\xff\xfe"), "the cleaner keeps UTF-16 LE")
        self.assertNotEqual(expected, data, "the sample must give the cleaner work")

        start_with(s, letter)
        s.keys("ctrl+e")
        s.screenshot("document-utf16-cleaned")
        s.command(ID_FILE_SAVE)
        for _ in range(50):
            with open(letter_host, "rb") as f:
                saved = f.read()
            if saved != data:
                break
            time.sleep(0.2)
        self.assertEqual(saved, expected, "saved in UTF-16 LE with its mark, as the cleaner makes it")
        self.assertEqual(s.close(), 0)

    def test_warning_on_asks_on_new_and_exit_and_cancel_keeps_everything(self):
        s = self.s
        notes, notes_host = self.docs("notes.txt")
        with open(notes_host, "wb") as f:
            f.write(MAIL)
        start_with(s, notes)
        s.keys("ctrl+e")
        cleaned = s.text()
        self.assertNotEqual(cleaned, MAIL)

        s.command(ID_FILE_NEW)
        self.assertEqual(self.question(), ["Save changes to notes.txt?"])
        s.screenshot("document-save-changes")
        self.answer(IDCANCEL)
        self.assertEqual(self.dialogs(), [])
        self.assertEqual(s.text(), cleaned)
        self.assertEqual(main_title(s), "notes.txt - Sorvane")

        s.command(ID_APP_EXIT)
        self.assertEqual(self.question(), ["Save changes to notes.txt?"])
        self.answer(IDCANCEL)
        self.assertIsNone(s.process.poll(), "Cancel keeps the program running")
        self.assertEqual(s.text(), cleaned)
        with open(notes_host, "rb") as f:
            self.assertEqual(f.read(), MAIL)

        s.command(ID_FILE_NEW)
        self.assertEqual(self.question(), ["Save changes to notes.txt?"])
        self.answer(IDNO)  # the changes go
        # A new document takes the default name: the document string leaves its base name empty.
        self.assertEqual(s.text(), b"")
        self.assertEqual(main_title(s), "Untitled - Sorvane")
        s.keys("h", "i")
        self.assertEqual(s.text(), b"hi")
        s.command(ID_FILE_NEW)
        self.assertEqual(self.question(), ["Save changes to Untitled?"])
        self.answer(IDCANCEL)
        self.assertEqual(s.text(), b"hi")

        self.assertEqual(s.close(), 0)
        self.assertEqual([d for d in s.dialogs_seen if "Save changes" in d],
                         ["dialog\tSorvane\tSave changes to Untitled?"])

    def test_yes_on_exit_saves_the_cleaned_file(self):
        s = self.s
        notes, notes_host = self.docs("notes.txt")
        with open(notes_host, "wb") as f:
            f.write(MAIL)
        start_with(s, notes)
        s.keys("ctrl+e")
        cleaned = s.text()
        s.command(ID_APP_EXIT)
        self.assertEqual(self.question(), ["Save changes to notes.txt?"])
        self.answer(IDYES)
        self.assertEqual(s.wait_exit(), 0)
        with open(notes_host, "rb") as f:
            self.assertEqual(f.read(), cleaned)

    def test_warning_off_drops_changes_without_asking_and_stays_off(self):
        s = self.s
        self.start()
        s.keys("alt+o")
        s.screenshot("document-options-menu-warn-on")
        s.keys("escape", "escape")
        s.command(ID_OPT_WARN_UNSAVED)
        s.keys("h", "i")
        s.command(ID_FILE_NEW)
        self.assertEqual(self.dialogs(), [])
        self.assertEqual(s.text(), b"")
        s.keys("o", "k")
        self.assertEqual(s.close(), 0)
        self.assertFalse([d for d in s.dialogs_seen if "Save changes" in d])
        self.assertEqual(s.registry(SETTINGS_KEY).get("Unsaved Doc Warning"), 0)

        self.start()
        s.keys("alt+o")
        s.screenshot("document-options-menu-warn-off")
        s.keys("escape", "escape")
        s.keys("a")
        self.assertEqual(s.close(), 0)
        self.assertFalse([d for d in s.dialogs_seen if "Save changes" in d])
        self.assertEqual(s.registry(SETTINGS_KEY).get("Unsaved Doc Warning"), 0)


if __name__ == "__main__":
    unittest.main()
