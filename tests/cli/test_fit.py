"""Checks `inkquot-cli fit` on the worked fits of the layout calculator and
on sizes that must give a warning rather than a crash or an overflow.

Usage: test_fit.py PATH_TO_INKQUOT_CLI
"""

import json
import subprocess
import sys


def fit(cli, request):
    run = subprocess.run([cli, "fit"], input=json.dumps(request).encode(), capture_output=True)
    return run.returncode, run.stdout.decode(), run.stderr.decode()


CASES = [
    # page, a, b, trim, gripper -> series, 开, cut, label, warned
    ((4, 210, 285, 3, 0), ("大度", "16", "对开", "95.60211%", False)),
    ((0, 100, 100, 3, 0), ("大度", "80", "对开", "83.02977%", False)),
    ((6, 200, 100, 3, 0), ("正度", "30", "对开", None, False)),
    ((6, 700, 700, 0, 0), ("正度", "16", "对开", "0%", True)),
    ((4, 0, 0, 0, 0), ("大度", "16", "对开", "0%", True)),
    ((5, 9999, 9999, 10, 99), ("大度", "16", "对开", "0%", True)),
    ((4, 1, 1, 0, 9999), ("大度", "16", "对开", "0%", True)),
]

BAD = [
    {"page": 7, "a": 1, "b": 1, "trim": 0, "gripper": 0},
    {"page": 0, "a": 10000, "b": 1, "trim": 0, "gripper": 0},
    {"page": 0, "a": 1, "b": 1, "trim": 11, "gripper": 0},
    {"page": 0, "a": 1, "b": 1, "trim": 0},
    {"page": 0, "a": 1, "b": 1, "trim": 0, "gripper": 0, "c": 1},
    {"page": 0, "a": "1", "b": 1, "trim": 0, "gripper": 0},
]


def main():
    cli = sys.argv[1]
    failures = 0
    for (page, a, b, trim, gripper), (series, kai, cut, label, warned) in CASES:
        code, out, err = fit(cli, {"page": page, "a": a, "b": b, "trim": trim, "gripper": gripper})
        if code != 0:
            print(f"fit {page} {a}x{b}: exit {code}: {err}")
            failures += 1
            continue
        got = json.loads(out)
        want = {"comsuandu": series, "comsuankai": kai, "comsuankaizhi": cut}
        if label is not None:
            want["Labzzlyl"] = label
        for key, value in want.items():
            if got[key] != value:
                print(f"fit {page} {a}x{b}: {key} is {got[key]!r}, expected {value!r}")
                failures += 1
        if ("warning" in got) != warned:
            print(f"fit {page} {a}x{b}: warning {got.get('warning')!r}, expected {warned}")
            failures += 1
    for request in BAD:
        code, out, err = fit(cli, request)
        if code != 2 or out or len(err.strip().splitlines()) != 1:
            print(f"fit {request}: expected exit 2 with one line, got {code} {out!r} {err!r}")
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
