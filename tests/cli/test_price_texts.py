"""Checks the texts `inkquot-cli price` prints beside the costs: the result
text of the screen, the size field and the processing description that a
saved quotation keeps.

Usage: test_price_texts.py PATH_TO_INKQUOT_CLI
"""

import json
import sys

from program_folder import ProgramFolder


def main():
    cli = sys.argv[1]
    with ProgramFolder(cli, "inkquot-texts-") as folder:
        book = {"kind": 0, "controls": {
            "Lsthua": {"0": 1, "1": 1}, "txtye": {"0": "48"},
            "Ncomke": {"0": "157", "1": "128"}, "Ncomyinse": {"1": "0"},
            "Chkhua": {"5": 1}, "Ncomdu": {"1": 1}}}
        run = folder.run("price", book)
        if run.returncode != 0:
            print(run.stderr.decode())
            return 1
        out = json.loads(run.stdout)
        failures = 0
        expected = {
            "Guige": "大度16开",
            "Yaoqiu": "封面正度8开157克铜版纸4+0色印刷；内页一48页，128克铜版纸4+4色印刷；骑马订装订；",
        }
        for key, value in expected.items():
            if out[key] != value:
                print(f"{key}: {out[key]!r}, expected {value!r}")
                failures += 1
        lines = out["resultText"].split("\r\n")
        if len(lines) != 15 or lines[-1] != "" or lines[2] != "数  量：10,000":
            print(f"resultText: {out['resultText']!r}")
            failures += 1
        unit = f"{out['CostResult']['UnitPrice']:.4f}"
        if lines[3] != "单  价：" + unit:
            print(f"unit price line {lines[3]!r}, expected {unit}")
            failures += 1
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
