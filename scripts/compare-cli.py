#!/usr/bin/env python3
"""Compares the output of two builds of inkquot-cli byte for byte.

Random jobs of every kind (the generators of the tests' job model) go
through `price`, `price --describe` and `table` of both tools, in batches and
one by one with a random fault mixed in (a value the tool must refuse), and
random requests through `fit`. Standard output, standard error and the exit
code must be identical.

usage: compare-cli.py [--without FIELD]... [--tables N] REFERENCE_CLI CANDIDATE_CLI [JOBS_PER_KIND] [SEED]

Each tool is a command line: a path, or a prefix and a path in one argument
("scripts/windows/wine-run.sh build-windows/app/inkquot-cli.exe" runs the
Windows build under Wine). The program folders the two tools lay out
(`install`), and the same folders after a `scheme export`, must hold the
same files with the same bytes.

--tables N: price tables of the first N jobs only (all by default); a table
costs 84 pricings, which is slow where file access is slow (under Wine).

--without FIELD: an answer of the candidate may also hold FIELD where the
reference has none (a field added since, such as "flagged"); such runs are
counted apart as "differ only by FIELD" and the rest must still be
identical byte for byte.
"""

import copy
import json
import os
import random
import shlex
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "cli"))
from job_model import GENERATORS, forced  # noqa: E402
from program_folder import ProgramFolder  # noqa: E402

BATCH = 250


def run(cli, folder, args, payload):
    done = subprocess.run([*cli, "--dir", folder] + args, input=json.dumps(payload).encode(),
                          capture_output=True, timeout=600)
    return done.returncode, done.stdout, done.stderr


# Faults that the tool must refuse (or that probe its edges): each replaces
# or adds one value of a job.
FAULTS = [
    ("txtshuliang", "2", "abc"), ("txtshuliang", "2", "0"), ("txtshuliang", "0", ""),
    ("txtye", "0", "13"), ("txtye", "0", "x"), ("txtkehuming", "1", ""),
    ("Ncomkai", "5", "q"), ("Ntxtkaizhi", "5", "0"), ("Ncomdu", "5", 7),
    ("Comyinji", "7", 3), ("Comyinji", "1", 2), ("Cmbkaizhi", "7", "999"),
    ("Cmbkaizhi", "5", "2"), ("Chkzifan", "8", 1), ("Chkzifan", "7", 1), ("Chkzifan", "10", 1),
    ("Chkzhikai", "0", 1), ("Ncomzhi", "0", 50), ("Ncomzhi", "0", -1), ("Lsthua", "9", 1),
    ("nosuch", "0", 1), ("Comnd", "0", "1.5"), ("Comnd", "0", 1), ("Cmbdin", None, 9),
    ("optwa", None, 3), ("Chkhua", "0", 2),
]


def with_fault(job, rng):
    job = copy.deepcopy(job)
    name, index, value = rng.choice(FAULTS)
    controls = job.setdefault("controls", {})
    if index is None:
        controls[name] = value
    else:
        if not isinstance(controls.get(name, {}), dict):
            controls[name] = {}
        controls.setdefault(name, {})[index] = value
    return job


WITHOUT = []


def without_fields(stdout):
    """The candidate's answers with the set-aside fields removed, or None."""
    try:
        answer = json.loads(stdout)
    except ValueError:
        return None
    answers = answer if isinstance(answer, list) else [answer]
    for one in answers:
        if isinstance(one, dict):
            for field in WITHOUT:
                one.pop(field, None)
    return answer


def compare(label, a, b, counts):
    counts[label] = counts.get(label, 0) + 1
    if a != b and WITHOUT and a[0] == b[0] and a[2] == b[2]:
        reference, candidate = without_fields(a[1]), without_fields(b[1])
        if reference is not None and reference == candidate:
            key = "differ only by " + "/".join(WITHOUT)
            counts[key] = counts.get(key, 0) + 1
            return
    if a != b:
        counts["differences"] += 1
        if counts["differences"] <= 5:
            print("%s differs:\n  reference %r\n  candidate %r" % (label, a[:3], b[:3]))


def folder_bytes(folder):
    """Every file of a program folder by its path inside it, with its bytes
    (but the empty file that carries the folder's lock on Windows)."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            if name == "inkquot.lock" and root == folder:
                continue
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = f.read()
    return files


def compare_folders(label, folders, counts):
    a, b = (folder_bytes(f) for f in folders)
    counts[label] = counts.get(label, 0) + 1
    if a != b:
        counts["differences"] += 1
        names = sorted(n for n in set(a) | set(b) if a.get(n) != b.get(n))
        print("%s differs in %s" % (label, names[:10]))


def main():
    argv = sys.argv[1:]
    table_limit = None
    while len(argv) >= 2 and argv[0] in ("--without", "--tables"):
        if argv[0] == "--without":
            WITHOUT.append(argv[1])
        else:
            table_limit = int(argv[1])
        argv = argv[2:]
    reference, candidate = argv[0], argv[1]
    per_kind = int(argv[2]) if len(argv) > 2 else 1000
    rng = random.Random(int(argv[3]) if len(argv) > 3 else 20261208)
    clis = [shlex.split(reference), shlex.split(candidate)]
    programs = [ProgramFolder(c, "inkquot-compare-") for c in clis]
    folders = [p.path for p in programs]
    counts = {"differences": 0}
    try:
        compare_folders("installed folder", folders, counts)
        jobs = [GENERATORS[k](rng) for k in range(5) for _ in range(per_kind)]
        rng.shuffle(jobs)
        for start in range(0, len(jobs), BATCH):
            batch = jobs[start:start + BATCH]
            for args in (["price"], ["price", "--describe"]):
                out = [run(c, f, args, batch) for c, f in zip(clis, folders)]
                compare(" ".join(args) + " batch", out[0], out[1], counts)
            if table_limit is not None and start >= table_limit:
                continue
            table_jobs = [forced(j) for j in batch if j["kind"] in (0, 2, 3)]
            out = [run(c, f, ["table"], table_jobs) for c, f in zip(clis, folders)]
            compare("table batch", out[0], out[1], counts)
        # One by one, each with a fault, so every refusal message is compared.
        for job in rng.sample(jobs, min(len(jobs), 60 * 5)):
            bad = with_fault(job, rng)
            for args in (["price"], ["price", "--describe"], ["table"]):
                out = [run(c, f, args, bad) for c, f in zip(clis, folders)]
                compare(" ".join(args) + " single", out[0], out[1], counts)
        requests = [{"page": rng.randint(0, 6), "a": rng.randint(0, 1300),
                     "b": rng.randint(0, 1300), "trim": rng.randint(0, 10),
                     "gripper": rng.randint(0, 99)} for _ in range(per_kind * 5)]
        out = [run(c, f, ["fit"], requests) for c, f in zip(clis, folders)]
        compare("fit batch", out[0], out[1], counts)
        out = [run(c, f, ["scheme", "export", "零售价"], {}) for c, f in zip(clis, folders)]
        compare("scheme export", out[0], out[1], counts)
        compare_folders("folder after scheme export", folders, counts)
    finally:
        for p in programs:
            p.close()
    print("%d jobs, %d fit requests; runs compared: %s" %
          (len(jobs), per_kind * 5, json.dumps(counts, ensure_ascii=False)))
    return 1 if counts["differences"] else 0


if __name__ == "__main__":
    sys.exit(main())
