"""Checks `inkquot-cli part` against a second, independent model of the part
cost rules on a few thousand random part descriptions, over the built-in
price scheme and over random price tables (where every TAG differs, so a
swapped factor shows).

The model below is written from the cost rules as the print shop states
them, in Python doubles, with the 32-bit float storage of every named value
(pieces per sheet, colour runs, sheets, each cost item) modelled through
struct. The two must agree bit for bit.

Usage: test_part_agreement.py PATH_TO_INKQUOT_CLI
"""

import json
import os
import shutil
import struct
import subprocess
import tempfile

# --- 32-bit floats -----------------------------------------------------------

FLT_MAX = struct.unpack("<f", b"\xff\xff\x7f\x7f")[0]


def f32(x):
    """Rounds a double to the nearest 32-bit float (as a Python float)."""
    return struct.unpack("<f", struct.pack("<f", x))[0]


# --- record files ------------------------------------------------------------

JIBEN = ("fjiben.dat", 272, 18)
GONGJIA = ("fgongjia.dat", 508, 44)
ZHIJIA = ("fzhijia.dat", 136, 50)
ZHIJIABU = ("fzhijiabu.dat", 136, 10)

SHUJU = 24
DANJIA, TAG1, TAG2, TAG3, TAG4 = 34, 50, 54, 58, 62
JIAGE = 24


def read_float(data, slot, record, offset):
    pos = (record - 1) * slot + offset
    chunk = data[pos:pos + 4]
    if len(chunk) < 4:
        return 0.0
    return struct.unpack("<f", chunk)[0]


class Book:
    """jiben[i], gong[k] = [Danjia, Tag1, Tag2, Tag3, Tag4], zhi[i], zhibu[i];
    1-based like the record numbers, paper prices raised by the fee."""

    def __init__(self, jiben, gong, zhi_stored, zhibu_stored):
        self.jiben = [0.0] + list(jiben)
        self.gong = [None] + [list(g) for g in gong]
        fee = self.jiben[18]
        # (fee / 100 + 1) x price, formed in double, rounded once.
        self.zhi = [0.0] + [f32((fee / 100 + 1) * p) for p in zhi_stored]
        self.zhibu = [0.0] + [f32((fee / 100 + 1) * p) for p in zhibu_stored]


def load_book(folder):
    def data(name):
        with open(os.path.join(folder, name), "rb") as f:
            return f.read()

    j = data(JIBEN[0])
    g = data(GONGJIA[0])
    z = data(ZHIJIA[0])
    zb = data(ZHIJIABU[0])
    jiben = [read_float(j, 272, i, SHUJU) for i in range(1, 19)]
    gong = [[read_float(g, 508, k, off) for off in (DANJIA, TAG1, TAG2, TAG3, TAG4)]
            for k in range(1, 45)]
    zhi = [read_float(z, 136, i, JIAGE) for i in range(1, 51)]
    zhibu = [read_float(zb, 136, i, JIAGE) for i in range(1, 11)]
    return Book(jiben, gong, zhi, zhibu)


def write_tables(folder, jiben, gong, zhi, zhibu):
    """Writes the four working files with the numbers only (texts left as
    zero bytes), each record in its slot, Bianhao = record number."""

    def table(name, slot, records, fields):
        out = bytearray()
        for n, values in enumerate(records, start=1):
            rec = bytearray(slot)
            rec[0:4] = struct.pack("<i", n)
            for off, v in zip(fields, values):
                rec[off:off + 4] = struct.pack("<f", v)
            out += rec
        with open(os.path.join(folder, name), "wb") as f:
            f.write(out)

    table(JIBEN[0], 272, [[v] for v in jiben], [SHUJU])
    table(GONGJIA[0], 508, gong, [DANJIA, TAG1, TAG2, TAG3, TAG4])
    table(ZHIJIA[0], 136, [[v] for v in zhi], [JIAGE])
    table(ZHIJIABU[0], 136, [[v] for v in zhibu], [JIAGE])


# --- the part ----------------------------------------------------------------

