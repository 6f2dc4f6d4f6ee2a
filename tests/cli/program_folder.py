"""A temporary program folder for the tests that run `inkquot-cli`."""

import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

from costing_model import GONGJIA_FILE, JIBEN_FILE, ZHIJIA_FILE, ZHIJIABU_FILE


class ProgramFolder:
    """A folder laid out by `inkquot-cli install`, with the built-in scheme
    copied to the working files as a selection would. `cli` is the tool's
    path, or a command line (a list) that runs it."""

    def __init__(self, cli, prefix="inkquot-cli-test-"):
        self.cli = [cli] if isinstance(cli, str) else list(cli)
        self.path = tempfile.mkdtemp(prefix=prefix)
        installed = subprocess.run([*self.cli, "install", self.path], capture_output=True)
        jgfa = os.path.join(self.path, "jgfa")
        for suffix, (working, _, _) in (("ji", JIBEN_FILE), ("gong", GONGJIA_FILE),
                                        ("zhi", ZHIJIA_FILE), ("zhibu", ZHIJIABU_FILE)):
            stored = os.path.join(jgfa, "系统默认" + suffix + ".dat")
            if installed.returncode != 0 or not os.path.exists(stored):
                self.close()
                raise RuntimeError("inkquot-cli install did not write %s (exit %d): %s"
                                   % (stored, installed.returncode,
                                      installed.stderr.decode(errors="replace")))
            shutil.copyfile(stored, os.path.join(self.path, working))

    def run(self, command, payload):
        """Runs one command on a payload (JSON, or text as it stands)."""
        text = payload if isinstance(payload, str) else json.dumps(payload)
        return subprocess.run([*self.cli, "--dir", self.path, command], input=text.encode(),
                              capture_output=True)

    def close(self):
        shutil.rmtree(self.path, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def verdict(failures, what_failed, success):
    """A script's exit code: 1 after the count of `failures` (what_failed
    names them), 0 after the `success` line when there are none."""
    if failures:
        print(f"{failures} {what_failed}")
        return 1
    print(success)
    return 0


def agreement_main(prefix, seed, check_agreement, check_refusals):
    """Runs the agreement check (with a generator seeded `seed`) and the
    refusal check of the tool named on the command line over one program
    folder it laid out; 1 when either failed."""
    cli = sys.argv[1]
    with ProgramFolder(cli, prefix) as folder:
        rng = random.Random(seed)
        return check_agreement(cli, folder.path, rng) | check_refusals(cli, folder.path)
