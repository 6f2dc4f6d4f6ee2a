"""`inkquot-cli scheme` and the damage warnings of the pricing commands:
exit code 2 for a name the user can mend, 1 for a fault of the files, the
screen's messages, and a "warnings" list only when a table is damaged.

usage: test_scheme_command.py PATH_TO_INKQUOT_CLI
"""

import json
import os
import subprocess
import sys
import tempfile

from job_model import LEAFLET

failures = 0


def fail(name, why):
    global failures
    failures += 1
    print("FAIL %s: %s" % (name, why))


def run(exe, folder, *args, payload=None):
    return subprocess.run([exe, "--dir", folder, *args], capture_output=True, text=True,
                          input=json.dumps(payload) if payload else "", timeout=10)


def folder_bytes(folder):
    """Every file with its bytes; the lock's holder note (written on Windows
    by whoever takes the folder's lock) is no data."""
    files = {}
    for base, _, names in os.walk(folder):
        for name in names:
            if name == "inkquot.lock":
                continue
            with open(os.path.join(base, name), "rb") as f:
                files[os.path.join(base, name)] = f.read()
    return files


def main():
    exe = sys.argv[1]
    with tempfile.TemporaryDirectory() as root:
        folder = os.path.join(root, "app")
        subprocess.run([exe, "install", folder], check=True, capture_output=True)
        steps = [
            # args, exit code, stdout JSON or stderr line
            (["scheme", "select", "系统默认"], 0, {"selected": "系统默认"}),
            (["scheme", "export", "春季"], 0, {"exported": "春季"}),
            (["scheme", "export", "春季"], 2, "方案名已存在!"),
            (["scheme", "export", "a/b"], 2, "不能使用"),
            (["scheme", "list"], 0, {"schemes": ["系统默认", "春季"]}),
            (["scheme", "select", "秋季"], 2, "价格方案“秋季”不在方案列表中。"),
            (["scheme", "delete", "系统默认"], 2, "系统默认方案，不能删除！"),
            (["scheme", "delete", "春季"], 0, {"deleted": "春季", "schemes": ["系统默认"]}),
            (["scheme", "delete", "春季"], 2, "不在方案列表中"),
            (["scheme", "repair"], 0, {"repaired": "系统默认"}),
            (["scheme", "rename"], 2, "scheme:"),
        ]
        for args, code, expected in steps:
            done = run(exe, folder, *args)
            name = " ".join(args)
            if done.returncode != code:
                fail(name, "exit %d: %s" % (done.returncode, done.stderr))
            elif code == 0 and json.loads(done.stdout) != expected:
                fail(name, done.stdout)
            elif code != 0 and (expected not in done.stderr or len(done.stderr.splitlines()) != 1):
                fail(name, done.stderr)

        # Priced under a stored scheme that is not in use: as if selected,
        # and not a byte of the folder changes.
        run(exe, folder, "scheme", "export", "冬季")
        before = folder_bytes(folder)
        plain = run(exe, folder, "price", payload=LEAFLET)
        winter = run(exe, folder, "price", "--scheme", "冬季", payload=LEAFLET)
        if winter.returncode != 0 or json.loads(winter.stdout).get("scheme") != "冬季" or \
                json.loads(winter.stdout)["CostResult"] != json.loads(plain.stdout)["CostResult"]:
            fail("price --scheme", winter.stdout + winter.stderr)
        if folder_bytes(folder) != before:
            fail("price --scheme", "the folder changed")
        with open(os.path.join(folder, "jgfa", "冬季gong.dat"), "r+b") as f:
            f.truncate(100)
        before = folder_bytes(folder)
        for scheme, why in (("冬季", "方案数据损坏：价格文件 冬季gong.dat 不完整"),
                            ("秋季", "价格方案“秋季”不在方案列表中。")):
            done = run(exe, folder, "price", "--scheme", scheme, payload=LEAFLET)
            if done.returncode != 2 or why not in done.stderr:
                fail("price --scheme " + scheme, done.stderr)
        if folder_bytes(folder) != before:
            fail("price --scheme", "the folder changed")
        run(exe, folder, "scheme", "delete", "冬季")

        sound = run(exe, folder, "price", payload=LEAFLET)
        if sound.returncode != 0 or "warnings" in sound.stdout:
            fail("sound tables", sound.stdout + sound.stderr)

        # A damaged table prices as its format says (missing records are
        # zeros) and is named in the output.
        gong = os.path.join(folder, "fgongjia.dat")
        open(gong, "wb").close()
        damaged = run(exe, folder, "price", payload=[LEAFLET])
        out = json.loads(damaged.stdout)[0] if damaged.returncode == 0 else {}
        if abs(out.get("CostResult", {}).get("TotalPrice", 0) - 129.37) > 0.01:
            fail("empty fgongjia.dat", damaged.stdout + damaged.stderr)
        if out.get("warnings") != ["价格文件 fgongjia.dat 不完整：只有 0 条记录"]:
            fail("empty fgongjia.dat warning", out.get("warnings"))
        selected = run(exe, folder, "scheme", "select", "系统默认")
        if "warnings" in selected.stdout:
            fail("stored tables sound", selected.stdout)

        # A FIFO or a folder in place of a table: refused at once, naming it.
        for make in (os.mkfifo, os.mkdir):
            os.remove(gong) if os.path.isfile(gong) or not os.path.isdir(gong) else os.rmdir(gong)
            make(gong)
            for cmd in ("price", "table"):
                try:
                    done = run(exe, folder, cmd, payload=LEAFLET)
                except subprocess.TimeoutExpired:
                    fail("%s %s" % (make.__name__, cmd), "waited")
                    continue
                if done.returncode != 1 or "fgongjia.dat" not in done.stderr:
                    fail("%s %s" % (make.__name__, cmd), "exit %d %s"
                         % (done.returncode, done.stderr))

        help_text = subprocess.run([exe, "--help"], capture_output=True, text=True).stdout
        if "exit codes" not in help_text or "scheme list" not in help_text:
            fail("--help", help_text)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
