"""Starts Sorvane.exe many times and counts the starts that end by themselves before start-up is
over. Each failed start keeps the program's log and Wine's own messages.

    python3 bench/startup_loop.py [RUNS]           one Wine prefix, no start dialogs
    python3 bench/startup_loop.py --fresh [RUNS]   as the end-to-end tests start it: a fresh
                                                   prefix and display each time, first-start
                                                   dialogs answered, the driver polling at once
"""
import os
import shutil
import subprocess
import sys
import time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
if "SORVANE_E2E_TREE" not in os.environ:
    tree = subprocess.run([os.path.join(TOP, "scripts", "windows-tree")], capture_output=True, text=True)
    os.environ["SORVANE_E2E_TREE"] = os.path.join(TOP, "build", tree.stdout.strip())
sys.path.insert(0, os.path.join(TOP, "tests", "e2e"))
import harness  # noqa: E402

KEEP = os.path.join(harness.TOP, "build", "bench", "startup-loop")


def keep_logs(session, run):
    for source, target in ((os.path.join(session.program_dir, "sv_log.txt"), "sv_log-%d.txt"),
                           (session.wine_log(), "wine-%d.log")):
        if os.path.exists(source):
            shutil.copy(source, os.path.join(KEEP, target % run))


def one_start(session, run):
    """True when start-up finished and the program closed; False when it ended by itself."""
    session.start()
    try:
        session.wait_ready(timeout=60)
    except AssertionError as e:
        if session.process.poll() is not None and not session.started_up():
            keep_logs(session, run)
            return False
        raise AssertionError("start %d: %s" % (run, e))
    session.close()
    return True


def fresh_start(run):
    """One start in a prefix and on a display of its own (run by --one under with-xvfb)."""
    session = harness.Session("startup-loop-fresh")
    try:
        return one_start(session, run)
    finally:
        session.discard()


def main():
    args = sys.argv[1:]
    if args[:1] == ["--one"]:
        return 0 if fresh_start(int(args[1])) else 3
    fresh = args[:1] == ["--fresh"]
    if fresh:
        args = args[1:]
    runs = int(args[0]) if args else 100
    shutil.rmtree(KEEP, ignore_errors=True)
    os.makedirs(KEEP)
    session = None
    if not fresh:
        session = harness.Session("startup-loop")
        # No start dialogs: start-up runs to its end by itself.
        for name in ("Show Welcome Screen", "Show Auto Clean Warning"):
            session.wine("reg", "add", harness.SETTINGS_KEY, "/v", name, "/t", "REG_DWORD", "/d", "0", "/f")
    failed = 0
    began = time.time()
    try:
        for run in range(1, runs + 1):
            if fresh:
                done = subprocess.run([os.path.join(TOP, "scripts", "with-xvfb"), sys.executable,
                                       os.path.abspath(__file__), "--one", str(run)],
                                      env=dict(os.environ, SORVANE_KEEP_DISPLAY="0"))
                if done.returncode not in (0, 3):
                    raise AssertionError("start %d failed otherwise (exit %d)" % (run, done.returncode))
                ok = done.returncode == 0
            else:
                ok = one_start(session, run)
            if not ok:
                failed += 1
                print("start %d ended by itself (logs kept in %s)" % (run, KEEP), flush=True)
    finally:
        if session:
            session.discard()
    print("start-up loop%s: %d starts, %d ended by themselves, %.1f s a start"
          % (" (fresh prefixes)" if fresh else "", runs, failed, (time.time() - began) / runs))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
