"""An installed copy of `inkquot-cli` (in a bin/ folder without jgfa/) keeps
its data in the per-user folder: the first run lays it out and prices there,
nothing is written beside the executable, and --dir or INKQUOT_HOME naming a
missing folder is refused without creating it.

On Windows the per-user folder is %APPDATA%\\inkquot.

Usage: test_installed_copy.py [COMMAND_PREFIX...] PATH_TO_INKQUOT_CLI
(a prefix such as an emulator runs a tool built for another system)
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

BOOK = {"kind": 0, "controls": {
    "Lsthua": {"0": 1, "1": 1}, "txtye": {"0": "48"},
    "Ncomke": {"0": "157", "1": "128"}, "Ncomyinse": {"1": "0"}}}


def main():
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        tmp = Path(tmp)
        bin_dir = tmp / "usr" / "bin"
        bin_dir.mkdir(parents=True)
        prefix, original = sys.argv[1:-1], sys.argv[-1]
        windows = original.endswith(".exe")
        cli = bin_dir / Path(original).name
        shutil.copy(original, cli)
        env = {k: v for k, v in os.environ.items()
               if k not in ("INKQUOT_HOME", "XDG_DATA_HOME", "APPDATA")}
        env["HOME"] = str(tmp / "home")

        def run(*args, **extra):
            return subprocess.run([*prefix, str(cli), *args], input=json.dumps(BOOK).encode(),
                                  capture_output=True, env={**env, **extra}, timeout=60)

        data = tmp / "home" / ".local" / "share" / "inkquot"
        if windows:
            # The per-user folder is %APPDATA%\\inkquot, as the system that
            # runs the tool names it (Wine names its own), seen from here.
            def ask(*command):
                return subprocess.run([*prefix, *command], capture_output=True, env=env,
                                      timeout=60).stdout.decode().strip()
            appdata = ask("cmd", "/c", "echo %APPDATA%")
            data = Path(ask("winepath", "-u", appdata)) / "inkquot"
            shutil.rmtree(data, ignore_errors=True)
        priced = run("price")
        if priced.returncode != 0 or json.loads(priced.stdout)["CostResult"]["TotalPrice"] <= 0:
            failures.append(f"price in the per-user folder: {priced.returncode} {priced.stderr!r}")
        for name in ("jgfa/fangan.inf", "users.dat", "fgongjia.dat"):
            if not (data / name).is_file():
                failures.append(f"per-user folder lacks {name}")
        if sorted(p.name for p in bin_dir.iterdir()) != [cli.name]:
            failures.append(f"written beside the executable: {list(bin_dir.iterdir())}")

        # XDG_DATA_HOME names the folder on Linux; on Windows APPDATA still
        # wins over it.
        xdg = run("price", XDG_DATA_HOME=str(tmp / "xdg"))
        if xdg.returncode != 0 or (tmp / "xdg" / "inkquot" / "users.dat").is_file() != (not windows):
            failures.append(f"XDG_DATA_HOME: {xdg.returncode} {xdg.stderr!r}")

        missing = tmp / "missing"
        for args, extra in ((("--dir", str(missing), "price"), {}),
                            (("price",), {"INKQUOT_HOME": str(missing)})):
            refused = run(*args, **extra)
            err = refused.stderr.decode()
            if refused.returncode != 2 or str(missing) not in err or err.count("\n") != 1:
                failures.append(f"{args} {extra}: {refused.returncode} {err!r}")
        if missing.exists():
            failures.append("a missing folder was created")

        version = run("--version")
        if version.returncode != 0 or not version.stdout.decode().startswith("inkquot-cli "):
            failures.append(f"--version: {version.stdout!r}")
    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
