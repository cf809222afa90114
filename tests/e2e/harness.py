"""Runs Sorvane.exe under Wine as a person would and reads back what they would see.

Each Session gets a fresh Wine prefix (a copy of a booted template) with the program in its own
directory, C:\\Sorvane, beside its abbr.dat. The program is driven through tests/e2e/driver.cpp
(keys through the real input queue, menu commands, the toolbar list) and checked through its
windows, the prefix's registry and the command-line cleaner.
"""
import fcntl
import glob
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

TOP = os.environ.get("SORVANE_TOP") or os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
TREE = os.environ.get("SORVANE_E2E_TREE", "")
PROGRAM = os.environ.get("SORVANE_E2E_PROGRAM", os.path.join(TREE, "Sorvane.exe"))
DRIVER = os.environ.get("SORVANE_E2E_DRIVER", os.path.join(TREE, "tests", "e2e", "e2e_driver.exe"))
ABBR = os.environ.get("SORVANE_E2E_ABBR", os.path.join(TOP, "resources", "abbr.dat"))
WORK = os.path.join(TREE, "e2e")
SHOTS = os.path.join(TOP, "build", "e2e")
NATIVE = os.path.join(TOP, "build", "native")

# A quoted e-mail as a mail program on Linux puts it on the clipboard (encoded as UTF-8, LF line
# ends): reply marks, ragged spacing, a tab, a list, an abbreviation and a letter beyond ASCII.
QUOTED_MAIL = ("> Hi Anna,\n"
               ">\n"
               "> thanks for the notes from Tuesday.  I read them on the train and\n"
               "> they  look   fine to me.\tA few points:\n"
               ">\n"
               "> 1) the budget for Q3 is approved\n"
               "> 2) Mr. Smith joins the team on Monday\n"
               "> 3) the caf\u00e9 opens at 8 a.m. again\n"
               ">\n"
               "> Best,\n"
               "> Tom\n")

SETTINGS_KEY = r"HKCU\Software\Meradon\Sorvane\Settings"
CURRENT_KEY = r"HKCU\Software\Meradon\Sorvane\Current Cleaning Settings"
PROGRAM_DIR = r"C:\Sorvane"

# Command and control ids, as in resources/resource.h.
ID_FONT_SIZE_14 = 32781
ID_OPT_AUTOCLEAN = 32775
ID_VIEW_STATUS_BAR = 59393
ID_TOOLBAR_WINDOW = 59392
ID_STATUS_BAR_WINDOW = 59393
IDOK, IDNO = 1, 7


def wine_for(exe):
    kind = subprocess.run(["file", "-b", exe], capture_output=True, text=True).stdout
    return "/usr/lib/wine/wine64" if "x86-64" in kind else "wine"


WINE = wine_for(PROGRAM) if os.path.exists(PROGRAM) else "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"


def wine_env(prefix):
    env = dict(os.environ)
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    return env


# Where 32-bit code runs only emulated, the 32-bit prefix is booted by 64-bit Wine before the
# emulator is registered (with it, the 32-bit part of wineboot does not finish), and 32-bit Wine
# then finds its builtin DLLs in syswow64, copied there from this folder.
I386_WINDOWS_DLLS = "/usr/lib/i386-linux-gnu/wine/i386-windows"
I386_PREFIX = os.environ.get("SORVANE_E2E_I386_PREFIX") == "1"


