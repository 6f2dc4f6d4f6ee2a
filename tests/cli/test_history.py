"""`inkquot-cli history`: saved quotations as JSON Lines, searched by
customer, job name or date, and deleted up to a date.

usage: test_history.py PATH_TO_INKQUOT_CLI
"""

import datetime
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile

EPOCH = datetime.date(1899, 12, 30)


def text(s, width):
    b = s.encode("gbk")
    return b + b" " * (width - len(b))


def slot(day, customer, job, quantity=1000, unit=0.5, total=500, size="大度16开",
         processing="157克铜版纸4+4色印刷；"):
    data = (struct.pack("<d", (day - EPOCH).days) + text(customer, 60) + text(job, 40)
            + struct.pack("<f", quantity) + text(size, 20) + text(processing, 300)
            + struct.pack("<ff", unit, total))
    return data + b"\0" * 420


def main():
    cli = sys.argv[1]
    folder = tempfile.mkdtemp(prefix="inkquot-history-")
    failures = []

    def run(*args):
        return subprocess.run([cli, "--dir", folder, "history", *args], capture_output=True,
                              text=True, timeout=60)

    def listed(*args):
        done = run(*args)
        if done.returncode != 0:
            failures.append("%s: exit %d %s" % (args, done.returncode, done.stderr))
            return []
        return [json.loads(line) for line in done.stdout.splitlines()]

    try:
        history = os.path.join(folder, "frecord.dat")
        d = datetime.date(2026, 12, 1)
        records = [slot(d, "甲印务", "画册"), slot(d + datetime.timedelta(1), "乙公司", "海报"),
                   slot(d + datetime.timedelta(2), "甲印务", "海报A", processing="精装装订；")]
        with open(history, "wb") as f:
            f.write(b"".join(records) + b"\x01" * 300)  # a torn tail is no record

        everything = listed()
        expected = {"date": "2026/12/1", "customer": "甲印务", "job": "画册", "quantity": 1000,
                    "unit_price": 0.5, "total_price": 500, "size": "大度16开",
                    "processing": "157克铜版纸4+4色印刷；"}
        if len(everything) != 3 or everything[0] != expected:
            failures.append("list all: %r" % everything[:1])
        cases = [(("--customer", "甲"), ["画册", "海报A"]), (("--job", "海报"), ["海报", "海报A"]),
                 (("--customer", "  "), ["画册", "海报", "海报A"]),
                 (("--after", "2026/12/2"), ["海报A"]), (("--after", "2026年12月1日"), ["海报", "海报A"])]
        for args, jobs in cases:
            got = [r["job"] for r in listed(*args)]
            if got != jobs:
                failures.append("%s: %r" % (args, got))

        for args in (("--after", "2026/2/30"), ("--delete-up-to", "yesterday"),
                     ("--customer", "客" * 21), ("--job", "\U0001F600"), ("--bogus", "x"),
                     ("--customer", "a", "--job", "b"), ("--after",)):
            done = run(*args)
            if done.returncode != 2 or not done.stderr.strip() or done.stdout:
                failures.append("refused %s: exit %d" % (args, done.returncode))

        # The glance over a query: by month (a day that is no date under
        # "?"), and the ten customers with the largest sums; a total that is
        # no number counts as 0, every sum exact to the cent.
        undated = bytearray(slot(d, "丙", "书", total=0.1))
        undated[0:8] = struct.pack("<d", float("inf"))
        many = [slot(d, "客户%02d" % i, "单页", total=i + 0.01) for i in range(12)]
        with open(history, "wb") as f:
            f.write(b"".join(records + [bytes(undated), slot(d, "乙公司", "书", total=float("nan"))]
                             + many))
        done = run("--summary")
        summary = json.loads(done.stdout) if done.returncode == 0 else {}
        months = [(m["month"], m["quotes"]) for m in summary.get("months", [])]
        top = [(c["customer"], c["quotes"]) for c in summary.get("customers", [])]
        if (summary.get("quotes") != 17 or months != [("?", 1), ("2026/12", 16)]
                or top[:3] != [("甲印务", 2), ("乙公司", 2), ("客户11", 1)]
                or top[-1] != ("客户04", 1) or "\"total\": 1566.22," not in done.stdout):
            failures.append("summary: %s %s" % (done.stdout, done.stderr))
        done = run("--customer", "乙", "--summary")
        if done.returncode != 0 or json.loads(done.stdout)["customers"] != [
                {"customer": "乙公司", "quotes": 2, "total": 500}]:
            failures.append("summary of a query: %s %s" % (done.stdout, done.stderr))
        with open(history, "wb") as f:
            f.write(b"".join(records))

        done = run("--delete-up-to", "2026/12/2")
        if done.returncode != 0 or json.loads(done.stdout) != {"deleted": 2, "kept": 1}:
            failures.append("delete: %s %s" % (done.stdout, done.stderr))
        with open(history, "rb") as f:
            if f.read() != records[2]:
                failures.append("delete left the wrong bytes")

        # A FIFO (or a folder, where Windows has no FIFO) in the history's
        # place is refused at once, never waited on.
        os.remove(history)
        if hasattr(os, "mkfifo") and not cli.endswith((".exe", ".sh")):
            os.mkfifo(history)
        else:
            os.mkdir(history)
        done = run()
        if done.returncode != 1 or "不是普通文件" not in done.stderr:
            failures.append("FIFO history: exit %d, %r" % (done.returncode, done.stderr))
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
