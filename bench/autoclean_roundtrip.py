"""Auto Clean's round trip under Wine: from another program's copy to the cleaned text being
readable by the next paste. Sorvane runs in a fresh prefix as in the end-to-end tests; the e2e
driver copies and polls the clipboard inside one Windows process and times each run. Then, with
Auto Clean off, Clean and Paste: from the press of Ctrl+Win+V to the cleaned text in the edit box
of the driver's window in front.
Usage: autoclean_roundtrip.py BUILD_TREE [RUNS]"""
import os
import statistics
import sys

TOP = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
tree = os.path.abspath(sys.argv[1])
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
os.environ.setdefault("SORVANE_TOP", TOP)
os.environ.setdefault("SORVANE_E2E_TREE", tree)
os.environ.setdefault("SORVANE_E2E_ABBR", os.path.join(tree, "abbr.dat"))
sys.path.insert(0, os.path.join(TOP, "tests", "e2e"))
from harness import ID_OPT_AUTOCLEAN, Session  # noqa: E402

PARAGRAPH = ("> On Tuesday  the team met to go over the   plans for the spring release.\r\n"
             "> Mr. Smith said the schedule is tight, but\tthe budget is approved and\r\n"
             "> the new office opens on time.  Questions go to Anna.\r\n"
             ">\r\n"
             "> 1) review the draft by Friday\r\n"
             "> 2) send the figures to finance\r\n"
             ">\r\n")
PROSE = ("The  report was written on a machine that breaks every line at sixty\r\n"
         "characters,   so each paragraph arrives as a column of short lines that\r\n"
         "need  joining before   the text reads well in any other program.\r\n"
         "\r\n")


def text_of(unit, size):
    return (unit * (size // len(unit) + 1))[:size].encode("cp1252")


def measure(session, name, data):
    path = os.path.join(session.root, name + ".txt")
    with open(path, "wb") as f:
        f.write(data)
    out = session.drive("roundtrip", session.windows_path(path), str(runs))
    return [float(v) for v in out.split()]


def main():
    load = os.getloadavg()[0]
    s = Session("bench-autoclean")
    try:
        s.start()
        s.wait_ready()
        for name, data, budget in (("10 KB e-mail", text_of(PARAGRAPH, 10 * 1024), 100),
                                   ("1 MB text", text_of(PROSE, 1000 * 1000), 1000)):
            times = measure(s, name.replace(" ", "-"), data)
            median = statistics.median(times)
            print("autoclean round trip, %-12s median %8.1f ms  (min %.1f, max %.1f, %d runs; budget %d ms; "
                  "load %.2f)" % (name, median, min(times), max(times), len(times), budget, load))
        s.command(ID_OPT_AUTOCLEAN)
        path = os.path.join(s.root, "paste.txt")
        with open(path, "wb") as f:
            f.write(text_of(PARAGRAPH, 10 * 1024))
        times = [float(v) for v in s.drive("clean-and-paste-timing", s.windows_path(path), str(runs)).split()]
        print("clean and paste, 10 KB e-mail  median %8.1f ms  (min %.1f, max %.1f, %d runs; goal 150 ms; "
              "load %.2f)" % (statistics.median(times), min(times), max(times), len(times), load))
        s.close()
    finally:
        s.discard()


if __name__ == "__main__":
    main()
