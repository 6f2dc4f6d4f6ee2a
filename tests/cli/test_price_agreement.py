"""`inkquot-cli price` against an independent calculation of whole jobs.

Thousands of random jobs of every kind (fixed seed) are priced by the tool
and by the rules below, written afresh in Python with 32-bit floats, and the
sixteen values of each result are compared. A few jobs that cannot be priced
must be refused with exit code 2 and a message on standard error.

usage: test_price_agreement.py PATH_TO_INKQUOT_CLI
"""

import json
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile

JOBS_PER_KIND = 1000
BATCH = 500
SEED = 20261208


def f32(x):
    """The nearest 32-bit float, as the costing stores every named value."""
    if math.isinf(x) or math.isnan(x):
        return x
    try:
        return struct.unpack("<f", struct.pack("<f", x))[0]
    except OverflowError:
        return math.copysign(math.inf, x)


def whole(x):
    """A whole number, halves to even."""
    return float(round(x))


# ---------------------------------------------------------------------------
# The built-in price scheme as the price book holds it.

JIBEN = [None, 20, 8, 100, 8, 3000, 1000, 500, 5000, 1000, 100, 100, 100, 100,
         100, 100, 20, 1.5, 15]
JIBEN = [None] + [f32(v) for v in JIBEN[1:]]