def template_prefix():
    """A booted prefix to copy, made once per build tree. Wine draws the window frames itself
    (no window manager runs on the virtual display), so screenshots show title bars."""
    path = os.path.join(WORK, "i386-template-prefix" if I386_PREFIX else "template-prefix")
    os.makedirs(WORK, exist_ok=True)
    with open(path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(path, ".ready")):
            shutil.rmtree(path, ignore_errors=True)
            wine = "/usr/lib/wine/wine64" if I386_PREFIX else WINE
            env = wine_env(path)
            quiet = dict(env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run([wine, "wineboot", "-i"], timeout=300, **quiet)
            subprocess.run([wine, "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                            "/t", "REG_SZ", "/d", "N", "/f"], timeout=60, **quiet)
            subprocess.run([WINESERVER, "-w"], timeout=120, **quiet)
            if I386_PREFIX:
                syswow64 = os.path.join(path, "drive_c", "windows", "syswow64")
                if not os.path.isdir(I386_WINDOWS_DLLS) or not os.path.isdir(syswow64):
                    raise AssertionError("no %s or no %s to copy it into" % (I386_WINDOWS_DLLS, syswow64))
                subprocess.run(["cp", "-r", I386_WINDOWS_DLLS + "/.", syswow64], check=True)
            open(os.path.join(path, ".ready"), "w").close()
        install_wine_fonts(path)
    return path


def install_wine_fonts(prefix):
    """Wine's own fonts (Marlett for the caption buttons, MS Sans Serif for dialogs) are found
    here only inside the prefix, so they are copied in."""
    fonts = os.path.join(prefix, "drive_c", "windows", "Fonts")
    for source in glob.glob("/usr/share/wine/fonts/*"):
        target = os.path.join(fonts, os.path.basename(source))
        if os.path.isdir(fonts) and not os.path.exists(target):
            shutil.copy(source, target)


def sorvane_clean(text, *args):
    """What the command-line cleaner makes of text: the reference for the editor's commands."""
    cli = os.path.join(NATIVE, "sorvane-clean")
    if not os.path.exists(cli):
        subprocess.run(["cmake", "-S", TOP, "-B", NATIVE, "-DCMAKE_BUILD_TYPE=Release"], check=True,
                       capture_output=True)
        subprocess.run(["cmake", "--build", NATIVE, "--target", "sorvane-clean"], check=True, capture_output=True)
    done = subprocess.run([cli, "--abbr", ABBR, "--as-editor"] + list(args), input=text, capture_output=True,
                          timeout=60)
    if done.returncode != 0:
        raise AssertionError("sorvane-clean failed: %r" % done.stderr)
    return done.stdout


def parse_reg_query(output):
    """Values of one key from `reg query`: name -> int (REG_DWORD) or str (REG_SZ)."""
    values = {}
    for line in output.splitlines():
        m = re.match(r"^    (.+?)    (REG_\w+)    ?(.*)$", line.rstrip("\r"))
        if not m:
            continue
        name, kind, data = m.groups()
        values[name] = int(data, 16) if kind == "REG_DWORD" else data
    return values


class Session:
    """One Wine prefix, one program directory, and the program started and closed in it."""

    def __init__(self, name, with_abbr=True):
        self.name = name
        self.root = os.path.join(WORK, "runs", name)
        shutil.rmtree(self.root, ignore_errors=True)
        os.makedirs(self.root)
        self.prefix = os.path.join(self.root, "prefix")
        subprocess.run(["cp", "-a", template_prefix(), self.prefix], check=True)
        self.env = wine_env(self.prefix)
        self.program_dir = os.path.join(self.prefix, "drive_c", "Sorvane")
        os.makedirs(self.program_dir)
        shutil.copy(PROGRAM, os.path.join(self.program_dir, "Sorvane.exe"))
        if with_abbr:
            shutil.copy(ABBR, os.path.join(self.program_dir, "abbr.dat"))
        self.process = None
        self.dialogs_seen = []
        self.starts = 0

    # --- the program -------------------------------------------------------------------------
    def start(self):
        self.starts += 1
        log = os.path.join(self.program_dir, "sv_log.txt")
        if os.path.exists(log):
            os.remove(log)
        log = open(self.wine_log(), "wb")
        # Wine's own errors are kept: a start that ends by itself may leave nothing else.
        env = dict(self.env, WINEDEBUG="err+all,fixme-all")
        self.process = subprocess.Popen([WINE, PROGRAM_DIR + r"\Sorvane.exe"], cwd=self.program_dir,
                                        env=env, stdout=log, stderr=subprocess.STDOUT)
        log.close()

    def wine_log(self):
        return os.path.join(self.root, "wine-%d.log" % self.starts)

    def start_report(self, lines=15):
        """The end of the program's log and Wine's messages of the last start."""
        parts = []
        for title, path in (("sv_log.txt", os.path.join(self.program_dir, "sv_log.txt")),
                            ("Wine", self.wine_log())):
            try:
                with open(path, "rb") as f:
                    tail = f.read().decode("latin-1").splitlines()[-lines:]
            except OSError:
                tail = ["(none)"]
            parts.append("--- %s ---\n%s" % (title, "\n".join(tail)))
        return "\n".join(parts)

    def started_up(self):
        """The log says start-up is over (the main window is up well before that)."""
        try:
            with open(os.path.join(self.program_dir, "sv_log.txt"), "rb") as f:
                return b"Initialization Complete." in f.read()
        except OSError:
            return False

    def wait_ready(self, timeout=30):
        """Waits for the end of start-up; the start-up dialogs are answered as a returning user
        would (No to the welcome, OK to the Auto Clean notice) and listed in dialogs_seen."""
        until = time.time() + timeout
        while True:
            # In short waits, so a program that ended by itself is seen within seconds.
            wait = min(max(until - time.time(), 1), 5)
            code, out, err = self.wine(DRIVER, "wait-main", str(int(wait * 1000)), timeout=max(120, wait + 60))
            if code == 0:
                if self.started_up():
                    return
                if time.time() > until:
                    raise AssertionError("start-up did not finish")
                time.sleep(0.2)
                continue
            if code == 2 and out.startswith("dialog\t"):
                title = out.split("\t")[1]
                self.dialogs_seen.append(out.strip())
                answers = {"Welcome!": IDNO, "Auto Clean is Enabled": IDOK}
                if title not in answers:
                    raise AssertionError("unexpected dialog at start-up: %r" % out)
                self.drive("press-button", title, str(answers[title]))
                continue
            if self.process.poll() is not None and not self.started_up():
                raise AssertionError("Sorvane ended before its start-up was over (exit %s)\n%s"
                                     % (self.process.poll(), self.start_report()))
            if time.time() < until:
                continue
            raise AssertionError("Sorvane did not come up: %r %r (exit %s)\n%s"
                                 % (out, err, self.process.poll(), self.start_report()))

    def close(self, timeout=20):
        """Closes the main window; a "Save changes" question is answered No. Returns the exit code."""
        until = time.time() + timeout
        while True:
            wait = max(until - time.time(), 1)
            code, out, err = self.wine(DRIVER, "close", str(int(wait * 1000)), timeout=max(120, wait + 60))
            if code == 0:
                break
            if code == 2 and "Save changes" in out:
                self.dialogs_seen.append(out.strip())
                self.drive("press-button", out.split("\t")[1], str(IDNO))
                break
            raise AssertionError("Sorvane did not close: %r %r; windows: %r" % (out, err, self.drive("windows", check=False)))
        return self.wait_exit(timeout)

    def wait_exit(self, timeout=20):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("Sorvane did not end")

    def stop(self):
        """Ends whatever still runs in this prefix (only this prefix's Wine server and programs)."""
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        quiet = dict(env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-k"], timeout=60, **quiet)
        subprocess.run([WINESERVER, "-w"], timeout=60, **quiet)

    def discard(self):
        self.stop()
        log = os.path.join(self.program_dir, "sv_log.txt")
        if os.path.exists(log):
            shutil.copy(log, os.path.join(self.root, "sv_log.txt"))
        shutil.rmtree(self.prefix, ignore_errors=True)

    # --- hands and eyes ----------------------------------------------------------------------
    def wine(self, *args, timeout=120):
        """Runs a Windows program of the test; returns (exit code, stdout, stderr). Output goes
        through files: a Wine server started by the call would hold a pipe open for ever."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            # A 64-bit driver drives a 32-bit program as well, and starts fast where 32-bit
            # code runs only emulated; so do Wine's own tools in the 32-bit prefix.
            wine = wine_for(args[0]) if os.path.exists(args[0]) else ("/usr/lib/wine/wine64" if I386_PREFIX else WINE)
            proc = subprocess.Popen([wine] + list(args), env=self.env, stdin=subprocess.DEVNULL,
                                    stdout=out, stderr=err)
            try:
                code = proc.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
                raise AssertionError("%s did not finish in %d s" % (" ".join(args), timeout))
            out.seek(0)
            err.seek(0)
            return code, out.read().decode("latin-1"), err.read().decode("latin-1")

    def drive(self, *args, check=True):
        code, out, err = self.wine(DRIVER, *args)
        if check and code != 0:
            raise AssertionError("driver %s failed: %s" % (" ".join(args), err.strip()))
        return (out, code) if not check else out

    def windows_path(self, path):
        return "Z:" + os.path.abspath(path).replace("/", "\\")

    def set_text(self, data):
        path = os.path.join(self.root, "put.txt")
        with open(path, "wb") as f:
            f.write(data)
        self.drive("set-text", self.windows_path(path))

    def text(self):
        path = os.path.join(self.root, "got.txt")
        self.drive("get-text", self.windows_path(path))
        with open(path, "rb") as f:
            return f.read()

    def selection(self):
        start, end = self.drive("get-sel").split()
        return int(start), int(end)

    def keys(self, *chords):
        self.drive("keys", *chords)

    def command(self, ident):
        self.drive("command", str(ident))

    def rect(self):
        return tuple(int(v) for v in self.drive("rect").split())

    def state(self):
        return self.drive("state").strip()

    def work_area(self):
        return tuple(int(v) for v in self.drive("workarea").split())

    def combo_entries(self):
        return self.drive("combo-list").splitlines()

    def combo_selection(self):
        return self.drive("combo-get").strip("\n")

    def bar_visible(self, ident):
        return self.drive("bar-visible", str(ident)).strip() == "visible"

    def builtin_preset(self, name):
        values = {}
        for line in self.drive("preset", name).splitlines():
            key, _, value = line.partition("\t")
            values[key] = int(value) if re.fullmatch(r"-?\d+", value) else value
        return values

    def registry(self, key):
        code, out, _ = self.wine("reg", "query", key)
        return parse_reg_query(out) if code == 0 else {}

    def screenshot(self, name):
        os.makedirs(SHOTS, exist_ok=True)
        path = os.path.join(SHOTS, name + ".png")
        subprocess.run(["import", "-window", "root", path], check=True, capture_output=True, timeout=60)
        return path


class SessionTest(unittest.TestCase):
    """A test with a fresh session, discarded afterwards whatever happens."""

    with_abbr = True

    def setUp(self):
        if not os.path.exists(PROGRAM):
            self.fail("no program at %s" % PROGRAM)
        self.s = Session(self.id().split(".", 1)[1].replace(".", "-"), with_abbr=self.with_abbr)
        self.addCleanup(self.s.discard)

    def start(self):
        self.s.start()
        self.s.wait_ready()

    def paste_from_another_program(self, text, timeout=20):
        """xclip owns the X clipboard until the test ends, as a Linux mail program would; then
        Ctrl+V pastes it into Sorvane."""
        xclip = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-t", "UTF8_STRING", "-i"],
                                 stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (xclip.kill(), xclip.wait()))
        xclip.stdin.write(text.encode("utf-8"))
        xclip.stdin.close()
        self.eventually(lambda: subprocess.run(["xclip", "-o", "-selection", "clipboard"],
                                               capture_output=True).stdout, text.encode("utf-8"), "xclip's text",
                        timeout)
        self.s.keys("ctrl+v")

    def eventually(self, read, expected, what, timeout=10):
        """Asserts that read() gives expected within timeout seconds."""
        until = time.time() + timeout
        while True:
            got = read()
            if got == expected or time.time() > until:
                self.assertEqual(got, expected, what)
                return
            time.sleep(0.2)
