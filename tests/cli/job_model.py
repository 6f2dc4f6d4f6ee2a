"""The job model of the command line tests: a job description (kind and
controls, as `inkquot-cli price` reads it) turned into the parts and binding
that its costing procedure prices, over costing_model's rules; random valid
jobs of every kind; and the table form of a job, as price table generation
puts it on the screen.
"""

import copy
import math

from costing_model import Job, f32, new_spec, whole

# 1000 leaflets of 16开 on 四开 press sheets, 157 g paper 1, 4 + 0 colours,
# only 印刷: 800 for printing and about 129.375 for paper.
LEAFLET = {"kind": 2,
           "controls": {"txtshuliang": {"2": "1000"}, "Ncomkai": {"5": "16"}, "Ncomdu": {"5": 0},
                        "Cmbkaizhi": {"7": "4"}, "Ncomke": {"7": "157"}, "Ncomzhi": {"7": 0},
                        "Ncomyinse": {"14": "4", "15": "0"}, "Comyinji": {"7": 0},
                        "Chkzifan": {"7": 0}, "Chkdan": {"0": 1}, "Lsthua": {"0": 1},
                        "optwa": 1, "Nzhibu": 0, "Cmbdin": 2}}

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


def book(form, prices):
    quantity = form.num("txtshuliang", 0)
    inner_kai, inner_area = form.num("Ncomkai", 0), area_of(form.get("Ncomdu", 0))
    cover_kai, cover_area = form.num("Ncomkai", 1), area_of(form.get("Ncomdu", 1))
    pages = form.num("txtye", 0)
    job = Job(prices)
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
    if total_pages != 0:
        job.bind(form.chk("Chkhua", 5), quantity, inner_kai, total_pages, form.pos("Cmbdin"))
    return job.finish(quantity)


def newspaper(form, prices):
    quantity = form.num("txtshuliang", 1)
    kai, area = form.num("Ncomkai", 4), area_of(form.get("Ncomdu", 4))
    sheets = f32(quantity * 2 / kai)
    job = Job(prices)
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


def one_part(prices, quantity, switched_on, part):
    """A job of at most one printed part: `part()` when its section is on."""
    job = Job(prices)
    if switched_on:
        job.add(part())
    return job.finish(quantity)


def single_sheet(form, prices):
    quantity = form.num("txtshuliang", 2)
    return one_part(prices, quantity, form.chk("Chkdan", 0) == 1, lambda: with_press(
            form, 7, quantity=quantity, halfSheetArea=area_of(form.get("Ncomdu", 5)),
            kai=form.num("Ncomkai", 5), printFlag=1, filmFlag=form.chk("Chkdan", 1),
            filmMode=form.pos("Cmbfeilin", 2), impositionFlag=form.chk("Chkdan", 2),
            surfaceFlag=form.chk("Chkdan", 3), surfaceSides=form.pos("comjiao", 2),
            surfaceType=form.pos("comjiao", 3), dieCutFlag=form.chk("Chkdan", 4),
            dieBoardFlag=form.chk("Chkban", 1), foldFlag=form.chk("Chkdan", 5),
            folds=form.num("Cmbzheci"), dieCutDifficulty=form.num("Comnd", 10),
            dieBoardDifficulty=form.num("Comnd", 11)))


def option_code(chosen):
    return 1 if chosen == 0 else 2 if chosen == 1 else 3


def box_bag(form, prices):
    quantity = form.num("txtshuliang", 3)
    kai, area = form.num("Ncomkai", 6), area_of(form.get("Ncomdu", 6))
    shared = dict(quantity=quantity, halfSheetArea=area, kai=kai, printFlag=1,
                  filmFlag=form.chk("Chkhe", 0), filmMode=form.pos("Cmbfeilin", 3),
                  impositionFlag=form.chk("Chkhe", 1))
    job = Job(prices)
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


def sticker(form, prices):
    quantity = form.num("txtshuliang", 4)
    return one_part(prices, quantity, form.chk("Chkbu", 0) == 1, lambda: new_spec(
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


PROCEDURES = [book, newspaper, single_sheet, box_bag, sticker]


def price_job(job, prices):
    """The CostResult of a job description, costed over the price book
    `prices` by the procedure of its kind."""
    return PROCEDURES[job["kind"]](Form(job), prices)


def close(actual, expected):
    """Whether a price of the tool is the model's, but for the last bits."""
    return abs(actual - expected) <= 1e-3 + 2e-5 * abs(expected)


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
# Price tables.

def forced(job):
    """The job in the table form that the generation puts on the screen."""
    job = copy.deepcopy(job)
    c = job["controls"]

    def put(name, index, value):
        c.setdefault(name, {})[str(index)] = value

    kind = job["kind"]
    if kind == 0:
        put("Lsthua", 1, 1)
        for item in (2, 3, 4):
            put("Lsthua", item, 0)
        for box, on in ((0, 1), (1, 1), (2, 0), (3, 0), (4, 0), (5, 1)):
            put("Chkhua", box, on)
        put("Ncomzhuanse", 1, "0")
    elif kind == 2:
        for box, on in ((0, 1), (1, 1), (2, 1), (3, 0), (4, 0), (5, 0)):
            put("Chkdan", box, on)
        put("Ncomzhuanse", 7, "0")
    else:
        put("lsthe", 0, 1)
        put("lsthe", 1, 0)
        for box, on in ((0, 1), (1, 1), (2, 0), (3, 0), (4, 0), (5, 1), (7, 1)):
            put("Chkhe", box, on)
        put("Ncomzhuanse", 8, "0")
    return job

