"""Checks `inkquot-cli part` against the second, independent model of the
part cost rules (costing_model.py) on a few thousand random part
descriptions, over the built-in price scheme and over random price tables
(where every TAG differs, so a swapped factor shows). The two must agree bit
for bit.

Usage: test_part_agreement.py PATH_TO_INKQUOT_CLI
"""

import json
import random
import sys

from costing_model import COST_ITEMS, SPEC_FIELDS, builtin_book, cost_part, f32, load_book, \
    random_tables, write_tables
from program_folder import ProgramFolder, verdict


def random_spec(rng):
    def pick(*values):
        return f32(rng.choice(values))

    def flag():
        # Mostly off or on; now and then a value that is neither.
        return f32(rng.choice((0, 1, 1, 0, 1, 2, 0.5)) if rng.random() < 0.2 else rng.choice((0, 1)))

    sticker = f32(1 if rng.random() < 0.15 else 0)
    p = {
        "quantity": f32(rng.choice((rng.randint(1, 3000), rng.randint(1, 200000), -rng.randint(1, 5000),
                                    rng.uniform(1, 50000), 1000, 5000, 10000))),
        "halfSheetArea": pick(0.53, 0.43),
        "kai": f32(rng.choice((1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 16, 18, 20, 24, 32, 33, 48, 64, 65,
                               100, rng.uniform(1, 70)))),
        "sheetKai": pick(1, 2, 2, 3, 4, 4, 5, 6, 7, 8, 8, 16),
        "gsm": f32(rng.choice((60, 70, 80, 105, 128, 157, 200, 250, 300, rng.uniform(30, 400)))),
        "paperIndex": f32(rng.randint(1, 10 if sticker == 1 else 50)),
        "coloursFront": pick(0, 1, 2, 2, 3, 4, 4, 5),
        "coloursBack": pick(0, 0, 1, 2, 3, 4, 4),
        "spotColours": pick(0, 0, 0, 1, 2, 3),
        "printFlag": flag(),
        "stickerPaper": sticker,
        "workAndTurn": flag(),
        "press": pick(1, 1, 2, 3, 4, 4, 0, 5),
        "filmFlag": flag(),
        "filmMode": pick(0, 1, 2, 3),
        "impositionFlag": flag(),
        "surfaceFlag": flag(),
        "surfaceSides": pick(1, 2, 0),
        "surfaceType": pick(1, 2, 3, 4, 5, 0),
        "foilFlag": flag(),
        "foilPasses": pick(0, 1, 2, 3),
        "foilArea": f32(rng.choice((0, 10, 25.5, rng.uniform(0, 500)))),
        "embossFlag": flag(),
        "mountFlag": flag(),
        "dieCutFlag": flag(),
        "dieBoardFlag": flag(),
        "corrugatedFlag": flag(),
        "corrugatedLayers": pick(1, 2, 3, 4),
        "glueFlag": flag(),
        "glueMode": pick(1, 2, 3, 4),
        "foldFlag": flag(),
        "folds": pick(0, 1, 2, 3, 4),
        "printDifficulty": f32(rng.choice((1, 1, 1.1, 1.2, 1.5, 0.8, rng.uniform(0.5, 3)))),
        "dieCutDifficulty": f32(rng.choice((1, 1.2, 2, rng.uniform(0.5, 3)))),
        "dieBoardDifficulty": f32(rng.choice((1, 1.5, rng.uniform(0.5, 3)))),
    }
    if rng.random() < 0.1:
        # The work-and-turn sheets: pieces per sheet from 1.5 to 8.5 in halves.
        p["sheetKai"] = f32(2)
        p["kai"] = f32(rng.choice((3, 5, 7, 9, 11, 13, 15, 17)))
        p["workAndTurn"] = f32(1)
        p["coloursBack"] = pick(1, 2, 4)
    return p


def check_round(folder, book, specs, label):
    run = folder.run("part", [{k: p[k] for k in SPEC_FIELDS} for p in specs])
    if run.returncode != 0:
        print(f"{label}: inkquot-cli part failed ({run.returncode}): {run.stderr.decode()}")
        return 1
    got = json.loads(run.stdout)
    failures = 0
    for i, (p, out) in enumerate(zip(specs, got)):
        want = cost_part(book, p)
        # The printed text must read back as exactly the model's float.
        wrong = [item for item in COST_ITEMS if f32(out[item]) != want[item]]
        if wrong:
            failures += 1
            if failures <= 5:
                print(f"{label} part {i}: {json.dumps(p)}")
                for item in wrong:
                    print(f"  {item} = {out[item]!r}, model {want[item]!r}")
    if len(got) != len(specs):
        print(f"{label}: {len(got)} results for {len(specs)} parts")
        failures += 1
    return failures


def main(argv):
    cli = argv[1]
    rng = random.Random(20261208)
    folder = ProgramFolder(cli)
    failures = 0
    try:
        book = load_book(folder.path)
        # The built-in scheme, as the model reads its files.
        if book != builtin_book():
            print("the built-in scheme reads back wrongly")
            failures += 1
        specs = [random_spec(rng) for _ in range(2500)]
        specs = [p for p in specs if cost_part(book, p) is not None]
        failures += check_round(folder, book, specs, "built-in scheme")

        for round_no in range(3):
            tables = random_tables(rng)
            write_tables(folder.path, *tables)
            book = load_book(folder.path)
            specs = [random_spec(rng) for _ in range(800)]
            specs = [p for p in specs if cost_part(book, p) is not None]
            failures += check_round(folder, book, specs, f"random tables {round_no}")
    finally:
        folder.close()
    return verdict(failures, "disagreements", "part costing agrees with the model")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
