"""A second, independent model of the costing, against which the tests check
`inkquot-cli`: the price book as the four working files hold it, the cost of
one printed part and of binding, and the sum of a job's parts.

The rules are written from the cost rules as the print shop states them, in
Python doubles, with the 32-bit float storage of every named value (pieces
per sheet, colour runs, sheets, each cost item) modelled through `f32`. The
tool and the model must agree bit for bit.
"""

import math
import os
import struct

# --- 32-bit floats -------------------------------------------------------------


def f32(x):
    """The nearest 32-bit float (as a Python float), as the costing stores
    every named value; beyond the float range, an infinity of that sign."""
    try:
        return struct.unpack("<f", struct.pack("<f", x))[0]
    except OverflowError:
        return math.copysign(math.inf, x)


def whole(x):
    """A whole number, halves to even."""
    return float(round(x))


# --- names ---------------------------------------------------------------------

# The fields of a part, as `inkquot-cli part` reads them.
SPEC_FIELDS = [
    "quantity", "halfSheetArea", "kai", "sheetKai", "gsm", "paperIndex",
    "coloursFront", "coloursBack", "spotColours", "printFlag", "stickerPaper",
    "workAndTurn", "press", "filmFlag", "filmMode", "impositionFlag",
    "surfaceFlag", "surfaceSides", "surfaceType", "foilFlag", "foilPasses",
    "foilArea", "embossFlag", "mountFlag", "dieCutFlag", "dieBoardFlag",
    "corrugatedFlag", "corrugatedLayers", "glueFlag", "glueMode", "foldFlag",
    "folds", "printDifficulty", "dieCutDifficulty", "dieBoardDifficulty",
]

# The cost items of one part.
COST_ITEMS = [
    "FilmCost", "ImpositionCost", "PrintCost", "PaperCost", "SurfaceCost",
    "FoilCost", "EmbossCost", "MountCost", "DieBoardCost", "DieCutCost",
    "CorrugatedCost", "GlueCost", "FoldCost",
]

# The values of a job's CostResult, in their order; the total adds the items
# from FilmCost on in this order.
RESULT_NAMES = [
    "UnitPrice", "TotalPrice", "FilmCost", "ImpositionCost", "PrintCost",
    "PaperCost", "SurfaceCost", "FoilCost", "EmbossCost", "MountCost",
    "DieBoardCost", "DieCutCost", "CorrugatedCost", "GlueCost",
    "BindingCost", "FoldCost",
]


def new_spec(**values):
    """A part with the given fields, every other field 0."""
    spec = dict.fromkeys(SPEC_FIELDS, 0.0)
    for name, value in values.items():
        assert name in spec, name
        spec[name] = f32(value)
    return spec


# --- the price book --------------------------------------------------------------

# The working files: name, record slot, number of records. Each record
# starts with its number (Bianhao); the numbers the costing reads sit at
# these offsets.
JIBEN_FILE = ("fjiben.dat", 272, 18)
GONGJIA_FILE = ("fgongjia.dat", 508, 44)
ZHIJIA_FILE = ("fzhijia.dat", 136, 50)
ZHIJIABU_FILE = ("fzhijiabu.dat", 136, 10)
SHUJU = 24
DANJIA, TAG1, TAG2, TAG3, TAG4 = 34, 50, 54, 58, 62
JIAGE = 24


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

    def __eq__(self, other):
        return vars(self) == vars(other)


def read_float(data, slot, record, offset):
    """A number of a record; records beyond the end of the file read as 0."""
    pos = (record - 1) * slot + offset
    chunk = data[pos:pos + 4]
    if len(chunk) < 4:
        return 0.0
    return struct.unpack("<f", chunk)[0]


def load_book(folder):
    """The price book of a program folder's working files."""
    def numbers(table, offsets):
        name, slot, count = table
        with open(os.path.join(folder, name), "rb") as f:
            data = f.read()
        return [[read_float(data, slot, n, off) for off in offsets] for n in range(1, count + 1)]

    return Book([v for v, in numbers(JIBEN_FILE, [SHUJU])],
                numbers(GONGJIA_FILE, [DANJIA, TAG1, TAG2, TAG3, TAG4]),
                [v for v, in numbers(ZHIJIA_FILE, [JIAGE])],
                [v for v, in numbers(ZHIJIABU_FILE, [JIAGE])])


