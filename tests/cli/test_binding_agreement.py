"""Checks `inkquot-cli binding` against the independent model of the binding
rule (in costing_model.py) on random bindings, over the built-in price
scheme and over random price tables.

Usage: test_binding_agreement.py PATH_TO_INKQUOT_CLI
"""

import json
import random
import sys

from costing_model import cost_binding, f32, load_book, random_tables, write_tables
from program_folder import ProgramFolder, verdict


def random_binding(rng):
    return {
        "bindFlag": f32(rng.choice((1, 1, 1, 1, 0, 2))),
        "copies": f32(rng.choice((rng.randint(1, 3000), rng.randint(1, 100000),
                                  rng.uniform(1, 5000), 300, 1000))),
        "kai": f32(rng.choice((8, 12, 16, 16, 17, 24, 32, 33, 48, 64, 65, 128,
                               rng.uniform(4, 100)))),
        "pages": f32(rng.choice((rng.randint(0, 600), rng.randint(1, 150) * 4,
                                 rng.uniform(0, 400)))),
        "bindingForm": f32(rng.choice((1, 2, 3, 4, 5, 6, 1, 2, 0, 7, 1.5))),
    }


def check(folder, book, bindings, label):
    run = folder.run("binding", bindings)
    if run.returncode != 0:
        print(f"{label}: inkquot-cli binding failed ({run.returncode}): {run.stderr.decode()}")
        return 1
    got = json.loads(run.stdout)
    failures = 0 if len(got) == len(bindings) else 1
    for b, out in zip(bindings, got):
        want = cost_binding(book, b["bindFlag"], b["copies"], b["kai"], b["pages"],
                            b["bindingForm"])
        want = 0.0 if want is None else want
        if f32(out["BindingCost"]) != want:
            failures += 1
            if failures <= 10:
                print(f"{label}: {json.dumps(b)} -> {out['BindingCost']!r}, model {want!r}")
    return failures


def main(argv):
    rng = random.Random(8121226)
    folder = ProgramFolder(argv[1])
    failures = 0
    try:
        book = load_book(folder.path)
        # Worked cases: 96 and 98 pages both make 24 signatures, and 300
        # copies are charged as the minimum of 1000.
        fixed = [{"bindFlag": 1, "copies": 2000, "kai": 16, "pages": 96, "bindingForm": 1},
                 {"bindFlag": 1, "copies": 2000, "kai": 16, "pages": 98, "bindingForm": 1},
                 {"bindFlag": 1, "copies": 300, "kai": 16, "pages": 96, "bindingForm": 1}]
        run = folder.run("binding", fixed)
        costs = [f32(o["BindingCost"]) for o in json.loads(run.stdout)]
        expected = [f32((24 * f32(0.02) + f32(0.1)) * c) for c in (2000, 2000, 1000)]
        if costs != expected:
            print(f"worked cases: {costs}, expected {expected}")
            failures += 1

        # Strict input, like every command.
        base = {"bindFlag": 1, "copies": 2000, "kai": 16, "pages": 96, "bindingForm": 1}
        for payload, text in (({k: v for k, v in base.items() if k != "pages"},
                               'field "pages" is missing'),
                              (dict(base, glue=1), 'unknown field "glue"'),
                              (dict(base, copies="2000"), 'field "copies" must be a number'),
                              (dict(base, copies=3e38, pages=3e38), "32-bit float")):
            run = folder.run("binding", payload)
            if run.returncode != 2 or text not in run.stderr.decode():
                print(f"{payload}: exit {run.returncode}, {run.stderr.decode()!r}")
                failures += 1

        failures += check(folder, book, [random_binding(rng) for _ in range(1500)],
                          "built-in scheme")
        for round_no in range(2):
            write_tables(folder.path, *random_tables(rng))
            book = load_book(folder.path)
            failures += check(folder, book, [random_binding(rng) for _ in range(800)],
                              f"random tables {round_no}")
    finally:
        folder.close()
    return verdict(failures, "disagreements", "binding costing agrees with the model")


if __name__ == "__main__":
    sys.exit(main(sys.argv))