# (Danjia, Tag1, Tag2, Tag3, Tag4) of process items 1..44.
GONG = [None,
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
GONG = [None] + [tuple(f32(v) for v in item) for item in GONG[1:]]


def with_fee(price):
    return f32((JIBEN[18] / 100 + 1) * f32(price))


ZHI = [None] + [with_fee(p) for p in
                [8000, 9200, 7800, 5800, 5000, 5500, 8000, 7000, 5600] + [8000] * 41]
ZHIBU = [None] + [with_fee(p) for p in [1.2] + [2] * 9]


def danjia(k):
    return GONG[k][0]


def tag(k, i):
    return GONG[k][i]


# ---------------------------------------------------------------------------
# The cost of one printed part.

SPEC_FIELDS = [
    "quantity", "halfSheetArea", "kai", "sheetKai", "gsm", "paperIndex",
    "coloursFront", "coloursBack", "spotColours", "printFlag", "stickerPaper",
    "workAndTurn", "press", "filmFlag", "filmMode", "impositionFlag",
    "surfaceFlag", "surfaceSides", "surfaceType", "foilFlag", "foilPasses",
    "foilArea", "embossFlag", "mountFlag", "dieCutFlag", "dieBoardFlag",
    "corrugatedFlag", "corrugatedLayers", "glueFlag", "glueMode", "foldFlag",
    "folds", "printDifficulty", "dieCutDifficulty", "dieBoardDifficulty"]

ITEMS = ["FilmCost", "ImpositionCost", "PrintCost", "PaperCost", "SurfaceCost",
         "FoilCost", "EmbossCost", "MountCost", "DieBoardCost", "DieCutCost",
         "CorrugatedCost", "GlueCost", "FoldCost"]

RESULT = ["UnitPrice", "TotalPrice", "FilmCost", "ImpositionCost", "PrintCost",
          "PaperCost", "SurfaceCost", "FoilCost", "EmbossCost", "MountCost",
          "DieBoardCost", "DieCutCost", "CorrugatedCost", "GlueCost",
          "BindingCost", "FoldCost"]


def new_spec(**values):
    spec = dict.fromkeys(SPEC_FIELDS, 0.0)
    for name, value in values.items():
        assert name in spec, name
        spec[name] = f32(value)
    return spec


def colour_factor(k, c1, c2):
    if c1 >= 3 or c2 >= 3:
        return 1.0
    if (c1 <= 2 and c2 == 2) or (c1 == 2 and c2 <= 2):
        return tag(k, 1)
    return tag(k, 2)


def size_factor(k, s):
    if s >= 8:
        return tag(k, 2)
    if s < 4:
        return 1.0
    return tag(k, 1)


def at_least(value, minimum):
    return minimum if value < minimum else value


def cost_part(p):
    c = dict.fromkeys(ITEMS, 0.0)
    q, kai, s = p["quantity"], p["kai"], p["sheetKai"]
    c1, c2, spot = p["coloursFront"], p["coloursBack"], p["spotColours"]
    on = lambda name: p[name] == 1
    idx = int(whole(p["paperIndex"]))
    price = ZHIBU[idx] if on("stickerPaper") else ZHI[idx]
    press = p["press"]
    if kai == 0 or (press == 3 and kai < 8) or (press == 2 and kai < 4) or kai < s:
        return c
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
        rate = danjia(k) / 1000 * (2 if s == 1 else 1)
        return rate * (q / n) * size_factor(k, s)

    if on("filmFlag"):
        fd, ff, fp = (colour_factor(k, c1, c2) for k in (15, 16, 17))
        if p["filmMode"] == 1:
            unit = ff * danjia(16)
        else:
            unit = fp * danjia(17) + ff * danjia(16)
        film = f32(2 * (cu + spot) * (unit / 4) / s)
        if p["filmMode"] not in (1, 2):
            film = f32(film + (16 / kai) * (danjia(15) / 4) * (c1 + c2 + spot) * fd)
        c["FilmCost"] = film

    if on("printFlag"):
        paper_sheets = f32(2 * q / n) if s == 1 else f32(q / n)
        diff = p["printDifficulty"]
        if press == 4:
            sheets = max(sheets, JIBEN[8])
            paper_sheets = max(paper_sheets, JIBEN[8])
            cost = f32(sheets / 1000 * danjia(10) * cu * diff * colour_factor(10, c1, c2)
                       + danjia(14) * cu)
            cost = f32(cost + paper_sheets / 1000 * JIBEN[17] * danjia(10) * spot * diff
                       + danjia(14) * spot)
        else:
            short, middle, long_, plate, minimum = {
                3: (8, 9, 7, 13, 7), 2: (5, 6, 4, 12, 6)}.get(press, (2, 3, 1, 11, 5))
            if sheets <= 3000:
                cost = f32(cu / 4 * danjia(short) * diff * colour_factor(short, c1, c2))
            elif sheets <= 5000:
                cost = f32(cu / 4 * danjia(middle) * diff * colour_factor(middle, c1, c2))
            else:
                cost = f32(sheets / 1000 * danjia(long_) * cu * diff
                           * colour_factor(long_, c1, c2) + danjia(plate) * cu)
            paper_sheets = max(paper_sheets, JIBEN[minimum])
            cost = f32(cost + paper_sheets / 1000 * JIBEN[17] * danjia(long_) * spot * diff
                       + danjia(plate) * spot)
        c["PrintCost"] = cost

        runs = cu + spot
        if on("stickerPaper"):
            c["PaperCost"] = f32(((q / n) * (1 + runs * JIBEN[2] / 1000) + runs * JIBEN[1])
                                 * (price * 2 / s))
        else:
            rate, head = (JIBEN[4], JIBEN[3]) if press == 4 else (JIBEN[2], JIBEN[1])
            full = (q / kai) * (1 + runs * rate / 1000) + runs * head / s
            c["PaperCost"] = f32(full * p["gsm"] * p["halfSheetArea"] * price / 500000)

    if on("impositionFlag"):
        c["ImpositionCost"] = f32((cu + spot) * danjia(18) * size_factor(18, s))

    if on("surfaceFlag"):
        k = {1: 19, 2: 20, 3: 21}.get(p["surfaceType"], 22)
        cost = (2 * p["halfSheetArea"] / kai) * q * danjia(k)
        if p["surfaceSides"] != 1:
            cost *= 2
        c["SurfaceCost"] = at_least(f32(cost), JIBEN[10])

    if on("foilFlag") and p["foilArea"] != 0:
        work = per_thousand(23)
        if p["foilPasses"] == 2:
            work *= 2
        work = at_least(f32(work), JIBEN[13])
        c["FoilCost"] = f32(work + danjia(24) * q * p["foilArea"] / 10000)

    if on("embossFlag"):
        c["EmbossCost"] = at_least(f32(per_thousand(27)), JIBEN[12])
    if on("mountFlag"):
        c["MountCost"] = at_least(f32(per_thousand(29)), JIBEN[14])

    if on("dieCutFlag"):
        c["DieCutCost"] = at_least(f32(per_thousand(26) * p["dieCutDifficulty"]), JIBEN[11])
        if on("dieBoardFlag"):
            c["DieBoardCost"] = f32(danjia(25) * size_factor(25, s) * p["dieBoardDifficulty"])

    if on("corrugatedFlag"):
        layers = {1: 1.0, 2: tag(30, 1)}.get(p["corrugatedLayers"], tag(30, 2))
        c["CorrugatedCost"] = at_least(
            f32(2 * p["halfSheetArea"] * danjia(30) * layers * q / kai), JIBEN[15])

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
        g *= danjia(28)
        b *= danjia(44)
        mode = p["glueMode"]
        cost = g * q if mode == 1 else 2 * q * g if mode == 2 else b * q
        c["GlueCost"] = at_least(f32(cost), JIBEN[16])

    if on("foldFlag"):
        factor = tag(43, 1) if kai < 16 else 1.0 if kai == 16 else tag(43, 2)
        c["FoldCost"] = f32(p["folds"] * q * danjia(43) * factor)
    return c


def cost_binding(copies, kai, pages, form):
    m = math.floor(pages / 4)
    items = {1: (31, 32), 2: (33, 34), 3: (35, 36), 4: (37, 38), 5: (39, 40), 6: (41, 42)}
    if form not in items:
        return 0.0
    per_copy, per_signature = items[form]
    if kai < 16:
        factor = tag(per_copy, 1)
    elif kai == 16:
        factor = 1.0
    elif kai <= 32:
        factor = tag(per_copy, 2)
    elif kai <= 64:
        factor = tag(per_copy, 3)
    else:
        factor = tag(per_copy, 4)
    charged = max(copies, JIBEN[9])
    return f32((m * danjia(per_signature) + danjia(per_copy)) * charged * factor)


class Job:
    """The result of a job being costed part by part."""

    def __init__(self):
        self.result = dict.fromkeys(RESULT, 0.0)

    def add(self, spec):
        cost = cost_part(spec)
        for item in ITEMS:
            self.result[item] = f32(self.result[item] + cost[item])

    def finish(self, quantity):
        total = 0.0
        for item in ["FilmCost", "ImpositionCost", "PrintCost", "PaperCost", "SurfaceCost",
                     "FoilCost", "EmbossCost", "MountCost", "DieBoardCost", "DieCutCost",
                     "CorrugatedCost", "GlueCost", "BindingCost", "FoldCost"]:
            total = f32(total + self.result[item])
        self.result["TotalPrice"] = total
        self.result["UnitPrice"] = f32(total / quantity)
        return self.result


# ---------------------------------------------------------------------------
# The job as the costing reads it from the job description.

class Form:
    def __init__(self, job):
        self.c = job["controls"]

    def get(self, name, index=None):
        value = self.c[name]
        return value if index is None else value[str(index)]

    def has(self, name, index):
        return name in self.c and str(index) in self.c[name]

    def num(self, name, index=None):
        return f32(float(self.get(name, index).replace(",", "")))

    def pos(self, name, index=None):
        return float(self.get(name, index) + 1)

    def chk(self, name, index):
        return float(self.c.get(name, {}).get(str(index), 0) == 1)

    def tick(self, name, item):
        return self.c.get(name, {}).get(str(item), 0) == 1

    def work_and_turn(self, part):
        # Omitted boxes follow the press rules: ticked on flat presses for
        # the parts that offer it, cleared on the rotary press, and never
        # ticked for the box and sticker parts.
        if self.has("Chkzifan", part):
            return self.chk("Chkzifan", part)
        if part in (8, 9, 10):
            return 0.0
        return 0.0 if self.get("Comyinji", part) == 3 else 1.0


def area_of(index):
    return f32((1 - index) / 10 + 0.43)


DIFFICULTY = [0, 1, 2, 3, 4, 7, 8, 9, 12, 13, 16]


def printing(form, part, **values):
    return new_spec(
        gsm=form.num("Ncomke", part), paperIndex=form.pos("Ncomzhi", part),
        coloursFront=form.num("Ncomyinse", 2 * part),
        coloursBack=form.num("Ncomyinse", 2 * part + 1),
        spotColours=form.num("Ncomzhuanse", part),
        printDifficulty=form.num("Comnd", DIFFICULTY[part]), **values)


def with_press(form, part, **values):
    return printing(form, part, sheetKai=form.num("Cmbkaizhi", part),
                    press=form.pos("Comyinji", part),
                    workAndTurn=form.work_and_turn(part), **values)


def inner_layout(pages, s, K):
    u = f32(K / 2 / s)
    W = math.floor((pages / 4) / u)
    U = whole(u)
    r = whole(pages / 4) % U
    kai_a = kai_b = 0.0

    def search(first):
        for i in range(int(whole(u)) + 1):
            if whole(K / 2) % (first + i) == 0:
                return f32((K / 2) / (first + i))
        return 0.0

    if r == 0:
        pass
    elif u == 2:
        kai_a = 2 * s
    elif u == 3:
        kai_a = 3 * s if r == 1 else s
    elif u == 4:
        if r == 1:
            kai_a = 4 * s
        elif r == 2:
            kai_a = 2 * s
        else:
            kai_a, kai_b = 2 * s, 4 * s
    elif u / 2 >= r:
        kai_a = search(r)
    else:
        kai_a = 2 * s
        kai_b = search(r - math.floor(u / 2))
    return W, kai_a, kai_b


def book(form):
    quantity = form.num("txtshuliang", 0)
    inner_kai, inner_area = form.num("Ncomkai", 0), area_of(form.get("Ncomdu", 0))
    cover_kai, cover_area = form.num("Ncomkai", 1), area_of(form.get("Ncomdu", 1))
    pages = form.num("txtye", 0)
    job = Job()
    film, mode = form.chk("Chkhua", 0), form.pos("Cmbfeilin", 0)
    imposition = form.chk("Chkhua", 1)
    finishing = dict(
        surfaceFlag=form.chk("Chkhua", 2), surfaceSides=form.pos("comjiao", 0),
        surfaceType=form.pos("comjiao", 1), foilFlag=form.chk("Chkhua", 3), foilPasses=1,
        foilArea=form.num("txttang", 0), dieCutFlag=form.chk("Chkhua", 4),
        dieBoardFlag=form.chk("Chkban", 0), dieCutDifficulty=form.num("Comnd", 5),
        dieBoardDifficulty=form.num("Comnd", 6))
    total_pages = 0.0
    if form.tick("Lsthua", 0):
        total_pages = 4.0
        job.add(with_press(form, 0, quantity=quantity, halfSheetArea=cover_area,
                           kai=cover_kai, printFlag=1, filmFlag=film, filmMode=mode,
                           impositionFlag=imposition, **finishing))
    elif form.tick("Lsthua", 1) and pages != 0:
        job.add(with_press(form, 1, quantity=quantity, halfSheetArea=inner_area,
                           kai=inner_kai / 2, printFlag=0, **finishing))
    for part, block_pages in ((1, pages), (2, None)):
        if not form.tick("Lsthua", part):
            continue
        if block_pages is None:
            block_pages = form.num("txtye", 1)
        total_pages = f32(total_pages + block_pages)
        s = form.num("Cmbkaizhi", part)
        W, kai_a, kai_b = inner_layout(block_pages, s, inner_kai)
        for kai in [s] * W + [kai_a, kai_b]:
            job.add(with_press(form, part, quantity=quantity, halfSheetArea=inner_area,
                               kai=kai, printFlag=1, filmFlag=film, filmMode=mode,
                               impositionFlag=imposition, dieCutDifficulty=1,
                               dieBoardDifficulty=1))
    for part, group in ((3, 2), (4, 3)):
        if form.tick("Lsthua", part):
            job.add(with_press(form, part, quantity=quantity,
                               halfSheetArea=area_of(form.get("Ncomdu", group)),
                               kai=form.num("Ncomkai", group), printFlag=1, filmFlag=film,
                               filmMode=mode, impositionFlag=imposition,
                               dieCutDifficulty=1, dieBoardDifficulty=1))
    if form.chk("Chkhua", 5) == 1 and total_pages != 0:
        job.result["BindingCost"] = cost_binding(quantity, inner_kai, total_pages,
                                                 form.pos("Cmbdin"))
    return job.finish(quantity)


def newspaper(form):
    quantity = form.num("txtshuliang", 1)
    kai, area = form.num("Ncomkai", 4), area_of(form.get("Ncomdu", 4))
    sheets = f32(quantity * 2 / kai)
    job = Job()
    for item, part, pages_box in ((0, 5, 2), (1, 6, 3)):
        units = f32(form.num("txtye", pages_box) / 4)
        if not form.tick("Lstbao", item) or units == 0:
            continue
        for _ in range(int(whole(units))):
            job.add(printing(form, part, quantity=sheets, halfSheetArea=area, kai=2,
                             sheetKai=2, printFlag=1, press=4,
                             filmFlag=form.chk("Chkbao", 0), filmMode=form.pos("Cmbfeilin", 1),
                             impositionFlag=form.chk("Chkbao", 1), dieCutDifficulty=1,
                             dieBoardDifficulty=1))
    return job.finish(quantity)


def single_sheet(form):
    quantity = form.num("txtshuliang", 2)
    job = Job()
    if form.chk("Chkdan", 0) == 1:
        job.add(with_press(
            form, 7, quantity=quantity, halfSheetArea=area_of(form.get("Ncomdu", 5)),
            kai=form.num("Ncomkai", 5), printFlag=1, filmFlag=form.chk("Chkdan", 1),
            filmMode=form.pos("Cmbfeilin", 2), impositionFlag=form.chk("Chkdan", 2),
            surfaceFlag=form.chk("Chkdan", 3), surfaceSides=form.pos("comjiao", 2),
            surfaceType=form.pos("comjiao", 3), dieCutFlag=form.chk("Chkdan", 4),
            dieBoardFlag=form.chk("Chkban", 1), foldFlag=form.chk("Chkdan", 5),
            folds=form.num("Cmbzheci"), dieCutDifficulty=form.num("Comnd", 10),
            dieBoardDifficulty=form.num("Comnd", 11)))
    return job.finish(quantity)


def option_code(chosen):
    return 1 if chosen == 0 else 2 if chosen == 1 else 3


def box_bag(form):
    quantity = form.num("txtshuliang", 3)
    kai, area = form.num("Ncomkai", 6), area_of(form.get("Ncomdu", 6))
    shared = dict(quantity=quantity, halfSheetArea=area, kai=kai, printFlag=1,
                  filmFlag=form.chk("Chkhe", 0), filmMode=form.pos("Cmbfeilin", 3),
                  impositionFlag=form.chk("Chkhe", 1))
    job = Job()
    if form.tick("lsthe", 0):
        job.add(with_press(
            form, 8, surfaceFlag=form.chk("Chkhe", 2), surfaceSides=form.pos("comjiao", 4),
            surfaceType=form.pos("comjiao", 5), foilFlag=form.chk("Chkhe", 4), foilPasses=1,
            foilArea=form.num("txttang", 1), embossFlag=form.chk("Chkhe", 3),
            dieCutFlag=form.chk("Chkhe", 5), dieBoardFlag=form.chk("Chkban", 2),
            corrugatedFlag=form.chk("Chkhe", 6), corrugatedLayers=option_code(form.get("optwa")),
            glueFlag=form.chk("Chkhe", 7), glueMode=option_code(form.get("optnian")),
            dieCutDifficulty=form.num("Comnd", 14), dieBoardDifficulty=form.num("Comnd", 15),
            **shared))
    if form.tick("lsthe", 1):
        job.add(with_press(form, 9, mountFlag=1, dieCutDifficulty=1, dieBoardDifficulty=1,
                           **shared))
    return job.finish(quantity)


def sticker(form):
    quantity = form.num("txtshuliang", 4)
    job = Job()
    if form.chk("Chkbu", 0) == 1:
        job.add(new_spec(
            quantity=quantity, halfSheetArea=area_of(form.get("Ncomdu", 7)),
            kai=form.num("Ncomkai", 7), sheetKai=form.num("Cmbkaizhi", 10), gsm=0,
            paperIndex=form.pos("Nzhibu"), coloursFront=form.num("Ncomyinse", 20),
            spotColours=form.num("Ncomzhuanse", 10), printFlag=1, stickerPaper=1,
            press=form.pos("Comyinji", 10), filmFlag=form.chk("Chkbu", 1),
            filmMode=form.pos("Cmbfeilin", 4), impositionFlag=form.chk("Chkbu", 2),
            surfaceFlag=form.chk("Chkbu", 3), surfaceSides=1, surfaceType=form.pos("comjiao", 6),
            dieCutFlag=form.chk("Chkbu", 4), dieBoardFlag=form.chk("Chkban", 3),
            printDifficulty=form.num("Comnd", 16), dieCutDifficulty=form.num("Comnd", 17),
            dieBoardDifficulty=form.num("Comnd", 18)))
    return job.finish(quantity)


PROCEDURES = [book, newspaper, single_sheet, box_bag, sticker]

# ---------------------------------------------------------------------------
# Random valid jobs.

DIFFICULTIES = ["1", "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7", "1.8", "1.9", "2", "3",
                "4", "5", "0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1"]
WEIGHTS = {
    0: ["250", "157", "128", "105", "90", "80", "70", "200", "230", "300", "350", "400"],
    1: ["157", "128", "105", "90", "80", "70", "60", "50", "200", "230", "250", "300", "350"],
    2: ["128", "105", "90", "80", "70", "60", "50", "157", "200", "230", "250", "300", "350"],
    4: ["200", "157", "128", "105", "90", "80", "70", "230", "250", "300", "350", "400"],
    5: ["50", "40", "30", "60", "70", "80", "90", "100", "105", "110", "120", "128", "157", "200"],
    8: ["250", "157", "128", "105", "90", "80", "70", "60", "50", "200", "230", "250", "300",
        "350"],
}
WEIGHTS[3], WEIGHTS[7], WEIGHTS[6], WEIGHTS[9] = WEIGHTS[0], WEIGHTS[1], WEIGHTS[5], WEIGHTS[8]
KAI_ITEMS = ["16", "8", "4", "2", "32", "64", "128"]


def text_of(value):
    """The shortest text of a float, as the press rules write sheet sizes."""
    if value == int(value):
        return str(int(value))
    return repr(value)


def offered_sizes(press, K, Z):
    """The press-sheet Kai a press offers for product Kai K and press-sheet Z;
    None when the press is refused for the part."""
    def divisible(multiple):
        d = whole(multiple)
        return d != 0 and whole(K) % d == 0

    if press == 0:
        return [Z, 2 * Z] if Z != 1 and divisible(2 * Z) else [Z]
    if press == 1:
        if not (Z != 1 and divisible(2 * Z)):
            return None
        return [2 * Z] + ([4 * Z] if divisible(4 * Z) else [])
    if press == 2:
        if not (Z != 1 and divisible(4 * Z)):
            return None
        return [4 * Z] + ([8 * Z] if divisible(8 * Z) else [])
    return [Z]


class Builder:
    def __init__(self, rng, kind):
        self.rng = rng
        self.controls = {}
        self.kind = kind

    def set(self, name, index, value):
        if index is None:
            self.controls[name] = value
        else:
            self.controls.setdefault(name, {})[str(index)] = value

    def flag(self, name, index, chance=0.5):
        self.set(name, index, 1 if self.rng.random() < chance else 0)

    def pick(self, items):
        return self.rng.choice(items)

    def quantity(self, kind):
        r = self.rng.random()
        if r < 0.15:
            value = str(self.rng.randint(1, 999))
        elif r < 0.25:
            # A run is a whole number of copies, here written with a point.
            value = "%d.0" % self.rng.uniform(100, 30000)
        elif r < 0.3:
            value = "{:,}".format(self.rng.randint(1000, 200000))
        else:
            value = str(self.rng.randint(1000, 60000))
        self.set("txtshuliang", kind, value)

    def size(self, group, kai_items, series=True):
        kai = self.pick(kai_items)
        self.set("Ncomkai", group, kai)
        if series:
            self.set("Ncomdu", group, self.rng.randint(0, 1))
        z = self.pick(["2", "2", "2", "1", "3", "4"])
        self.set("Ntxtkaizhi", group, z)
        return f32(float(kai)), f32(float(z))

    def press(self, part, K, Z, presses, fits=lambda size: True):
        """Picks a press the rules accept and one of its sheet sizes that
        `fits` accepts."""
        options = [(p, size) for p in presses for size in (offered_sizes(p, K, Z) or [])
                   if fits(size)]
        press, size = self.pick(options)
        self.set("Comyinji", part, press)
        self.set("Cmbkaizhi", part, text_of(size))
        if part in (0, 1, 2, 3, 4, 7) and press != 3:
            self.flag("Chkzifan", part, 0.7)
        return press

    def colours(self, part, first, second):
        items = ["4", "1", "2", "3", "0"]
        self.set("Ncomyinse", first, self.pick(items))
        if second is not None:
            self.set("Ncomyinse", second, self.pick(items))
        self.set("Ncomzhuanse", part, str(self.rng.choice([0, 0, 0, 1, 2, 8])))
        self.set("Comnd", DIFFICULTY[part], self.pick(DIFFICULTIES))

    def paper(self, part):
        self.set("Ncomke", part, self.pick(WEIGHTS[part]))
        self.set("Ncomzhi", part, self.rng.randint(0, 49))
        self.colours(part, 2 * part, 2 * part + 1)

    def film(self, box, index, mode):
        self.flag(box, index)
        self.set("Cmbfeilin", mode, self.rng.randint(-1, 2))

    def die(self, box, index, board, cut, board_difficulty):
        self.flag(box, index, 0.4)
        self.flag("Chkban", board, 0.7)
        self.set("Comnd", cut, self.pick(DIFFICULTIES))
        self.set("Comnd", board_difficulty, self.pick(DIFFICULTIES))

    def pages(self, box, limit):
        self.set("txtye", box, str(4 * self.rng.randint(0, limit)))

    def job(self):
        return {"kind": self.kind, "controls": self.controls}


def random_book(rng):
    b = Builder(rng, 0)
    b.quantity(0)
    K, Z = b.size(0, ["16", "16", "8", "32", "64", "128", "24", "12", "46", "20"])
    groups = {0: b.size(1, ["8", "8", "4", "16", "12"])}
    for part, group in ((3, 2), (4, 3)):
        groups[part] = b.size(group, ["8", "8", "4", "16", "6"])
    # Inner pages larger than half the press sheet are refused (tested apart).
    inner_fits = lambda size: whole(f32(K / 2 / size)) >= 1
    for part in range(5):
        if part in (1, 2):
            b.press(part, f32(K / 2), Z, [0, 1, 2, 3], inner_fits)
        else:
            b.press(part, *groups[part], [0, 1, 2, 3])
        b.paper(part)
    for item in range(5):
        b.flag("Lsthua", item, 0.6)
    b.pages(0, 100)
    b.pages(1, 60)
    b.film("Chkhua", 0, 0)
    b.flag("Chkhua", 1)
    b.flag("Chkhua", 2)
    b.set("comjiao", 0, rng.randint(-1, 1))
    b.set("comjiao", 1, rng.randint(0, 3))
    b.flag("Chkhua", 3)
    b.set("txttang", 0, b.pick(["0", "12.5", "40", "150"]))
    b.die("Chkhua", 4, 0, 5, 6)
    b.flag("Chkhua", 5, 0.6)
    b.set("Cmbdin", None, rng.randint(-1, 5))
    return b.job()


def random_newspaper(rng):
    b = Builder(rng, 1)
    b.quantity(1)
    b.set("Ncomkai", 4, b.pick(["2", "4", "8"]))
    b.set("Ncomdu", 4, rng.randint(0, 1))
    for item, part, box in ((0, 5, 2), (1, 6, 3)):
        b.flag("Lstbao", item, 0.7)
        b.paper(part)
        b.pages(box, 12)
    b.film("Chkbao", 0, 1)
    b.flag("Chkbao", 1)
    return b.job()


def random_single_sheet(rng):
    b = Builder(rng, 2)
    b.quantity(2)
    K, Z = b.size(5, KAI_ITEMS + ["10", "3"])
    b.press(7, K, Z, [0, 1, 2, 3])
    b.paper(7)
    b.flag("Chkdan", 0, 0.85)
    b.film("Chkdan", 1, 2)
    b.flag("Chkdan", 2)
    b.flag("Chkdan", 3)
    b.set("comjiao", 2, rng.randint(0, 1))
    b.set("comjiao", 3, rng.randint(-1, 3))
    b.die("Chkdan", 4, 1, 10, 11)
    b.flag("Chkdan", 5)
    b.set("Cmbzheci", None, b.pick(["1", "2", "3", "4"]))
    return b.job()


def random_box_bag(rng):
    b = Builder(rng, 3)
    b.quantity(3)
    K, Z = b.size(6, KAI_ITEMS + ["1", "3", "6", "9", "33", "65"])
    for item, part in ((0, 8), (1, 9)):
        b.flag("lsthe", item, 0.7)
        b.press(part, K, Z, [0, 1, 2])
        b.paper(part)
    b.film("Chkhe", 0, 3)
    b.flag("Chkhe", 1)
    b.flag("Chkhe", 2)
    b.set("comjiao", 4, rng.randint(0, 1))
    b.set("comjiao", 5, rng.randint(0, 3))
    b.flag("Chkhe", 3)
    b.flag("Chkhe", 4)
    b.set("txttang", 1, b.pick(["0", "8", "25.5", "300"]))
    b.die("Chkhe", 5, 2, 14, 15)
    b.flag("Chkhe", 6)
    b.set("optwa", None, rng.randint(0, 2))
    b.flag("Chkhe", 7)
    b.set("optnian", None, rng.randint(0, 2))
    return b.job()


def random_sticker(rng):
    b = Builder(rng, 4)
    b.quantity(4)
    K, Z = b.size(7, KAI_ITEMS + ["48", "100"])
    b.press(10, K, Z, [0, 1, 2])
    b.set("Nzhibu", None, rng.randint(0, 9))
    b.colours(10, 20, None)
    b.flag("Chkbu", 0, 0.85)
    b.film("Chkbu", 1, 4)
    b.flag("Chkbu", 2)
    b.flag("Chkbu", 3)
    b.set("comjiao", 6, rng.randint(0, 3))
    b.die("Chkbu", 4, 3, 17, 18)
    return b.job()


GENERATORS = [random_book, random_newspaper, random_single_sheet, random_box_bag,
              random_sticker]


# ---------------------------------------------------------------------------

def run_cli(cli, folder, payload):
    return subprocess.run([cli, "--dir", folder, "price"], input=json.dumps(payload),
                          capture_output=True, text=True, timeout=300)


def close(actual, expected):
    return abs(actual - expected) <= 1e-3 + 2e-5 * abs(expected)


def check_agreement(cli, folder, rng):
    jobs = [GENERATORS[kind](rng) for kind in range(5) for _ in range(JOBS_PER_KIND)]
    rng.shuffle(jobs)
    failures = 0
    for start in range(0, len(jobs), BATCH):
        batch = jobs[start:start + BATCH]
        done = run_cli(cli, folder, batch)
        if done.returncode != 0:
            print("batch at %d refused: %s" % (start, done.stderr.strip()))
            return 1
        answers = json.loads(done.stdout)
        for job, answer in zip(batch, answers):
            expected = PROCEDURES[job["kind"]](Form(job))
            wrong = [name for name in RESULT
                     if not close(answer["CostResult"][name], expected[name])]
            if answer["kind"] != job["kind"] or wrong:
                failures += 1
                if failures <= 5:
                    print("disagreement on", json.dumps(job, ensure_ascii=False))
                    for name in wrong:
                        print("  %s: tool %r, expected %r"
                              % (name, answer["CostResult"][name], expected[name]))
    print("%d jobs priced, %d disagreements" % (len(jobs), failures))
    return 1 if failures else 0


def check_refusals(cli, folder):
    def book(**controls):
        base = {"Lsthua": {"1": 1}, "txtye": {"0": "96"}}
        base.update(controls)
        return {"kind": 0, "controls": base}

    cases = [
        ("zero quantity", {"kind": 2, "controls": {"txtshuliang": {"2": "0"}}}, "数量不能为零"),
        ("2开 book on 对开 sheets",
         book(Ncomkai={"0": "2"}, Comyinji={"1": 0}, Cmbkaizhi={"1": "2"}), "容纳不下一贴"),
        ("no paper for 内页一", book(Ncomzhi={"1": -1}), "请为内页一选择纸张"),
        ("negative pages", book(txtye={"0": "-8"}), "内页一的页数“-8”必须在0到20000之间"),
        ("absurd pages", book(txtye={"0": "4000000"}), "必须在0到20000之间"),
        ("no sticker paper", {"kind": 4, "controls": {"Chkbu": {"0": 1}, "Nzhibu": -1}},
         "请为不干胶选择纸张"),
        ("newspaper of 0开", {"kind": 1, "controls": {"Ncomkai": {"4": "0"},
                                                       "Lstbao": {"0": 1},
                                                       "txtye": {"2": "8"}}}, "开数"),
    ]
    failures = 0
    for name, job, message in cases:
        done = run_cli(cli, folder, job)
        lines = done.stderr.strip().splitlines()
        if done.returncode != 2 or len(lines) != 1 or message not in lines[0] or done.stdout:
            failures += 1
            print("refusal %s: exit %d, stderr %r" % (name, done.returncode, done.stderr))
    return 1 if failures else 0


def main():
    cli = sys.argv[1]
    folder = tempfile.mkdtemp(prefix="inkquot-price-")
    try:
        subprocess.run([cli, "install", folder], check=True, capture_output=True)
        scheme = os.path.join(folder, "jgfa", "系统默认")
        for suffix, working in (("ji", "fjiben"), ("gong", "fgongjia"), ("zhi", "fzhijia"),
                                ("zhibu", "fzhijiabu")):
            shutil.copyfile(scheme + suffix + ".dat", os.path.join(folder, working + ".dat"))
        rng = random.Random(SEED)
        return check_agreement(cli, folder, rng) | check_refusals(cli, folder)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