def write_tables(folder, jiben, gong, zhi, zhibu):
    """Writes the four working files with the numbers only (texts left as
    zero bytes), each record in its slot, Bianhao = record number."""

    def table(file, records, fields):
        name, slot, _ = file
        out = bytearray()
        for n, values in enumerate(records, start=1):
            rec = bytearray(slot)
            rec[0:4] = struct.pack("<i", n)
            for off, v in zip(fields, values):
                rec[off:off + 4] = struct.pack("<f", v)
            out += rec
        with open(os.path.join(folder, name), "wb") as f:
            f.write(out)

    table(JIBEN_FILE, [[v] for v in jiben], [SHUJU])
    table(GONGJIA_FILE, gong, [DANJIA, TAG1, TAG2, TAG3, TAG4])
    table(ZHIJIA_FILE, [[v] for v in zhi], [JIAGE])
    table(ZHIJIABU_FILE, [[v] for v in zhibu], [JIAGE])


def random_tables(rng):
    """Prices and factors in plausible ranges, every TAG different, for
    write_tables."""
    def r(lo, hi):
        return f32(round(rng.uniform(lo, hi), rng.choice((0, 1, 2, 3))))

    jiben = [r(0, 50), r(0, 20), r(0, 200), r(0, 20), r(500, 5000), r(300, 2000), r(100, 1000),
             r(1000, 8000), r(100, 2000), r(0, 200), r(0, 200), r(0, 200), r(0, 200), r(0, 200),
             r(0, 200), r(0, 50), r(1, 3), r(0, 30)]
    gong = [[r(0.01, 1000), r(0.1, 2), r(0.1, 2), r(0.05, 1), r(0.05, 1)] for _ in range(44)]
    zhi = [r(3000, 12000) for _ in range(50)]
    zhibu = [r(0.5, 5) for _ in range(10)]
    return jiben, gong, zhi, zhibu


# The built-in price scheme: Shuju of the 18 basic numbers; (Danjia, Tag1,
# Tag2, Tag3, Tag4) of the 44 process items; the stored paper prices.
BUILTIN_JIBEN = [20, 8, 100, 8, 3000, 1000, 500, 5000, 1000, 100, 100, 100, 100,
                 100, 100, 20, 1.5, 15]
BUILTIN_GONG = [
    (40, .8, .8, 0, 0), (800, .8, .8, 0, 0), (1000, .8, .8, 0, 0),
    (24, .8, .8, 0, 0), (480, .8, .8, 0, 0), (600, .8, .8, 0, 0),
    (12, .8, .8, 0, 0), (240, .8, .8, 0, 0), (300, .8, .8, 0, 0),
    (27.5, .8, .8, 0, 0), (100, 0, 0, 0, 0), (60, 0, 0, 0, 0),
    (30, 0, 0, 0, 0), (100, 0, 0, 0, 0), (100, .8, .8, 0, 0),
    (320, .8, .8, 0, 0), (80, .8, .8, 0, 0), (20, .6, .3, 0, 0),
    (1.05, 0, 0, 0, 0), (1.25, 0, 0, 0, 0), (.55, 0, 0, 0, 0),
    (1.05, 0, 0, 0, 0), (450, .6, .3, 0, 0), (20, 0, 0, 0, 0),
    (400, .6, .3, 0, 0), (240, .6, .3, 0, 0), (240, .6, .3, 0, 0),
    (.15, .5, .2, .12, .08), (120, .6, .3, 0, 0), (2, 1.5, 2, 0, 0),
    (.1, 1.5, .8, .6, .4), (.02, 0, 0, 0, 0), (1, 1.5, .8, .6, .4),
    (.03, 0, 0, 0, 0), (3, 1.5, .8, .6, .4), (.03, 0, 0, 0, 0),
    (1, 1.5, .8, .6, .4), (.02, 0, 0, 0, 0), (1, 1.5, .8, .6, .4),
    (.02, 0, 0, 0, 0), (1, 1.5, .8, .6, .4), (.02, 0, 0, 0, 0),
    (.01, 1.5, .8, 0, 0), (.5, .9, .8, .7, .6)]
BUILTIN_ZHI = [8000, 9200, 7800, 5800, 5000, 5500, 8000, 7000, 5600] + [8000] * 41
BUILTIN_ZHIBU = [1.2] + [2] * 9


def builtin_book():
    """The built-in scheme as the price book holds it."""
    return Book([f32(v) for v in BUILTIN_JIBEN],
                [[f32(v) for v in item] for item in BUILTIN_GONG],
                [f32(v) for v in BUILTIN_ZHI], [f32(v) for v in BUILTIN_ZHIBU])


# --- the cost of one part --------------------------------------------------------


def at_least(value, minimum):
    return minimum if value < minimum else value


