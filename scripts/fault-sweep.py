#!/usr/bin/env python3
"""Fails every writer of inkquot-cli at every call of every kind that writes
(write, fsync, rename, link, unlink, mkdir), with a full disk, an
input/output error, a refused permission or a kill, and counts what a clerk
would meet: failures whose message names no cause, messages of more than one
line or naming internal files, exports that exit 0 with a broken file, and
temporary files still there after the next command. Needs strace; Linux only.

usage: scripts/fault-sweep.py PATH_TO_INKQUOT_CLI [--limit N]
"""

import argparse
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

# The last one stands where the workbook library swallowed the system's
# answer and only the check of the written workbook found the fault.
CAUSES = ("磁盘空间不足", "没有写入权限", "磁盘读写错误", "磁盘或文件夹是只读的", "超出磁盘配额",
          "文件被其他程序占用", "文件名过长", "写出的工作簿不完整")
INTERNAL = ("inkquot.journal", "[ERROR]", "tmp.", "Usually", "errno")
FAULTS = [("write", "error=ENOSPC"), ("write", "error=EIO"), ("fsync", "error=EIO"),
          ("rename", "error=EACCES"), ("rename", "error=EIO"), ("link", "error=EPERM"),
          ("unlink", "error=EACCES"), ("mkdir", "error=EACCES"), ("mkdir", "error=ENOSPC"),
          ("write", "signal=KILL"), ("rename", "signal=KILL"), ("fsync", "signal=KILL")]
TEMPORARY = re.compile(r"^\..+\.[A-Za-z0-9]{6}$|^tmp")


def run(cmd, tmp, strace=None, stdin=b""):
    if strace:
        call, action, when = strace
        cmd = ["strace", "-f", "-o", "/dev/null", "-e", "trace=" + call, "-e",
               "inject=%s:%s:when=%d" % (call, action, when)] + cmd
    env = dict(os.environ, TMPDIR=tmp, ASAN_OPTIONS="detect_leaks=0")
    return subprocess.run(cmd, input=stdin, capture_output=True, timeout=120, env=env)


def count_calls(cmd, tmp, call, stdin):
    log = tmp + ".strace"
    env = dict(os.environ, TMPDIR=tmp)
    subprocess.run(["strace", "-f", "-o", log, "-e", "trace=" + call] + cmd, input=stdin,
                   capture_output=True, timeout=120, env=env)
    with open(log, errors="replace") as f:
        n = sum(1 for line in f if re.search(r"\b%s\(" % call, line) and "resumed" not in line)
    os.remove(log)
    return n


def leftovers(*folders):
    found = []
    for folder in folders:
        for base, _, names in os.walk(folder):
            found += [os.path.join(base, n) for n in names if TEMPORARY.match(n)]
    return found


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("cli")
    ap.add_argument("--limit", type=int, default=40, help="most call numbers tried per fault")
    args = ap.parse_args()
    exe = os.path.abspath(args.cli)
    job = b'{"kind": 2}'
    root = tempfile.mkdtemp(prefix="inkquot-sweep-")
    template = os.path.join(root, "template")
    subprocess.run([exe, "install", template], check=True, capture_output=True)
    subprocess.run([exe, "--dir", template, "scheme", "select", "系统默认"], check=True,
                   capture_output=True)
    # A second scheme whose tables differ from the built-in ones, so that
    # selecting it rewrites every working table.
    with open(os.path.join(template, "fzhijia.dat"), "r+b") as f:
        f.seek(4)
        f.write("甲纸".encode("gbk"))
    subprocess.run([exe, "--dir", template, "scheme", "export", "甲方案"], check=True,
                   capture_output=True)
    subprocess.run([exe, "--dir", template, "scheme", "select", "系统默认"], check=True,
                   capture_output=True)
    with open(os.path.join(template, "frecord.dat"), "wb") as f:
        f.write(b"\0" * 8 + b" " * 1224)  # one record saved on day 0
    writers = {
        "scheme select": (["scheme", "select", "甲方案"], b""),
        "scheme export": (["scheme", "export", "乙方案"], b""),
        "scheme delete": (["scheme", "delete", "甲方案"], b""),
        "scheme repair": (["scheme", "repair"], b""),
        "history delete": (["history", "--delete-up-to", "2000/1/1"], b""),
        "install": (["install", "{root}/new/pf"], b""),
        "table --xlsx": (["table", "--xlsx", "{root}/out/t.xlsx"], job),
        "table --csv": (["table", "--csv", "{root}/out/t.csv"], job),
    }
    tally = collections.Counter()
    problems = []
    for name, (argv, stdin) in writers.items():
        for call, action in FAULTS:
            folder = os.path.join(root, "pf")
            tmp = os.path.join(root, "tmp")
            out = os.path.join(root, "out")

            def fresh():
                for d in (folder, tmp, out, os.path.join(root, "new")):
                    shutil.rmtree(d, ignore_errors=True)
                shutil.copytree(template, folder)
                os.makedirs(tmp)
                os.makedirs(out)
                with open(os.path.join(out, "t.xlsx"), "wb") as f:
                    f.write(b"old workbook")

            def command():
                a = [x.replace("{root}", root) for x in argv]
                return [exe] + ([] if a[0] == "install" else ["--dir", folder]) + a

            fresh()
            total = min(count_calls(command(), tmp, call, stdin), args.limit)
            for when in range(1, total + 1):
                fresh()
                done = run(command(), tmp, (call, action, when), stdin)
                tally["runs"] += 1
                err = done.stderr.decode(errors="replace").strip()
                where = "%s %s:%s #%d" % (name, call, action, when)
                killed = done.returncode < 0 or "KILL" in action
                if done.returncode != 0 and not killed:
                    tally["failures"] += 1
                    if not any(c in err for c in CAUSES):
                        problems.append("no cause: %s: %s" % (where, err))
                    if "\n" in err or any(s in err for s in INTERNAL):
                        problems.append("not one clean line: %s: %r" % (where, err))
                if done.returncode == 0 and name == "table --xlsx":
                    try:
                        with zipfile.ZipFile(os.path.join(out, "t.xlsx")) as z:
                            bad = z.testzip()
                    except Exception as e:  # noqa: BLE001 - any unreadable workbook
                        bad = str(e)
                    if bad:
                        problems.append("exit 0, broken workbook: %s: %s" % (where, bad))
                # The next command clears what a killed or failed writer left:
                # any command for the program folder, the next export for an
                # export folder.
                run([exe, "--dir", folder, "scheme", "list"], tmp)
                if name.startswith("table"):
                    run(command(), tmp, stdin=stdin)
                left = leftovers(folder, out, tmp)
                if left:
                    problems.append("left behind: %s: %s" % (where, left))
        print("%-15s done, %d runs so far" % (name, tally["runs"]), flush=True)
    shutil.rmtree(root, ignore_errors=True)
    print("%d runs, %d reported failures, %d problems" % (tally["runs"], tally["failures"],
                                                         len(problems)))
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