SPEC_FIELDS = [
    "quantity", "halfSheetArea", "kai", "sheetKai", "gsm", "paperIndex",
    "coloursFront", "coloursBack", "spotColours", "printFlag", "stickerPaper",
    "workAndTurn", "press", "filmFlag", "filmMode", "impositionFlag",
    "surfaceFlag", "surfaceSides", "surfaceType", "foilFlag", "foilPasses",
    "foilArea", "embossFlag", "mountFlag", "dieCutFlag", "dieBoardFlag",
    "corrugatedFlag", "corrugatedLayers", "glueFlag", "glueMode", "foldFlag",
    "folds", "printDifficulty", "dieCutDifficulty", "dieBoardDifficulty",
]

COST_ITEMS = [
    "FilmCost", "ImpositionCost", "PrintCost", "PaperCost", "SurfaceCost",
    "FoilCost", "EmbossCost", "MountCost", "DieBoardCost", "DieCutCost",
    "CorrugatedCost", "GlueCost", "FoldCost",
]


def cost_part(book, p):
    """The thirteen items of one part, or None when the inputs are ones the
    system refuses (zero quantity or press-sheet Kai, bad paper index)."""
    c = dict.fromkeys(COST_ITEMS, 0.0)
    q = p["quantity"]
    kai = p["kai"]
    s = p["sheetKai"]
    c1 = p["coloursFront"]
    c2 = p["coloursBack"]
    spot = p["spotColours"]
    press = p["press"]
    gong = book.gong
    jiben = book.jiben

    if q == 0 or s <= 0:
        return None
    # Step 2: the paper price.
    price = 0.0
    if p["printFlag"] == 1:
        idx = round(p["paperIndex"])
        limit = 10 if p["stickerPaper"] == 1 else 50
        if not 1 <= idx <= limit:
            return None
        price = book.zhibu[idx] if p["stickerPaper"] == 1 else book.zhi[idx]

    # Step 3: guards.
    if kai == 0 or (press == 3 and kai < 8) or (press == 2 and kai < 4) or kai < s:
        return c

    def colour_factor(k):
        if c1 >= 3 or c2 >= 3:
            return 1.0
        if (c1 <= 2 and c2 == 2) or (c1 == 2 and c2 <= 2):
            return gong[k][1]
        return gong[k][2]

    def size_factor(k):
        if s >= 8:
            return gong[k][2]
        if s < 4:
            return 1.0
        return gong[k][1]

    # Step 4: n, CU, S (all stored as floats).
    n = f32(kai / s)

    def per_thousand(k):
        rate = gong[k][0] / 1000
        if s == 1:
            rate = rate * 2
        return rate * (q / n) * size_factor(k)

    if press == 4:
        CU = f32(c1 + c2)
        S = f32(q / n)
    elif s == 1:
        CU = f32(c1 + c2)
        S = f32(2 * q / n)
    elif p["workAndTurn"] == 1 and c1 != 0 and c2 != 0:
        if round(n) % 2 == 0:
            CU = max(c1, c2)
            S = f32(2 * q / n)
        else:
            CU = f32(c1 + c2)
            S = f32(q / n)
    else:
        CU = f32(c1 + c2)
        S = f32(q / n)

    # Step 5: film.
    if p["filmFlag"] == 1:
        Fd, Ff, Fp = colour_factor(15), colour_factor(16), colour_factor(17)
        if p["filmMode"] == 1:
            u = Ff * gong[16][0]
        else:
            u = Fp * gong[17][0] + Ff * gong[16][0]
        c["FilmCost"] = f32(2 * (CU + spot) * (u / 4) / s)
        if p["filmMode"] not in (1, 2):
            c["FilmCost"] = f32(c["FilmCost"] + (16 / kai) * (gong[15][0] / 4) * (c1 + c2 + spot) * Fd)

    # Step 6: printing.
    if p["printFlag"] == 1:
        diff = p["printDifficulty"]
        P = f32(2 * q / n) if s == 1 else f32(q / n)
        if press == 4:
            S = max(S, jiben[8])
            P = max(P, jiben[8])
            c["PrintCost"] = f32(S / 1000 * gong[10][0] * CU * diff * colour_factor(10) + gong[14][0] * CU)
            c["PrintCost"] = f32(c["PrintCost"] + (P / 1000 * jiben[17] * gong[10][0] * spot * diff
                                                   + gong[14][0] * spot))
        else:
            if press == 3:
                short, middle, long_, plate, minimum = 8, 9, 7, 13, jiben[7]
            elif press == 2:
                short, middle, long_, plate, minimum = 5, 6, 4, 12, jiben[6]
            else:
                short, middle, long_, plate, minimum = 2, 3, 1, 11, jiben[5]
            if S <= 3000:
                c["PrintCost"] = f32(CU / 4 * gong[short][0] * diff * colour_factor(short))
            elif S <= 5000:
                c["PrintCost"] = f32(CU / 4 * gong[middle][0] * diff * colour_factor(middle))
            else:
                c["PrintCost"] = f32(S / 1000 * gong[long_][0] * CU * diff * colour_factor(long_)
                                     + gong[plate][0] * CU)
            P = max(P, minimum)
            c["PrintCost"] = f32(c["PrintCost"] + (P / 1000 * jiben[17] * gong[long_][0] * spot * diff
                                                   + gong[plate][0] * spot))

        # Step 7: paper.
        R = CU + spot
        if p["stickerPaper"] == 1:
            c["PaperCost"] = f32(((q / n) * (1 + R * jiben[2] / 1000) + R * jiben[1]) * (price * 2 / s))
        else:
            if press == 4:
                rate, head = jiben[4], jiben[3]
            else:
                rate, head = jiben[2], jiben[1]
            F = (q / kai) * (1 + R * rate / 1000) + R * head / s
            c["PaperCost"] = f32(F * p["gsm"] * p["halfSheetArea"] * price / 500000)

    # Step 8: imposition.
    if p["impositionFlag"] == 1:
        c["ImpositionCost"] = f32((CU + spot) * gong[18][0] * size_factor(18))

    # Step 9: surface.
    if p["surfaceFlag"] == 1:
        unit = {1: gong[19][0], 2: gong[20][0], 3: gong[21][0]}.get(p["surfaceType"], gong[22][0])
        v = (2 * p["halfSheetArea"] / kai) * q * unit
        if p["surfaceSides"] != 1:
            v = v * 2
        v = f32(v)
        c["SurfaceCost"] = jiben[10] if v < jiben[10] else v

    # Step 10: foil.
    if p["foilFlag"] == 1 and p["foilArea"] != 0:
        w = per_thousand(23)
        if p["foilPasses"] == 2:
            w = w * 2
        w = f32(w)
        if w < jiben[13]:
            w = jiben[13]
        c["FoilCost"] = f32(w + gong[24][0] * q * p["foilArea"] / 10000)

    # Steps 11, 12: embossing and mounting.
    if p["embossFlag"] == 1:
        v = f32(per_thousand(27))
        c["EmbossCost"] = jiben[12] if v < jiben[12] else v
    if p["mountFlag"] == 1:
        v = f32(per_thousand(29))
        c["MountCost"] = jiben[14] if v < jiben[14] else v

    # Step 13: die cutting, and the board inside it.
    if p["dieCutFlag"] == 1:
        v = f32(per_thousand(26) * p["dieCutDifficulty"])
        c["DieCutCost"] = jiben[11] if v < jiben[11] else v
        if p["dieBoardFlag"] == 1:
            c["DieBoardCost"] = f32(gong[25][0] * size_factor(25) * p["dieBoardDifficulty"])

    # Step 14: corrugated.
    if p["corrugatedFlag"] == 1:
        layers = p["corrugatedLayers"]
        lf = 1.0 if layers == 1 else (gong[30][1] if layers == 2 else gong[30][2])
        v = f32(2 * p["halfSheetArea"] * gong[30][0] * lf * q / kai)
        c["CorrugatedCost"] = jiben[15] if v < jiben[15] else v

    # Step 15: gluing.
    if p["glueFlag"] == 1:
        if kai < 4:
            gf = 1.0
        elif kai < 9:
            gf = gong[28][1]
        elif kai < 33:
            gf = gong[28][2]
        elif kai < 65:
            gf = gong[28][3]
        else:
            gf = gong[28][4]
        g = gong[28][0] * gf
        if kai == 2:
            bf = 1.0
        elif kai == 3:
            bf = gong[44][1]
        elif kai == 4:
            bf = gong[44][2]
        elif 4 < kai <= 8:
            bf = gong[44][3]
        else:
            bf = gong[44][4]
        b = gong[44][0] * bf
        mode = p["glueMode"]
        if mode == 1:
            v = g * q
        elif mode == 2:
            v = 2 * q * g
        else:
            v = b * q
        v = f32(v)
        c["GlueCost"] = jiben[16] if v < jiben[16] else v

    # Step 16: folding.
    if p["foldFlag"] == 1:
        ff = gong[43][1] if kai < 16 else (1.0 if kai == 16 else gong[43][2])
        c["FoldCost"] = f32(p["folds"] * q * gong[43][0] * ff)

    return c