def cost_part(book, p):
    """The thirteen items of one part, or None when the inputs are ones the
    system refuses (zero quantity or press-sheet Kai, bad paper index)."""
    c = dict.fromkeys(COST_ITEMS, 0.0)
    q, kai, s = p["quantity"], p["kai"], p["sheetKai"]
    c1, c2, spot = p["coloursFront"], p["coloursBack"], p["spotColours"]
    press = p["press"]
    jiben = book.jiben

    def on(name):
        return p[name] == 1

    def danjia(k):
        return book.gong[k][0]

    def tag(k, i):
        return book.gong[k][i]

    if q == 0 or s <= 0:
        return None
    # The paper price, checked only where paper is printed.
    price = 0.0
    if on("printFlag"):
        idx = int(whole(p["paperIndex"]))
        if not 1 <= idx <= (10 if on("stickerPaper") else 50):
            return None
        price = book.zhibu[idx] if on("stickerPaper") else book.zhi[idx]

    # A piece that the press or the press sheet cannot take costs nothing.
    if kai == 0 or (press == 3 and kai < 8) or (press == 2 and kai < 4) or kai < s:
        return c

    def colour_factor(k):
        if c1 >= 3 or c2 >= 3:
            return 1.0
        if (c1 <= 2 and c2 == 2) or (c1 == 2 and c2 <= 2):
            return tag(k, 1)
        return tag(k, 2)

    def size_factor(k):
        if s >= 8:
            return tag(k, 2)
        if s < 4:
            return 1.0
        return tag(k, 1)

    # Pieces per sheet, colour runs and sheets, all stored as floats.
    n = f32(kai / s)
    if press == 4:
        cu, sheets = f32(c1 + c2), f32(q / n)
    elif s == 1:
        cu, sheets = f32(c1 + c2), f32(2 * q / n)
    elif on("workAndTurn") and c1 != 0 and c2 != 0:
        if whole(n) % 2 == 0:
            cu, sheets = max(c1, c2), f32(2 * q / n)
        else:
            cu, sheets = f32(c1 + c2), f32(q / n)
    else:
        cu, sheets = f32(c1 + c2), f32(q / n)

    def per_thousand(k):
        rate = danjia(k) / 1000
        if s == 1:
            rate = rate * 2
        return rate * (q / n) * size_factor(k)

    if on("filmFlag"):
        fd, ff, fp = colour_factor(15), colour_factor(16), colour_factor(17)
        if p["filmMode"] == 1:
            unit = ff * danjia(16)
        else:
            unit = fp * danjia(17) + ff * danjia(16)
        film = f32(2 * (cu + spot) * (unit / 4) / s)
        if p["filmMode"] not in (1, 2):
            film = f32(film + (16 / kai) * (danjia(15) / 4) * (c1 + c2 + spot) * fd)
        c["FilmCost"] = film

    if on("printFlag"):
        diff = p["printDifficulty"]
        paper_sheets = f32(2 * q / n) if s == 1 else f32(q / n)
        if press == 4:
            sheets = max(sheets, jiben[8])
            paper_sheets = max(paper_sheets, jiben[8])
            cost = f32(sheets / 1000 * danjia(10) * cu * diff * colour_factor(10)
                       + danjia(14) * cu)
            cost = f32(cost + paper_sheets / 1000 * jiben[17] * danjia(10) * spot * diff
                       + danjia(14) * spot)
        else:
            # Items of the short, middle and long runs and the plate, and
            # the basic number that holds the press's minimum sheets.
            short, middle, long_, plate, minimum = {
                3: (8, 9, 7, 13, 7), 2: (5, 6, 4, 12, 6)}.get(press, (2, 3, 1, 11, 5))
            if sheets <= 3000:
                cost = f32(cu / 4 * danjia(short) * diff * colour_factor(short))
            elif sheets <= 5000:
                cost = f32(cu / 4 * danjia(middle) * diff * colour_factor(middle))
            else:
                cost = f32(sheets / 1000 * danjia(long_) * cu * diff * colour_factor(long_)
                           + danjia(plate) * cu)
            # Spot colours at the spot colour factor, over at least the
            # press's minimum run; each term is added in turn to the stored
            # item, as in the rotary branch above.
            paper_sheets = max(paper_sheets, jiben[minimum])
            cost = f32(cost + paper_sheets / 1000 * jiben[17] * danjia(long_) * spot * diff
                       + danjia(plate) * spot)
        c["PrintCost"] = cost

        runs = cu + spot
        if on("stickerPaper"):
            c["PaperCost"] = f32(((q / n) * (1 + runs * jiben[2] / 1000) + runs * jiben[1])
                                 * (price * 2 / s))
        else:
            rate, head = (jiben[4], jiben[3]) if press == 4 else (jiben[2], jiben[1])
            full = (q / kai) * (1 + runs * rate / 1000) + runs * head / s
            c["PaperCost"] = f32(full * p["gsm"] * p["halfSheetArea"] * price / 500000)

    if on("impositionFlag"):
        c["ImpositionCost"] = f32((cu + spot) * danjia(18) * size_factor(18))

    if on("surfaceFlag"):
        k = {1: 19, 2: 20, 3: 21}.get(p["surfaceType"], 22)
        cost = (2 * p["halfSheetArea"] / kai) * q * danjia(k)
        if p["surfaceSides"] != 1:
            cost = cost * 2
        c["SurfaceCost"] = at_least(f32(cost), jiben[10])

    if on("foilFlag") and p["foilArea"] != 0:
        work = per_thousand(23)
        if p["foilPasses"] == 2:
            work = work * 2
        work = at_least(f32(work), jiben[13])
        c["FoilCost"] = f32(work + danjia(24) * q * p["foilArea"] / 10000)

    if on("embossFlag"):
        c["EmbossCost"] = at_least(f32(per_thousand(27)), jiben[12])
    if on("mountFlag"):
        c["MountCost"] = at_least(f32(per_thousand(29)), jiben[14])

    # Die cutting, and the board inside it.
    if on("dieCutFlag"):
        c["DieCutCost"] = at_least(f32(per_thousand(26) * p["dieCutDifficulty"]), jiben[11])
        if on("dieBoardFlag"):
            c["DieBoardCost"] = f32(danjia(25) * size_factor(25) * p["dieBoardDifficulty"])

    if on("corrugatedFlag"):
        layers = {1: 1.0, 2: tag(30, 1)}.get(p["corrugatedLayers"], tag(30, 2))
        c["CorrugatedCost"] = at_least(
            f32(2 * p["halfSheetArea"] * danjia(30) * layers * q / kai), jiben[15])

    if on("glueFlag"):
        if kai < 4:
            g = 1.0
        elif kai < 9:
            g = tag(28, 1)
        elif kai < 33:
            g = tag(28, 2)
        elif kai < 65:
            g = tag(28, 3)
        else:
            g = tag(28, 4)
        if kai == 2:
            b = 1.0
        elif kai == 3:
            b = tag(44, 1)
        elif kai == 4:
            b = tag(44, 2)
        elif 4 < kai <= 8:
            b = tag(44, 3)
        else:
            b = tag(44, 4)
        g = danjia(28) * g
        b = danjia(44) * b
        mode = p["glueMode"]
        cost = g * q if mode == 1 else 2 * q * g if mode == 2 else b * q
        c["GlueCost"] = at_least(f32(cost), jiben[16])

    if on("foldFlag"):
        factor = tag(43, 1) if kai < 16 else 1.0 if kai == 16 else tag(43, 2)
        c["FoldCost"] = f32(p["folds"] * q * danjia(43) * factor)
    return c


