"""Starts Sorvane.exe many times in one Wine prefix and counts the starts that end by themselves
before start-up is over. Each failed start keeps the program's log and Wine's own messages.

    python3 bench/startup_loop.py [RUNS]     (make stress: 100 starts of the Windows tree)
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


def one_start(session, run, keep):
    session.start()
    log = os.path.join(session.program_dir, "sv_log.txt")
    until = time.time() + 60
    while time.time() < until:
        if session.process.poll() is not None:
            break
        if session.started_up():
            break
        time.sleep(0.1)
    ended = session.process.poll() is not None and not session.started_up()
    if ended:
        shutil.copy(log, os.path.join(keep, "sv_log-%d.txt" % run))
        shutil.copy(os.path.join(session.root, "wine-%d.log" % session.starts),
                    os.path.join(keep, "wine-%d.log" % run))
        return False
    session.wait_ready()
    session.close()
    return True


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 100
    session = harness.Session("startup-loop")
    # Wine's own error messages are what a failed start leaves besides the log.
    session.env["WINEDEBUG"] = "err+all,fixme-all"
    # No start dialogs: start-up runs to its end by itself.
    for name in ("Show Welcome Screen", "Show Auto Clean Warning"):
        session.wine("reg", "add", harness.SETTINGS_KEY, "/v", name, "/t", "REG_DWORD", "/d", "0", "/f")
    keep = os.path.join(harness.TOP, "build", "bench", "startup-loop")
    shutil.rmtree(keep, ignore_errors=True)
    os.makedirs(keep)
    failed = 0
    began = time.time()
    try:
        for run in range(1, runs + 1):
            if not one_start(session, run, keep):
                failed += 1
                print("start %d ended by itself (log kept in %s)" % (run, keep), flush=True)
    finally:
        session.discard()
    print("start-up loop: %d starts, %d ended by themselves, %.1f s a start"
          % (runs, failed, (time.time() - began) / runs))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
