"""`inkquot-cli price` against an independent calculation of whole jobs.

Thousands of random jobs of every kind (fixed seed) are priced by the tool
and by the job model (job_model.py over the rules of costing_model.py, with
the built-in price scheme), and the sixteen values of each result are
compared. A few jobs that cannot be priced must be refused with exit code 2
and a message on standard error.

usage: test_price_agreement.py PATH_TO_INKQUOT_CLI
"""

import json
import subprocess
import sys

from costing_model import RESULT_NAMES, builtin_book
from job_model import GENERATORS, close, price_job
from program_folder import agreement_main

JOBS_PER_KIND = 1000
BATCH = 500
SEED = 20261208


def run_cli(cli, folder, payload):
    return subprocess.run([cli, "--dir", folder, "price"], input=json.dumps(payload),
                          capture_output=True, text=True, timeout=300)


def check_agreement(cli, folder, rng):
    jobs = [GENERATORS[kind](rng) for kind in range(5) for _ in range(JOBS_PER_KIND)]
    rng.shuffle(jobs)
    prices = builtin_book()
    failures = 0
    for start in range(0, len(jobs), BATCH):
        batch = jobs[start:start + BATCH]
        done = run_cli(cli, folder, batch)
        if done.returncode != 0:
            print("batch at %d refused: %s" % (start, done.stderr.strip()))
            return 1
        answers = json.loads(done.stdout)
        for job, answer in zip(batch, answers):
            expected = price_job(job, prices)
            wrong = [name for name in RESULT_NAMES
                     if not close(answer["CostResult"][name], expected[name])]
            if answer["kind"] != job["kind"] or wrong:
                failures += 1
                if failures <= 5:
                    print("disagreement on", json.dumps(job, ensure_ascii=False))
                    for name in wrong:
                        print("  %s: tool %r, expected %r"
                              % (name, answer["CostResult"][name], expected[name]))
    print("%d jobs priced, %d disagreements" % (len(jobs), failures))
    return 1 if failures else 0


def check_refusals(cli, folder):
    def book(**controls):
        base = {"Lsthua": {"1": 1}, "txtye": {"0": "96"}}
        base.update(controls)
        return {"kind": 0, "controls": base}

    cases = [
        ("zero quantity", {"kind": 2, "controls": {"txtshuliang": {"2": "0"}}}, "数量不能为零"),
        ("2开 book on 对开 sheets",
         book(Ncomkai={"0": "2"}, Comyinji={"1": 0}, Cmbkaizhi={"1": "2"}), "容纳不下一贴"),
        ("no paper for 内页一", book(Ncomzhi={"1": -1}), "请为内页一选择纸张"),
        ("negative pages", book(txtye={"0": "-8"}), "内页一的页数“-8”必须在0到20000之间"),
        ("absurd pages", book(txtye={"0": "4000000"}), "必须在0到20000之间"),
        ("no sticker paper", {"kind": 4, "controls": {"Chkbu": {"0": 1}, "Nzhibu": -1}},
         "请为不干胶选择纸张"),
        ("newspaper of 0开", {"kind": 1, "controls": {"Ncomkai": {"4": "0"},
                                                       "Lstbao": {"0": 1},
                                                       "txtye": {"2": "8"}}}, "开数"),
    ]
    failures = 0
    for name, job, message in cases:
        done = run_cli(cli, folder, job)
        lines = done.stderr.strip().splitlines()
        if done.returncode != 2 or len(lines) != 1 or message not in lines[0] or done.stdout:
            failures += 1
            print("refusal %s: exit %d, stderr %r" % (name, done.returncode, done.stderr))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(agreement_main("inkquot-price-", SEED, check_agreement, check_refusals))
