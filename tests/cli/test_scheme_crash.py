"""`inkquot-cli scheme select|export|delete` killed, or failing with a full
disk, at every write, fsync, rename, link and unlink call: the working
tables, the stored schemes and the scheme list are always wholly as before or
wholly as after, once any command has run again. Needs strace.

usage: test_scheme_crash.py PATH_TO_INKQUOT_CLI [--counts]
"""

import os
import shutil
import subprocess
import sys
import tempfile

CALLS = ["write", "fsync", "rename", "link", "unlink"]
# The leak checker of a sanitizer build cannot run under strace.
TRACED_ENV = dict(os.environ, ASAN_OPTIONS="detect_leaks=0")


def snapshot(folder):
    files = {}
    for base, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(base, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = f.read()
    return files


def cli(exe, folder, *args, strace=None):
    cmd = [exe, "--dir", folder, *args]
    if strace:
        cmd = ["strace", "-f", "-o", "/dev/null", "-e", "trace=" + strace[0],
               "-e", "inject=%s:%s:when=%d" % strace] + cmd
    return subprocess.run(cmd, capture_output=True, timeout=60, env=TRACED_ENV)


def calls_made(exe, folder, args, call):
    log = os.path.join(folder + ".log")
    subprocess.run(["strace", "-f", "-o", log, "-e", "trace=" + call, exe, "--dir", folder,
                    *args], capture_output=True, timeout=60, check=True, env=TRACED_ENV)
    with open(log) as f:
        count = sum(1 for line in f if (" %s(" % call) in line or line.startswith(call + "("))
    os.remove(log)
    return count


def prepared(exe, root, name):
    folder = os.path.join(root, name)
    subprocess.run([exe, "install", folder], check=True, capture_output=True)
    run = lambda *a: subprocess.run([exe, "--dir", folder, *a], check=True, capture_output=True)
    run("scheme", "select", "系统默认")
    # A second scheme whose tables differ from the built-in ones.
    with open(os.path.join(folder, "fzhijia.dat"), "r+b") as f:
        f.seek(4)
        f.write("甲纸".encode("gbk"))
    run("scheme", "export", "甲方案")
    run("scheme", "select", "系统默认")
    return folder


def main():
    exe = sys.argv[1]
    if shutil.which("strace") is None:
        print("FAIL: strace is not installed")
        return 1
    failures = 0
    counts = {}
    with tempfile.TemporaryDirectory() as root:
        template = prepared(exe, root, "template")
        for op in (["scheme", "select", "甲方案"], ["scheme", "export", "乙方案"],
                   ["scheme", "delete", "甲方案"]):
            before = snapshot(template)
            done = os.path.join(root, "done")
            shutil.copytree(template, done)
            subprocess.run([exe, "--dir", done, *op], check=True, capture_output=True)
            after = snapshot(done)
            assert after != before
            points = {"kill": 0, "kill before": 0, "kill after": 0, "enospc refused": 0,
                      "enospc got round": 0}
            shutil.rmtree(done)
            for call in CALLS:
                shutil.copytree(template, done)
                n = calls_made(exe, done, op, call)
                shutil.rmtree(done)
                for when in range(1, n + 1):
                    for action in ("signal=KILL", "error=ENOSPC"):
                        work = os.path.join(root, "work")
                        shutil.rmtree(work, ignore_errors=True)
                        shutil.copytree(template, work)
                        ran = cli(exe, work, *op, strace=(call, action, when))
                        where = "%s %s %s#%d" % (" ".join(op[1:]), action, call, when)
                        if action == "error=ENOSPC":
                            cli(exe, work, "scheme", "list")
                            state = snapshot(work)
                            answer_lost = "无法写入标准输出".encode() in ran.stderr
                            if ran.returncode == 0 or answer_lost:
                                # A step whose failure the command got round
                                # (a copy where a link failed, the removal of
                                # a no longer needed name), or the answer,
                                # written once the change is made: that one
                                # is told with exit code 1.
                                points["enospc got round"] += 1
                                if state != after or (answer_lost and ran.returncode != 1):
                                    failures += 1
                                    print("FAIL %s: exit %d, files not as after"
                                          % (where, ran.returncode))
                                continue
                            points["enospc refused"] += 1
                            if ran.returncode != 1 or len(ran.stderr.splitlines()) != 1:
                                failures += 1
                                print("FAIL %s: exit %d %r" % (where, ran.returncode, ran.stderr))
                            if state != before:
                                failures += 1
                                print("FAIL %s: files changed" % where)
                            continue
                        points["kill"] += 1
                        cli(exe, work, "scheme", "list")
                        state = snapshot(work)
                        if state == before:
                            points["kill before"] += 1
                        elif state == after:
                            points["kill after"] += 1
                        else:
                            failures += 1
                            print("FAIL %s: neither before nor after: %s" % (
                                where, sorted(set(state) ^ set(before)) or "contents"))
            counts[" ".join(op[1:2])] = points
    if "--counts" in sys.argv:
        for op, points in counts.items():
            print(op, points)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