def cost_binding(book, bind_flag, copies, kai, pages, form):
    """BindingCost, or None when nothing is charged (bindFlag not 1)."""
    if bind_flag != 1:
        return None
    signatures = (pages / 4) // 1
    # (per copy, per signature and copy) items of each binding form
    items = {1: (31, 32), 2: (33, 34), 3: (35, 36), 4: (37, 38), 5: (39, 40), 6: (41, 42)}
    if form not in items:
        return 0.0
    per_copy, per_signature = items[form]
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
    charged = at_least(copies, book.jiben[9])
    return f32((signatures * book.gong[per_signature][0] + book.gong[per_copy][0])
               * charged * factor)


# --- a job -------------------------------------------------------------------------


class Job:
    """The result of a job being costed part by part over one price book."""

    def __init__(self, book):
        self.book = book
        self.result = dict.fromkeys(RESULT_NAMES, 0.0)

    def add(self, spec):
        cost = cost_part(self.book, spec)
        if cost is None:
            raise ValueError("a part the costing refuses: %r" % spec)
        for item in COST_ITEMS:
            self.result[item] = f32(self.result[item] + cost[item])

    def bind(self, bind_flag, copies, kai, pages, form):
        cost = cost_binding(self.book, bind_flag, copies, kai, pages, form)
        if cost is not None:
            self.result["BindingCost"] = cost

    def finish(self, quantity):
        total = 0.0
        for item in RESULT_NAMES[2:]:
            total = f32(total + self.result[item])
        self.result["TotalPrice"] = total
        self.result["UnitPrice"] = f32(total / quantity)
        return self.result
