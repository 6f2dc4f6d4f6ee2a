"""`inkquot-cli ticket`: the production ticket of a job.

Random jobs of every kind (fixed seed) go through `ticket --lines` and
`price --lines`. Each ticket must carry no money, give the totals of a line
as one form's figures times its forms and the full sheets of each paper as
the sum of its lines, and account for exactly the paper the price was formed
from: the paper cost recomputed from the ticket's full sheets, weights and
the built-in paper prices is `price`'s PaperCost. A job the costing refuses,
a job with no part ticked and a piece larger than its press sheet are
refused with exit code 2 and one line on standard error.

usage: test_ticket.py PATH_TO_INKQUOT_CLI
"""

import json
import math
import random
import subprocess
import sys

from costing_model import builtin_book, f32
from job_model import GENERATORS, close
from program_folder import ProgramFolder, verdict

JOBS_PER_KIND = 60
SEED = 20261207
SERIES_AREA = {"大度": f32(0.53), "正度": f32(0.43)}


def run(folder, args, text):
    return subprocess.run([*folder.cli, "--dir", folder.path, *args], input=text.encode(),
                          capture_output=True, timeout=300)


def answers(folder, command, jobs):
    done = run(folder, [command, "--lines"] + (["--date", "2026-12-7"] if command == "ticket"
                                                else []),
               "\n".join(json.dumps(job) for job in jobs))
    return [json.loads(line) for line in done.stdout.decode().splitlines()]


def keys(value):
    if isinstance(value, dict):
        for key, inner in value.items():
            yield key
            yield from keys(inner)
    elif isinstance(value, list):
        for inner in value:
            yield from keys(inner)


def paper_cost(ticket, book):
    """The paper cost of the job as the costing forms it, one part costing
    after the other, from the ticket's figures."""
    total = 0.0
    for line in ticket["parts"]:
        if not line["printed"]:
            continue
        paper = line["paper"]
        full = line["figures"]["fullSheets"]
        if paper["sticker"]:
            cost = f32(full * book.zhibu[paper["index"]] * 2)
        else:
            cost = f32(full * paper["gsm"] * SERIES_AREA[paper["series"]]
                       * book.zhi[paper["index"]] / 500000)
        for _ in range(int(line["forms"])):
            total = f32(total + cost)
    return total


def check_ticket(ticket, priced, book):
    problems = []
    money = [k for k in keys(ticket) if "Cost" in k or "Price" in k or "price" in k]
    if money:
        problems.append("money on the ticket: %s" % money)
    if ticket["header"]["date"] != "2026/12/7":
        problems.append("date %r" % ticket["header"]["date"])
    sums = {}
    for line in ticket["parts"]:
        if not line["printed"]:
            continue
        figures, totals, forms = line["figures"], line["totals"], line["forms"]
        # The figures the costing keeps as 32-bit floats come in their
        # shortest text; full sheets are doubles.
        for name, one in (("fullSheets", figures["fullSheets"]),
                          ("pressSheets", f32(figures["pressSheets"])),
                          ("netSheets", f32(figures["netSheets"]))):
            if totals[name] != one * forms:
                problems.append("%s %s: %r, not %r x %r"
                                % (line["name"], name, totals[name], figures[name], forms))
        paper = json.dumps(line["paper"], sort_keys=True)
        sums[paper] = sums.get(paper, 0.0) + totals["fullSheets"]
    for use in ticket["papers"]:
        expected = sums.pop(json.dumps(use["paper"], sort_keys=True), None)
        if use["fullSheets"] != expected:
            problems.append("paper %s: %r full sheets, lines give %r"
                            % (use["paper"]["name"], use["fullSheets"], expected))
        if use["fullSheetsWhole"] != math.ceil(use["fullSheets"] - 1e-9 * use["fullSheets"]):
            problems.append("paper %s: whole sheets %r" % (use["paper"]["name"],
                                                           use["fullSheetsWhole"]))
    if sums:
        problems.append("papers missing from the list: %s" % list(sums))
    expected = priced["CostResult"]["PaperCost"]
    if not close(paper_cost(ticket, book), expected):
        problems.append("paper cost from the ticket %r, priced %r"
                        % (paper_cost(ticket, book), expected))
    return problems


def check_random_jobs(folder, rng):
    book = builtin_book()
    failures = 0
    for kind in range(5):
        jobs = [GENERATORS[kind](rng) for _ in range(JOBS_PER_KIND)]
        tickets = answers(folder, "ticket", jobs)
        prices = answers(folder, "price", jobs)
        if len(tickets) != len(jobs) or len(prices) != len(jobs):
            print("kind %d: %d tickets and %d prices for %d jobs"
                  % (kind, len(tickets), len(prices), len(jobs)))
            failures += 1
            continue
        made = 0
        for job, ticket, priced in zip(jobs, tickets, prices):
            if "error" in ticket:
                if "error" not in priced and "不能生成施工单" not in ticket["error"]:
                    failures += 1
                    print("kind %d: refused %s" % (kind, ticket["error"]))
                continue
            made += 1
            problems = check_ticket(ticket, priced, book)
            if problems:
                failures += 1
                print("ticket of", json.dumps(job, ensure_ascii=False))
                for problem in problems:
                    print("  " + problem)
        if made < JOBS_PER_KIND // 2:
            failures += 1
            print("kind %d: only %d tickets" % (kind, made))
    return failures


def check_refusals(folder):
    cases = [
        ("zero quantity", {"kind": 2, "controls": {"txtshuliang": {"2": "0"}}}, "数量不能为零"),
        ("nothing ticked", {"kind": 2, "controls": {}}, "没有要印刷的部件"),
        ("2开 on 4开 press sheets",
         {"kind": 2, "controls": {"Chkdan": {"0": 1}, "Ncomkai": {"5": "2"},
                                  "Ntxtkaizhi": {"5": "4"}}},
         "单张无法上机印刷（2开的印件排不进对开平印机的4开上机纸），不能生成施工单。"),
    ]
    failures = 0
    for name, job, message in cases:
        done = run(folder, ["ticket"], json.dumps(job))
        lines = done.stderr.decode().strip().splitlines()
        if done.returncode != 2 or len(lines) != 1 or message not in lines[0] or done.stdout:
            failures += 1
            print("refusal %s: exit %d, stderr %r" % (name, done.returncode, done.stderr))
    return failures


def main():
    with ProgramFolder(sys.argv[1], "inkquot-ticket-") as folder:
        failures = check_random_jobs(folder, random.Random(SEED)) + check_refusals(folder)
    return verdict(failures, "ticket checks failed", "tickets agree with their prices")


if __name__ == "__main__":
    sys.exit(main())
