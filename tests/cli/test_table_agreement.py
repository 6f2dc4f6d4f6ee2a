"""`inkquot-cli table` against an independent calculation of its 84 cells.

Random books, single sheets and boxes (fixed seed) are turned into price
tables by the tool. Each table is checked against the job model of
job_model.py, driven here over the grid: the job in its table form (parts
and finishing forced), each cell priced with the cell's quantity, size and
paper series. The labels are checked against the rules
written out below, and newspapers and stickers must be refused.

usage: test_table_agreement.py PATH_TO_INKQUOT_CLI
"""

import copy
import json
import os
import subprocess
import sys

from costing_model import builtin_book, f32, whole
from job_model import GENERATORS, close, forced, price_job
from program_folder import agreement_main

JOBS_PER_KIND = 80
SEED = 20261209

# (quantities, row values, label offset, label unit, kind line) by kind and
# by the mark that picks the rows (封面 for books, 裱瓦楞 for boxes).
GRIDS = {
    (0, True): ([1000, 2000, 3000, 5000, 10000, 20000], [4, 8, 12, 16, 28, 44, 60], 4, "P",
                "画册类"),
    (0, False): ([1000, 2000, 3000, 5000, 10000, 20000], [8, 12, 16, 20, 32, 48, 64], 0, "P",
                 "画册类"),
    (2, False): ([1000, 3000, 5000, 10000, 20000, 50000], [2, 4, 8, 16, 32, 64, 128], 0, "开",
                 "单张类"),
    (3, True): ([1000, 3000, 5000, 10000, 20000, 50000], [2, 3, 4, 6, 8, 12, 16], 0, "开",
                "纸盒类-裱瓦楞"),
    (3, False): ([3000, 5000, 10000, 20000, 50000, 100000], [4, 6, 8, 16, 32, 64, 128], 0, "开",
                 "纸盒类-不裱瓦楞"),
}

FILM = ["单出菲林", "出菲林/打样", "设计制作/出菲林/打样"]
BINDING = ["骑马订", "锁线胶订", "精装", "其他形式一", "其他形式二", "其他形式三"]
PRESSES = ["对开平印机", "四开平印机", "八开平印机", "对开轮转机"]
OPTIONS_GLUE = ["单边", "双边", "做手提袋"]
OPTIONS_LAYERS = ["三层", "五层", "七层"]


def paper_names(folder):
    """The paper names of the working paper table: GBK, 20 bytes after the
    record number, padded with spaces."""
    with open(os.path.join(folder, "fzhijia.dat"), "rb") as f:
        data = f.read()
    slot = len(data) // 50
    return [data[n * slot + 4:n * slot + 24].decode("gbk").rstrip(" \0") for n in range(50)]


def mark(job):
    c = job["controls"]
    if job["kind"] == 0:
        return c.get("Lsthua", {}).get("0", 0) == 1
    if job["kind"] == 3:
        return c.get("Chkhe", {}).get("6", 0) == 1
    return False


def cell_job(job, quantity, row, series):
    """The forced job with the arguments of one cell written where the
    model reads them."""
    cell = copy.deepcopy(job)
    c = cell["controls"]
    kind = cell["kind"]

    def put(name, index, value):
        c.setdefault(name, {})[str(index)] = value

    put("txtshuliang", kind, str(quantity))
    if kind == 0:
        # A 16开 book with an 8开 cover, both on the same series.
        put("Ncomkai", 0, "16")
        put("Ncomkai", 1, "8")
        put("Ncomdu", 0, series)
        put("Ncomdu", 1, series)
        put("txtye", 0, str(row))
    else:
        group = 5 if kind == 2 else 6
        put("Ncomkai", group, str(row))
        put("Ncomdu", group, series)
    return cell


def inner_pages_fit(job):
    """Whether a 16开 inner page fits on 内页一's press sheet: at least one
    unit of four pages per sheet, or the book cannot be laid out."""
    s = f32(float(job["controls"]["Cmbkaizhi"]["1"]))
    return whole(f32(16 / 2 / s)) >= 1


def expected_prices(job, price_book):
    quantities, rows, _, _, _ = GRIDS[(job["kind"], mark(job))]
    unit_prices = [None] * 84
    refusable = job["kind"] == 0 and not inner_pages_fit(job)
    for s in range(2):
        for j, q in enumerate(quantities):
            for i, row in enumerate(rows):
                cell = s * 42 + i * 6 + j
                if refusable:
                    unit_prices[cell] = None
                else:
                    result = price_job(cell_job(job, q, row, s), price_book)
                    unit_prices[cell] = result["UnitPrice"]
    return unit_prices


