"""Checks how `inkquot-cli part` reads its input: every field required and
strictly typed, impossible parts refused with exit code 2 and a one-line
message naming the field, and the output format of the worked example.

Usage: test_part_input.py PATH_TO_INKQUOT_CLI
"""

import json
import os
import sys

from costing_model import SPEC_FIELDS
from program_folder import ProgramFolder, verdict

# 1000 16开 leaflets, four to a 四开 press sheet, 157 g/m² 铜版纸, 4 + 0.
LEAFLET = dict.fromkeys(SPEC_FIELDS, 0)
LEAFLET.update(quantity=1000, halfSheetArea=0.53, kai=16, sheetKai=4, gsm=157, paperIndex=1,
               coloursFront=4, printFlag=1, press=1, filmMode=1, surfaceSides=1, surfaceType=1,
               corrugatedLayers=1, glueMode=1, printDifficulty=1, dieCutDifficulty=1,
               dieBoardDifficulty=1)


def leaflet(**changes):
    p = dict(LEAFLET)
    p.update(changes)
    return p


def without(name):
    p = dict(LEAFLET)
    del p[name]
    return p


EXAMPLE_OUTPUT = ('{"FilmCost": 0, "ImpositionCost": 0, "PrintCost": 800, "PaperCost": 129.37491, '
                  '"SurfaceCost": 0, "FoilCost": 0, "EmbossCost": 0, "MountCost": 0, '
                  '"DieBoardCost": 0, "DieCutCost": 0, "CorrugatedCost": 0, "GlueCost": 0, '
                  '"FoldCost": 0}\n')

# (what, input, exit code, text the message must hold)
REFUSALS = [
    ("missing field", without("gsm"), 2, 'field "gsm" is missing'),
    ("unknown field", leaflet(paperWeight=157), 2, 'unknown field "paperWeight"'),
    ("text for a number", leaflet(kai="16"), 2, 'field "kai" must be a number'),
    ("true for a flag", leaflet(printFlag=True), 2, 'field "printFlag" must be a number'),
    ("null", leaflet(press=None), 2, 'field "press" must be a number'),
    ("beyond float range", leaflet(gsm=1e39), 2, 'field "gsm" is out of range'),
    ("key twice", json.dumps(LEAFLET)[:-1] + ', "kai": 8}', 2, 'field "kai" is given twice'),
    ("not JSON", "{quantity: 1}", 2, "not valid JSON"),
    ("trailing text", json.dumps(LEAFLET) + " 1", 2, "not valid JSON"),
    ("a number", "42", 2, "expected a JSON object"),
    ("batch holding a number", [LEAFLET, 3], 2, "part[1]: expected a JSON object"),
    ("zero quantity", leaflet(quantity=0), 2, '"quantity" must not be 0'),
    ("zero press sheet", leaflet(sheetKai=0), 2, '"sheetKai" must be greater than 0'),
    ("paper 51", leaflet(paperIndex=51), 2, '"paperIndex" must be 1 to 50'),
    ("paper 0", leaflet(paperIndex=0), 2, '"paperIndex"'),
    ("sticker paper 11", leaflet(stickerPaper=1, paperIndex=11), 2, '"paperIndex"'),
    ("cost beyond float range", leaflet(printDifficulty=3e38), 2, "range of a 32-bit float"),
    ("bad part in a batch", [LEAFLET, LEAFLET, leaflet(quantity=0)], 2, "part[2]:"),
]


def main(argv):
    folder = ProgramFolder(argv[1])
    failures = 0

    def fail(message):
        nonlocal failures
        failures += 1
        print(message)

    try:
        run = folder.run("part", LEAFLET)
        if run.returncode != 0 or run.stdout.decode() != EXAMPLE_OUTPUT:
            fail(f"worked example: exit {run.returncode}, output {run.stdout.decode()!r}")

        run = folder.run("part", [LEAFLET, leaflet(kai=6, press=3)])
        out = json.loads(run.stdout) if run.returncode == 0 else None
        if not out or out[0]["PrintCost"] != 800 or any(out[1].values()):
            fail(f"batch with a piece too large for 八开: {run.stdout.decode()!r}")

        # Printing off: the paper index is not used and need not be valid.
        run = folder.run("part", leaflet(printFlag=0, paperIndex=0, foldFlag=1, folds=2))
        if run.returncode != 0 or json.loads(run.stdout)["FoldCost"] != 20:
            fail(f"unprinted part without paper: {run.stdout.decode()!r} {run.stderr.decode()!r}")

        for what, payload, code, text in REFUSALS:
            run = folder.run("part", payload)
            err = run.stderr.decode()
            if run.returncode != code or text not in err or err.count("\n") != 1 or run.stdout:
                fail(f"{what}: exit {run.returncode}, stderr {err!r}, stdout {run.stdout!r}")

        # Without working price files (no scheme selected yet) nothing is
        # priced at zero behind the user's back.
        os.remove(os.path.join(folder.path, "fgongjia.dat"))
        run = folder.run("part", LEAFLET)
        if run.returncode == 0 or "fgongjia.dat" not in run.stderr.decode():
            fail(f"missing working file: exit {run.returncode}, {run.stderr.decode()!r}")
    finally:
        folder.close()
    return verdict(failures, "failures", "part input handling is strict")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