def cost_binding(book, bind_flag, copies, kai, pages, form):
    """BindingCost, or None when nothing is written (bindFlag not 1)."""
    if bind_flag != 1:
        return None
    m = (pages / 4) // 1
    items = {1: (31, 32), 2: (33, 34), 3: (35, 36), 4: (37, 38), 5: (39, 40), 6: (41, 42)}
    if form not in items:
        return 0.0
    per_copy, per_sig = items[form]
    t = book.gong[per_copy]
    if kai < 16:
        factor = t[1]
    elif kai == 16:
        factor = 1.0
    elif kai <= 32:
        factor = t[2]
    elif kai <= 64:
        factor = t[3]
    else:
        factor = t[4]
    c = copies if copies >= book.jiben[9] else book.jiben[9]
    return f32((m * book.gong[per_sig][0] + book.gong[per_copy][0]) * c * factor)


# --- running the tool ----------------------------------------------------------


class ProgramFolder:
    """A temporary program folder laid out by `inkquot-cli install`, with the
    built-in scheme copied to the working files as a selection would."""

    def __init__(self, cli):
        self.cli = cli
        self.path = tempfile.mkdtemp(prefix="inkquot-cli-test-")
        installed = subprocess.run([cli, "install", self.path], capture_output=True)
        jgfa = os.path.join(self.path, "jgfa")
        for suffix, working in (("ji", JIBEN[0]), ("gong", GONGJIA[0]), ("zhi", ZHIJIA[0]),
                                ("zhibu", ZHIJIABU[0])):
            stored = os.path.join(jgfa, "系统默认" + suffix + ".dat")
            if not os.path.exists(stored):
                raise RuntimeError("inkquot-cli install did not write " + stored + ": " +
                                   installed.stderr.decode(errors="replace"))
            shutil.copyfile(stored, os.path.join(self.path, working))

    def run(self, command, payload):
        text = payload if isinstance(payload, str) else json.dumps(payload)
        return subprocess.run([self.cli, "--dir", self.path, command], input=text.encode(),
                              capture_output=True)

    def close(self):
        shutil.rmtree(self.path, ignore_errors=True)


