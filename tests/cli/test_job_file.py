"""Job files (.inkjob) and the job descriptions kept with the history.

A job file is a job description with its format version: `inkquot-cli price`
prices it exactly as the description alone, and refuses a newer format.
`history --job-of K` prints the job file saved with the K-th listed
quotation; a description keyed to other record bytes is never attached, and
deleting up to a date keeps the two files in step.

usage: test_job_file.py PATH_TO_INKQUOT_CLI
"""

import datetime
import json
import os
import random
import struct
import subprocess
import sys

import test_history as history
from job_model import GENERATORS
from program_folder import ProgramFolder

JOBS_PER_KIND = 30


def fnv1a64(data):
    h = 0xcbf29ce484222325
    for b in data:
        h = ((h ^ b) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
    return h


def companion_line(slot_bytes, job):
    day = struct.unpack("<d", slot_bytes[:8])[0]
    return "%d\t%016x\t%s\n" % (day, fnv1a64(slot_bytes[:440]),
                                json.dumps(job, ensure_ascii=False, separators=(",", ":")))


def main():
    cli = sys.argv[1]
    program = ProgramFolder(cli, "inkquot-jobfile-")
    folder = program.path
    failures = []

    def run(args, payload=None):
        return subprocess.run([cli, "--dir", folder] + args, input=payload,
                              capture_output=True, text=True, timeout=300)

    try:
        rng = random.Random(20261208)
        jobs = [GENERATORS[kind](rng) for kind in range(5) for _ in range(JOBS_PER_KIND)]
        for args in (["price"], ["price", "--describe"], ["table"]):
            plain = run(args + ["--lines"], "\n".join(json.dumps(j) for j in jobs))
            files = run(args + ["--lines"],
                        "\n".join(json.dumps(dict(j, version=1)) for j in jobs))
            # (a newspaper or sticker has no price table: refused alike)
            if (plain.returncode, plain.stdout) != (files.returncode, files.stdout) \
                    or not plain.stdout:
                failures.append("%s: a job file prices otherwise than its description" % args)
        pretty = json.dumps(dict(jobs[0], version=1), ensure_ascii=False, indent=2)
        if run(["price"], pretty).stdout != run(["price"], json.dumps(jobs[0])).stdout:
            failures.append("an indented job file")
        for version, message in ((2, "较新版本"), ("1", "格式版本")):
            done = run(["price"], json.dumps(dict(jobs[0], version=version)))
            if done.returncode != 2 or message not in done.stderr or done.stdout:
                failures.append("version %r: exit %d %s" % (version, done.returncode,
                                                            done.stderr))

        # Three quotations: the first without a description, the second with
        # its own, the third with one keyed to other bytes (out of step).
        d = datetime.date(2026, 12, 1)
        slots = [history.slot(d, "甲", "画册"),
                 history.slot(d + datetime.timedelta(1), "乙", "海报"),
                 history.slot(d + datetime.timedelta(2), "丙", "海报")]
        stranger = history.slot(d + datetime.timedelta(2), "丁", "海报")
        with open(os.path.join(folder, "frecord.dat"), "wb") as f:
            f.write(b"".join(slots))
        with open(os.path.join(folder, "frecord.jobs"), "w", encoding="utf-8") as f:
            f.write("inkquot-history-jobs 1\n" + companion_line(slots[1], jobs[1])
                    + companion_line(stranger, jobs[2]))

        done = run(["history", "--job", "海报", "--job-of", "1"])
        if done.returncode != 0 or json.loads(done.stdout) != dict(jobs[1], version=1):
            failures.append("--job-of: exit %d %s" % (done.returncode, done.stderr))
        for args in (["--job-of", "1"], ["--job-of", "3"], ["--job-of", "4"],
                     ["--job-of", "0"]):
            done = run(["history"] + args)
            if done.returncode != 2 or done.stdout:
                failures.append("%s: exit %d %s" % (args, done.returncode, done.stderr))

        done = run(["history", "--delete-up-to", "2026/12/1"])
        with open(os.path.join(folder, "frecord.jobs"), encoding="utf-8") as f:
            lines = f.read().splitlines()
        if done.returncode != 0 or len(lines) != 3:
            failures.append("delete up to a date: %s %r" % (done.stderr, lines))
        done = run(["history", "--job-of", "1"])
        if done.returncode != 0 or json.loads(done.stdout) != dict(jobs[1], version=1):
            failures.append("--job-of after deleting: exit %d %s" % (done.returncode,
                                                                    done.stderr))
    finally:
        program.close()

    for f in failures:
        print(f)
    print("%d failures" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