def block(c, names, part):
    return (c["Ncomke"][str(part)] + "克" + names[c["Ncomzhi"][str(part)]] +
            c["Ncomyinse"][str(2 * part)] + "+" + c["Ncomyinse"][str(2 * part + 1)] + "色" +
            PRESSES[c["Comyinji"][str(part)]])


def chosen(items, position):
    return items[position] if position >= 0 else ""


def option(items, position):
    return items[position if position in (0, 1) else 2]


def expected_description(job, names):
    c = job["controls"]
    kind = job["kind"]
    if kind == 0:
        s = "说明：以16开为标准，16开1面为1P。"
        if mark(job):
            s += "封面用" + block(c, names, 0) + "印刷，内页用" + block(c, names, 1) + "印刷。"
        else:
            s += "封面和内页都用" + block(c, names, 1) + "印刷。"
        s += ("需要" + chosen(FILM, c["Cmbfeilin"]["0"]) + ",采用" + chosen(BINDING, c["Cmbdin"]) +
              "方式装订。")
    elif kind == 2:
        s = "说明：用" + block(c, names, 7) + "印刷，需要" + chosen(FILM, c["Cmbfeilin"]["2"]) + "。"
    else:
        s = ("说明：用" + block(c, names, 8) + "印刷，需要" + chosen(FILM, c["Cmbfeilin"]["3"]) +
             ",粘" + option(OPTIONS_GLUE, c["optnian"]))
        s += "，裱" + option(OPTIONS_LAYERS, c["optwa"]) + "瓦楞。" if mark(job) else "。"
    return "    " + s


def number_text(v):
    return str(int(v)) if v == int(v) else repr(v)


def check_table(job, answer, names, price_book):
    """The problems of one table, as text lines."""
    problems = []
    quantities, rows, offset, unit, lei = GRIDS[(job["kind"], mark(job))]
    expect = {
        "kind": job["kind"],
        "lablei": lei,
        "labshu": [number_text(q) for q in quantities],
        "labddu": [number_text(r + offset) + unit for r in rows],
        "labshuoming": expected_description(job, names),
    }
    for key, value in expect.items():
        if answer[key] != value:
            problems.append("%s: tool %r, expected %r" % (key, answer[key], value))
    prices = expected_prices(job, price_book)
    for cell, (text, actual, expected) in enumerate(
            zip(answer["labdanjia"], answer["unitPrices"], prices)):
        if expected is None:
            if text != "-" or actual != 0:
                problems.append("cell %d: tool %r / %r, expected a refused cell"
                                % (cell, text, actual))
            continue
        if not close(actual, expected):
            problems.append("cell %d: tool %r, expected %r" % (cell, actual, expected))
        if text != "{:,.4f}".format(f32(actual)):
            problems.append("cell %d: shown %r for %r" % (cell, text, actual))
    if any(p is None for p in prices) != ("refusal" in answer):
        problems.append("refusal: %r" % answer.get("refusal"))
    return problems


def run_cli(cli, folder, payload):
    return subprocess.run([cli, "--dir", folder, "table"], input=json.dumps(payload),
                          capture_output=True, text=True, timeout=300)


def check_agreement(cli, folder, rng):
    names = paper_names(folder)
    price_book = builtin_book()
    jobs = [forced(GENERATORS[kind](rng)) for kind in (0, 2, 3)
            for _ in range(JOBS_PER_KIND)]
    # The marks that pick the rows, both ways, whatever the dice said.
    for job in jobs[:4]:
        job["controls"].setdefault("Lsthua", {})["0"] = 0
    for job in jobs[JOBS_PER_KIND * 2:JOBS_PER_KIND * 2 + 4]:
        job["controls"].setdefault("Chkhe", {})["6"] = 0
    done = run_cli(cli, folder, jobs)
    if done.returncode != 0:
        print("tables refused: %s" % done.stderr.strip())
        return 1
    answers = json.loads(done.stdout)
    failures = 0
    for job, answer in zip(jobs, answers):
        problems = check_table(job, answer, names, price_book)
        if problems:
            failures += 1
            if failures <= 3:
                print("disagreement on", json.dumps(job, ensure_ascii=False))
                for p in problems[:10]:
                    print("  " + p)
    print("%d tables checked, %d disagreements" % (len(jobs), failures))
    return 1 if failures or len(answers) != len(jobs) else 0


def check_refusals(cli, folder):
    failures = 0
    for kind in (1, 4):
        done = run_cli(cli, folder, {"kind": kind})
        if done.returncode != 2 or "没有价格表" not in done.stderr or done.stdout:
            failures += 1
            print("kind %d: exit %d, stderr %r" % (kind, done.returncode, done.stderr))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(agreement_main("inkquot-table-", SEED, check_agreement, check_refusals))
