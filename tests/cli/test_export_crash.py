"""`inkquot-cli table --xlsx FILE` and `--csv FILE` killed, or failing with a
full disk or an input/output error, at every write, flush, rename, unlink and
mkdir call: the target is always the old file or a whole new one; a failure is
exit code 1 with one line of the program's own that names the file; and after
the next export nothing temporary is left in the export folder or in the
temporary folder. Needs strace.

usage: test_export_crash.py PATH_TO_INKQUOT_CLI
"""

import io
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

CALLS = ["write", "fsync", "rename", "unlink", "mkdir"]
JOB = json.dumps({"kind": 2})
OLD = b"old contents"


def run(exe, folder, target, option, env, strace=None):
    cmd = [exe, "--dir", folder, "table", option, target]
    if strace:
        call, action, when = strace
        cmd = ["strace", "-f", "-o", "/dev/null", "-e", "trace=" + call,
               "-e", "inject=%s:%s:when=%d" % (call, action, when)] + cmd
    return subprocess.run(cmd, input=JOB.encode(), capture_output=True, timeout=60, env=env)


def calls_made(exe, folder, target, option, env, call):
    log = target + ".strace"
    subprocess.run(["strace", "-f", "-o", log, "-e", "trace=" + call, exe, "--dir", folder,
                    "table", option, target], input=JOB.encode(), capture_output=True,
                   timeout=60, check=True, env=env)
    with open(log) as f:
        count = sum(1 for line in f if re.search(r"(^|\s)%s\(" % call, line))
    os.remove(log)
    return count


def contents(path):
    """What a reader of the file sees: OLD, the worksheet's rows, or the CSV
    bytes; None for a file that is not whole."""
    with open(path, "rb") as f:
        data = f.read()
    if data == OLD or path.endswith(".csv"):
        return data
    try:
        with zipfile.ZipFile(io.BytesIO(data)) as z:
            if z.testzip() is not None:
                return None
            for name in z.namelist():
                if name.endswith((".xml", ".rels")):
                    ET.fromstring(z.read(name))
            sheet = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
    except (zipfile.BadZipFile, ET.ParseError, KeyError):
        return None
    return [ET.tostring(row) for row in sheet.iter() if row.tag.endswith("}row")]


def main():
    exe = sys.argv[1]
    if shutil.which("strace") is None:
        print("FAIL: strace is not installed")
        return 1
    failures = []
    runs = 0
    with tempfile.TemporaryDirectory() as root:
        folder = os.path.join(root, "pf")
        subprocess.run([exe, "install", folder], check=True, capture_output=True)
        subprocess.run([exe, "--dir", folder, "scheme", "select", "系统默认"], check=True,
                       capture_output=True)
        temp = os.path.join(root, "tmp")
        os.mkdir(temp)
        env = dict(os.environ, TMPDIR=temp, ASAN_OPTIONS="detect_leaks=0")
        out = os.path.join(root, "导出")
        os.mkdir(out)
        for option, name in (("--xlsx", "价格表.xlsx"), ("--csv", "价格表.csv")):
            target = os.path.join(out, name)
            if run(exe, folder, target, option, env).returncode != 0:
                failures.append("%s: the plain export fails" % option)
                continue
            expected = contents(target)
            for call in CALLS:
                count = calls_made(exe, folder, target, option, env, call)
                for when in range(1, count + 1):
                    for action in ("signal=KILL", "error=ENOSPC", "error=EIO"):
                        where = "%s %s %s#%d" % (option, action, call, when)
                        with open(target, "wb") as f:
                            f.write(OLD)
                        done = run(exe, folder, target, option, env, (call, action, when))
                        runs += 1
                        lines = done.stderr.decode("utf-8", "replace").splitlines()
                        now = contents(target)
                        if done.returncode == 0 and now != expected:
                            failures.append("%s: exit 0 with a broken file" % where)
                        elif done.returncode != 0 and now not in (OLD, expected):
                            failures.append("%s: the old file is gone" % where)
                        if action != "signal=KILL" and done.returncode != 0:
                            # One line of its own; the file named in quotes
                            # is the only foreign text in it.
                            bare = re.sub("“[^”]*”", "", lines[0]) if len(lines) == 1 else ""
                            if (done.returncode != 1 or len(lines) != 1
                                    or re.search(r"[A-Za-z]{3,}", bare)):
                                failures.append("%s: exit %d %r" % (where, done.returncode, lines))
                            elif lines[0].startswith("保存失败：") and now != OLD:
                                failures.append("%s: failed, yet the file changed" % where)
                        # The next export leaves nothing temporary behind.
                        if run(exe, folder, target, option, env).returncode != 0:
                            failures.append("%s: the next export fails" % where)
                        left = sorted(set(os.listdir(out)) - {"价格表.xlsx", "价格表.csv"})
                        if left or os.listdir(temp):
                            failures.append("%s: left %r %r" % (where, left, os.listdir(temp)))
                            for stray in left:
                                stray = os.path.join(out, stray)
                                if os.path.isdir(stray):
                                    shutil.rmtree(stray)
                                else:
                                    os.remove(stray)
                            for stray in os.listdir(temp):
                                os.remove(os.path.join(temp, stray))
    for f in failures[:30]:
        print(f)
    kinds = {}
    for f in failures:
        kind = re.sub(r"^[^:]*: ", "", f).split(" [")[0].split(" '")[0][:40]
        kinds[kind] = kinds.get(kind, 0) + 1
    for kind, n in sorted(kinds.items()):
        print("%5d  %s" % (n, kind))
    print("%d problems in %d runs" % (len(failures), runs))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