# --- random parts --------------------------------------------------------------

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


def random_tables(rng):
    """Prices and factors in plausible ranges, every TAG different."""
    def r(lo, hi):
        return f32(round(rng.uniform(lo, hi), rng.choice((0, 1, 2, 3))))

    jiben = [r(0, 50), r(0, 20), r(0, 200), r(0, 20), r(500, 5000), r(300, 2000), r(100, 1000),
             r(1000, 8000), r(100, 2000), r(0, 200), r(0, 200), r(0, 200), r(0, 200), r(0, 200),
             r(0, 200), r(0, 50), r(1, 3), r(0, 30)]
    gong = [[r(0.01, 1000), r(0.1, 2), r(0.1, 2), r(0.05, 1), r(0.05, 1)] for _ in range(44)]
    zhi = [r(3000, 12000) for _ in range(50)]
    zhibu = [r(0.5, 5) for _ in range(10)]
    return jiben, gong, zhi, zhibu


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
    import random
    import sys

    cli = argv[1]
    rng = random.Random(20261208)
    folder = ProgramFolder(cli)
    failures = 0
    try:
        book = load_book(folder.path)
        # The built-in scheme, as the model reads its files.
        if book.zhi[1] != 9200 or book.gong[2][0] != 800:
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
    if failures:
        print(f"{failures} disagreements")
        return 1
    print("part costing agrees with the model")
    return 0


if __name__ == "__main__":
    import sys

    sys.exit(main(sys.argv))
