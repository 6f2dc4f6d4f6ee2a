"""Checks `inkquot-cli fit` on the worked fits of the layout calculator and
on sizes that must give a warning rather than a crash or an overflow.

Usage: test_fit.py PATH_TO_INKQUOT_CLI
"""

import json
import math
import random
import subprocess
import sys

from costing_model import f32

# An independent model of the fitting, from the sheet sizes of the shop's
# two paper series and the sticker sheet.
DADU, ZHENGDU, STICKER = 1051960, 850338, 409275
SUANKAI = [(0, 0, 595, 1, 884, 2, DADU), (0, 1, 396, 1, 884, 3, DADU),
           (1, 0, 543, 1, 783, 2, ZHENGDU), (1, 1, 362, 1, 783, 3, ZHENGDU)]
SUANKAIHE = [(0, 0, 595, 1, 884, 2, DADU), (0, 1, 396, 1, 884, 3, DADU),
             (0, 2, 442, 1, 748, 3, DADU), (0, 3, 1190, 2, 884, 1, DADU),
             (1, 0, 543, 1, 783, 2, ZHENGDU), (1, 1, 362, 1, 783, 3, ZHENGDU),
             (1, 2, 390, 1, 696, 3, ZHENGDU), (1, 3, 1086, 2, 783, 1, ZHENGDU)]


def model_fit(rows, w, h, c):
    if w <= 0 or h <= 0:
        return 0, 0, 0, 0.0
    fits = []
    for series, cut, short, grippers, long_, m, area in rows:
        s = short - grippers * c
        if s <= 0:
            count = 0
        else:
            p1 = (s // w) * (long_ // h)
            p2 = (s // h) * (long_ // w)
            count = m * max(p1, p2)
        fits.append((series, count, cut, f32(count * w * h / area)))
    best = max(f[3] for f in fits)
    return next(f for f in fits if f[3] == best)


def model_sticker(w, h, c):
    # The sticker sheet is always shown as 正度 对开.
    if w <= 0 or h <= 0:
        return 1, 0, 0, 0.0
    p1 = (765 // w) * (535 // h)
    p2 = (535 // w) * (765 // h)
    usable = 535 - c
    if usable <= 0:
        count = 0
    elif p2 >= p1:
        count = (usable // w) * (765 // h)
    else:
        count = (usable // h) * (765 // w)
    return 1, count, 0, f32(count * w * h / STICKER)


def model_page(page, a, b, t, c):
    w = 2 * (a + t) if page == 0 else a + 2 * t
    h = b + 2 * t
    if page == 6:
        series, count, cut, used = model_sticker(w, h, c)
    else:
        series, count, cut, used = model_fit(SUANKAIHE if page == 5 else SUANKAI, w, h, c)
    kai = count * (2 if page in (0, 6) else 1)
    return series, kai, cut, used


def label(used):
    percent = f32(used * 100)
    if percent == 0:
        return "0%"
    digits = max(0, 6 - math.floor(math.log10(abs(percent))))
    text = f"{percent:.{digits}f}"
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return text + "%"


def sweep(cli):
    rng = random.Random(20261208)
    requests = []
    for _ in range(3000):
        requests.append({"page": rng.randint(0, 6),
                         "a": rng.choice((0, rng.randint(1, 60), rng.randint(1, 1300),
                                          rng.randint(1, 9999))),
                         "b": rng.choice((0, rng.randint(1, 60), rng.randint(1, 1300),
                                          rng.randint(1, 9999))),
                         "trim": rng.randint(0, 10),
                         "gripper": rng.choice((0, rng.randint(0, 99), rng.randint(0, 1300)))})
    code, out, err = fit(cli, requests)
    if code != 0:
        print(f"sweep: exit {code}: {err}")
        return 1
    failures = 0
    for req, got in zip(requests, json.loads(out)):
        series, kai, cut, used = model_page(req["page"], req["a"], req["b"], req["trim"],
                                            req["gripper"])
        want = {"comsuandu": ("大度", "正度")[series],
                "comsuankai": str(kai) if kai else "16",
                "comsuankaizhi": ("对开", "三开(普通)", "三开(丁字开)", "大小开")[cut],
                "Labzzlyl": label(used), "LiYongLv": used}
        got["LiYongLv"] = f32(got["LiYongLv"])
        for key, value in want.items():
            if got[key] != value:
                failures += 1
                if failures < 10:
                    print(f"sweep {req}: {key} is {got[key]!r}, expected {value!r}")
    return 1 if failures else 0


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
    failures += sweep(cli)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
