"""`inkquot-cli table --xlsx FILE --csv FILE`: the workbook and the CSV file
hold the very table the tool prints.

The workbook is opened as the zip archive it is; its 84 price cells must be
numbers equal to the printed unit prices, with the 4-decimal format, and a
refused cell must hold "-". The CSV file must start with the UTF-8 byte-order
mark and hold the prices as the window shows them. A file that cannot be
written is reported with "保存失败：" and leaves nothing behind.

usage: test_table_export.py PATH_TO_INKQUOT_CLI
"""

import csv
import io
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

from job_model import GENERATORS, forced

NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
SEED = 20261208


def column_index(ref):
    letters = "".join(c for c in ref if c.isalpha())
    n = 0
    for c in letters:
        n = n * 26 + ord(c) - ord("A") + 1
    return n - 1


def workbook_rows(path):
    """Rows of the first sheet as lists of (value, number format) by column."""
    with zipfile.ZipFile(path) as z:
        sheet = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
        styles = ET.fromstring(z.read("xl/styles.xml"))
    codes = {int(f.get("numFmtId")): f.get("formatCode")
             for f in styles.iterfind("m:numFmts/m:numFmt", NS)}
    xfs = [int(x.get("numFmtId", "0")) for x in styles.iterfind("m:cellXfs/m:xf", NS)]
    rows = []
    for row in sheet.iterfind("m:sheetData/m:row", NS):
        cells = {}
        for c in row.iterfind("m:c", NS):
            fmt = codes.get(xfs[int(c.get("s", "0"))], "")
            if c.get("t") == "inlineStr":
                cells[column_index(c.get("r"))] = ("".join(c.itertext()), fmt)
            elif c.find("m:v", NS) is not None:
                cells[column_index(c.get("r"))] = (float(c.find("m:v", NS).text), fmt)
        rows.append([cells.get(i, (None, "")) for i in range(max(cells, default=-1) + 1)])
    return rows


def price_cells(rows, caption_of):
    """The 84 cells in label order: block, row, quantity column."""
    cells = [None] * 84
    for block, caption in enumerate(("大度", "正度")):
        start = next(n for n, r in enumerate(rows) if r and caption_of(r[0]) == caption)
        for i in range(7):
            for j in range(6):
                cells[block * 42 + i * 6 + j] = rows[start + 1 + i][1 + j]
    return cells


def check_files(cli, folder, job, work, failures):
    book, sheet = os.path.join(work, "价格表.xlsx"), os.path.join(work, "价格表.csv")
    done = subprocess.run([cli, "--dir", folder, "table", "--xlsx", book, "--csv", sheet,
                           "--title", "甲印务价格表"], input=json.dumps(job),
                          capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        failures.append("%s: exit %d %s" % (job, done.returncode, done.stderr))
        return
    table = json.loads(done.stdout)
    where = "kind %d" % job["kind"]

    rows = workbook_rows(book)
    texts = [v for r in rows for v, _ in r if isinstance(v, str)]
    for expected in ("甲印务价格表", table["lablei"], table["labshuoming"].strip(), "规格"):
        if expected not in texts:
            failures.append("%s: workbook lacks %r" % (where, expected))
    quantities = rows[next(n for n, r in enumerate(rows) if r and r[0][0] == "规格") + 1]
    if [v for v, _ in quantities[1:]] != [float(q) for q in table["labshu"]]:
        failures.append("%s: quantities %r" % (where, quantities))
    for n, ((value, fmt), text, price) in enumerate(zip(
            price_cells(rows, lambda c: c[0]), table["labdanjia"], table["unitPrices"])):
        if text == "-":
            if value != "-":
                failures.append("%s cell %d: %r for a refused cell" % (where, n, value))
        elif value != price or fmt != "#,##0.0000":
            failures.append("%s cell %d: %r (%r), printed %r" % (where, n, value, fmt, price))

    with open(sheet, "rb") as f:
        data = f.read()
    if not data.startswith(b"\xef\xbb\xbf"):
        failures.append("%s: CSV without byte-order mark" % where)
    lines = list(csv.reader(io.StringIO(data.decode("utf-8-sig"), newline="")))
    for n, (value, text) in enumerate(zip(price_cells(lines, lambda c: c),
                                          table["labdanjia"])):
        if value != text.replace(",", ""):
            failures.append("%s CSV cell %d: %r, shown %r" % (where, n, value, text))


def check_failures(cli, folder, work, failures):
    """Unwritable targets: the message, the exit code, and no trace."""
    job = json.dumps({"kind": 2})
    kept = os.path.join(work, "kept.xlsx")
    os.mkdir(kept)  # a folder where the file would go: the rename must fail
    for option, target in (("--xlsx", os.path.join(work, "gone", "t.xlsx")),
                           ("--csv", os.path.join(work, "gone", "t.csv")),
                           ("--xlsx", kept)):
        before = sorted(os.listdir(work))
        done = subprocess.run([cli, "--dir", folder, "table", option, target], input=job,
                              capture_output=True, text=True, timeout=120)
        if done.returncode != 1 or not done.stderr.startswith("保存失败："):
            failures.append("%s %s: exit %d %r" % (option, target, done.returncode, done.stderr))
        if sorted(os.listdir(work)) != before or os.listdir(kept):
            failures.append("%s %s: left %r" % (option, target, os.listdir(work)))
    done = subprocess.run([cli, "--dir", folder, "table", "--csv", os.path.join(work, "b.csv")],
                          input=json.dumps([{"kind": 2}]), capture_output=True, text=True)
    if done.returncode != 2 or os.path.exists(os.path.join(work, "b.csv")):
        failures.append("a batch with --csv: exit %d %r" % (done.returncode, done.stderr))


def main():
    cli = sys.argv[1]
    folder = tempfile.mkdtemp(prefix="inkquot-export-")
    work = tempfile.mkdtemp(prefix="inkquot-export-out-")
    failures = []
    try:
        subprocess.run([cli, "install", folder], check=True, capture_output=True)
        subprocess.run([cli, "--dir", folder, "scheme", "select", "系统默认"], check=True,
                       capture_output=True)
        rng = random.Random(SEED)
        jobs = [{"kind": 0}, {"kind": 2}, {"kind": 3, "controls": {"Chkhe": {"6": 1}}}]
        jobs += [forced(GENERATORS[kind](rng)) for kind in (0, 2, 3) for _ in range(3)]
        for job in jobs:
            check_files(cli, folder, job, work, failures)
        check_failures(cli, folder, work, failures)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
        shutil.rmtree(work, ignore_errors=True)
    for f in failures[:20]:
        print(f)
    print("%d problems" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
