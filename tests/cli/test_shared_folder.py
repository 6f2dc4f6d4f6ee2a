"""Two writers on one program folder (two clerks sharing it, or the program
and a script): each waits for the other, and no update is lost.

usage: test_shared_folder.py PATH_TO_INKQUOT_CLI
"""

import datetime
import json
import os
import subprocess
import sys
import threading
import time

from program_folder import ProgramFolder
from test_history import slot

ROUNDS = 6


def start(folder, *args):
    return subprocess.Popen([*folder.cli, "--dir", folder.path, *args], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True)


def finish(process):
    out, err = process.communicate(timeout=120)
    return process.returncode, out, err


def race(folder, *commands):
    """Starts every command at once and waits for all of them."""
    processes = [start(folder, *c) for c in commands]
    return [finish(p) for p in processes]


def schemes(folder):
    done = subprocess.run([*folder.cli, "--dir", folder.path, "scheme", "list"],
                          capture_output=True, text=True, timeout=60)
    return json.loads(done.stdout)["schemes"]


def main():
    failures = []
    with ProgramFolder(sys.argv[1:]) as folder:
        # Two exports at once: each reads the scheme list and writes it back
        # with its name added, so one reading the list before the other
        # wrote it would drop the other's name.
        for r in range(ROUNDS):
            names = ["甲%d" % r, "乙%d" % r]
            for code, out, err in race(folder, *[("scheme", "export", n) for n in names]):
                if code != 0:
                    failures.append("export round %d: exit %d %s" % (r, code, err))
            listed = schemes(folder)
            for n in names:
                stored = [os.path.exists(os.path.join(folder.path, "jgfa", n + s + ".dat"))
                          for s in ("ji", "gong", "zhi", "zhibu")]
                if n not in listed or not all(stored):
                    failures.append("round %d: %s listed %s, files %s" % (r, n, n in listed, stored))

        # Two deletions up to different days at once: afterwards exactly the
        # records after the later day are left, and the counts add up.
        history = os.path.join(folder.path, "frecord.dat")
        first = datetime.date(2026, 11, 1)
        days = [first + datetime.timedelta(i) for i in range(30)]
        records = [slot(d, "客户%d" % i, "海报") for i, d in enumerate(days)]
        for r in range(ROUNDS):
            with open(history, "wb") as f:
                f.write(b"".join(records))
            cut = [days[r % 15], days[15 + r * 7 % 15]]
            results = race(folder, *[("history", "--delete-up-to", "%d/%d/%d" % (c.year, c.month,
                                                                                  c.day))
                                     for c in cut])
            deleted = 0
            for code, out, err in results:
                if code != 0:
                    failures.append("delete round %d: exit %d %s" % (r, code, err))
                else:
                    deleted += json.loads(out)["deleted"]
            kept = [rec for d, rec in zip(days, records) if d > max(cut)]
            with open(history, "rb") as f:
                if f.read() != b"".join(kept):
                    failures.append("delete round %d left the wrong records" % r)
            if deleted != len(records) - len(kept):
                failures.append("delete round %d: %d deleted in all" % (r, deleted))

        # A writer that finds the folder held waits for it.
        if hasattr(os, "O_DIRECTORY") and not sys.argv[-1].endswith((".exe", ".sh")):
            import fcntl
            holder = os.open(folder.path, os.O_RDONLY | os.O_DIRECTORY)
            fcntl.flock(holder, fcntl.LOCK_EX)
            threading.Timer(1.0, os.close, [holder]).start()
            began = time.monotonic()
            code, _, err = finish(start(folder, "scheme", "export", "丙"))
            if code != 0 or time.monotonic() - began < 0.9 or "丙" not in schemes(folder):
                failures.append("waiting export: exit %d %s" % (code, err))

    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
