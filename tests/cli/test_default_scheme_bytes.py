"""Encodes the built-in price scheme independently (Python's gbk codec and
struct) and compares it byte for byte with the files that
`inkquot-cli install` writes into a fresh folder.

usage: test_default_scheme_bytes.py PATH_TO_INKQUOT_CLI
"""

import os
import struct
import subprocess
import sys
import tempfile

JIBEN = [
    ('平印机印刷每色放头数', 20, '张', '按实际开纸计'),
    ('平印机印刷每色放数', 8, '千分之', '按实际开纸计'),
    ('轮转机印刷每色放头数', 100, '张', '按实际开纸计'),
    ('轮转机印刷每色放数', 8, '千分之', '按实际开纸计'),
    ('对开平印机起印数', 3000, '张', '按实际开纸计'),
    ('四开平印机起印数', 1000, '张', '按实际开纸计'),
    ('八开平印机起印数', 500, '张', '按实际开纸计'),
    ('对开轮转机起印数', 5000, '张', '按实际开纸计'),
    ('装订起点计费数', 1000, '本', '按实际开本计'),
    ('表面加工起点收费', 100, '元', '表面加工是指过光胶、过哑胶、过油磨光和过UV'),
    ('模切起点收费', 100, '元', '指除去模板的纯加工费'),
    ('压凹凸起点收费', 100, '元', '指无论开度，最少收取的费用'),
    ('烫金起点收费', 100, '元', '指除去材料费的纯加工费'),
    ('对裱起点收费', 100, '元', '指无论开度，最少收取的费用'),
    ('裱瓦楞起点收费', 100, '元', '指无论开度，最少收取的费用(含材料)'),
    ('粘盒(做纸袋)起点收费', 20, '元', '指无论开度和数量，最少收取的费用'),
    ('专色印刷价格系数', 1.5, '倍', '按倍计，指相对普通四色印刷价格'),
    ('纸张管理费', 15, '百分之', '按百分比计'),
]
NOTES = {
    'A': '按实际开纸四色印刷计，适用于印数5000以上的印件。三色每色同四色，双色每色按tag1倍，单色每色按tag2倍计',
    'B': '按实际开纸四色印刷计，适用于印数1-3000（含）的印件，含版费，四色计一套版。三色每色同四色，双色每色按tag1倍，单色每色按tag2倍计',
    'C': '按实际开纸四色印刷计，适用于印数3000-5000（含）的印件，含版费，四色计一套版。三色每色同四色，双色每色按tag1倍，单色每色按tag2倍计',
    'D': '按实际开纸四色印刷计，适用于印数5000以上的印件，三色每色同四色，双色每色按tag1倍，单色每色按tag2倍计',
    'E': '按实际开纸四色印刷计，三色每色同四色，双色每色按tag1倍，单色每色按tag2倍计',
    'F': '每块计',
    'G': '16开4色计1P，其他开度按比例计。三色以上每色按四色，双色每色按tag1倍计，单色每色按tag2倍计',
    'H': '以对开四色计，其他开度按比例。三色以上每色按四色，双色每色按tag1倍计，单色每色按tag2倍计',
    'I': '以对开计，三开同对开，4(含)-8开按tag1倍计,8开(含)以下按tag2倍计',
    'J': '按面积计',
    'K': '4-8开按(tag1)倍计，9-32开按(tag2)倍计，33-64开按(tag3)倍计，64开以下按(tag4)倍计',
    'L': '以对开计，三开同对开，四开按tag1倍计,八开按tag2倍计',
    'M': '以三层计,五层按(tag1)倍计,七层按(tag2)倍计',
    'N': '以16开为标准,16开以上按(tag1)倍计,17-32开按(tag2)倍计,33-64开按(tag3)倍计,65开以下按(tag4)倍计',
    'O': '以16开为标准，4页为1贴，其它开度比例同骑马订工价(按本计)',
    'P': '以16开为标准，4页为1贴，其它开度比例同锁线胶订工价(按本计)',
    'Q': '以16开为标准，4页为1贴，其它开度比例同精装工价(按本计)',
    'R': '以16开为标准，4页为1贴，其它开度比例同其它装订形式一(按本计)',
    'S': '以16开为标准，4页为1贴，其它开度比例同其它装订形式二(按本计)',
    'T': '以16开为标准，4页为1贴，其它开度比例同其它装订形式三(按本计)',
    'U': '以16开为标准，大于16开按tag1倍计，小于16开按tag2倍计(注：装订不另计折页费) ',
    'V': '3开按(tag1)倍计，4开按(tag2)倍计，5-8开按(tag3)倍计，8开以下按(tag4)倍计',
}
GONGJIA = [
    ('对开平印机印刷费（一）', 40, '元/色/千印', 0.8, 0.8, 0, 0, 'A'),
    ('对开平印机印刷费（二）', 800, '元/套版', 0.8, 0.8, 0, 0, 'B'),
    ('对开平印机印刷费（三）', 1000, '元/套版', 0.8, 0.8, 0, 0, 'C'),
    ('四开平印机印刷费（一）', 24, '元/色/千印', 0.8, 0.8, 0, 0, 'D'),
    ('四开平印机印刷费（二）', 480, '元/套版', 0.8, 0.8, 0, 0, 'B'),
    ('四开平印机印刷费（三）', 600, '元/套版', 0.8, 0.8, 0, 0, 'C'),
    ('八开平印机印刷费（一）', 12, '元/色/千印', 0.8, 0.8, 0, 0, 'D'),
    ('八开平印机印刷费（二）', 240, '元/套版', 0.8, 0.8, 0, 0, 'B'),
    ('八开平印机印刷费（三）', 300, '元/套版', 0.8, 0.8, 0, 0, 'C'),
    ('对开轮转机印刷费', 27.5, '元/色/千印', 0.8, 0.8, 0, 0, 'E'),
    ('对开平印机PS版费', 100, '元/块', 0, 0, 0, 0, 'F'),
    ('四开平印机PS版费', 60, '元/块', 0, 0, 0, 0, 'F'),
    ('八开平印机PS版费', 30, '元/块', 0, 0, 0, 0, 'F'),
    ('对开轮转机PS版费', 100, '元/块', 0, 0, 0, 0, 'F'),
    ('设计制作费', 100, '元/P', 0.8, 0.8, 0, 0, 'G'),
    ('对开出片费', 320, '元/套', 0.8, 0.8, 0, 0, 'H'),
    ('对开打样费', 80, '元/套', 0.8, 0.8, 0, 0, 'H'),
    ('拼版费', 20, '元/块版', 0.6, 0.3, 0, 0, 'I'),
    ('过光胶费', 1.05, '元/平方米', 0, 0, 0, 0, 'J'),
    ('过哑胶费', 1.25, '元/平方米', 0, 0, 0, 0, 'J'),
    ('过油磨光费', 0.55, '元/平方米', 0, 0, 0, 0, 'J'),
    ('过UV费', 1.05, '元/平方米', 0, 0, 0, 0, 'J'),
    ('对开纸烫电化铝工价', 450, '元/千张', 0.6, 0.3, 0, 0, 'I'),
    ('电化铝材料费', 20, '元/平方米', 0, 0, 0, 0, 'J'),
    ('对开模切板费', 400, '元/块', 0.6, 0.3, 0, 0, 'I'),
    ('对开纸模切工价', 240, '元/千张', 0.6, 0.3, 0, 0, 'I'),
    ('对开纸压凹凸费', 240, '元/千张', 0.6, 0.3, 0, 0, 'I'),
    ('对开盒粘盒费', 0.15, '元/边/个', 0.5, 0.2, 0.12, 0.08, 'K'),
    ('对开纸对裱费', 120, '元/千张', 0.6, 0.3, 0, 0, 'L'),
    ('裱瓦楞纸费(连材料)', 2, '元/平方米', 1.5, 2, 0, 0, 'M'),
    ('骑马订工价(按每本计)', 0.1, '元/本', 1.5, 0.8, 0.6, 0.4, 'N'),
    ('骑马订工价(按每贴计)', 0.02, '元/贴/本', 0, 0, 0, 0, 'O'),
    ('锁线胶订工价(按本计)', 1, '元/本', 1.5, 0.8, 0.6, 0.4, 'N'),
    ('锁线胶订工价(按贴计)', 0.03, '元/贴/本', 0, 0, 0, 0, 'P'),
    ('精装工价(按本计)', 3, '元/本', 1.5, 0.8, 0.6, 0.4, 'N'),
    ('精装工价(按贴计)', 0.03, '元/贴/本', 0, 0, 0, 0, 'Q'),
    ('其它装订形式一(按本计)', 1, '元/本', 1.5, 0.8, 0.6, 0.4, 'N'),
    ('其它装订形式一(按贴计)', 0.02, '元/贴/本', 0, 0, 0, 0, 'R'),
    ('其它装订形式二(按本计)', 1, '元/本', 1.5, 0.8, 0.6, 0.4, 'N'),
    ('其它装订形式二(按贴计)', 0.02, '元/贴/本', 0, 0, 0, 0, 'S'),
    ('其它装订形式三(按本计)', 1, '元/本', 1.5, 0.8, 0.6, 0.4, 'N'),
    ('其它装订形式三(按贴计)', 0.02, '元/贴/本', 0, 0, 0, 0, 'T'),
    ('16开折页工价', 0.01, '元/折/张', 1.5, 0.8, 0, 0, 'U'),
    ('对开纸袋做工费', 0.5, '元/个', 0.9, 0.8, 0.7, 0.6, 'V'),
]
ZHIJIA_ROWS = [
    ('1', '铜版纸', 8000, '元/吨', '普通', 1),
    ('2', '哑粉纸', 9200, '元/吨', '普通', 1),
    ('3', '胶版纸(高档)', 7800, '元/吨', '普通', 1),
    ('4', '胶版纸(低档)', 5800, '元/吨', '普通', 1),
    ('5', '普白新闻纸', 5000, '元/吨', '普通', 1),
    ('6', '加白新闻纸', 5500, '元/吨', '普通', 1),
    ('7', '白卡纸', 8000, '元/吨', '普通', 1),
    ('8', '白底白版纸', 7000, '元/吨', '普通', 1),
    ('9', '灰底白版纸', 5600, '元/吨', '普通', 1),
    ('10 to 50', '自定义纸张', 8000, '元/吨', '自定义', 0),
]
ZHIJIABU_ROWS = [
    ('1', '普通不干胶纸', 1.2, '元/张', '按对开规格计', 1),
    ('2', '高级不干胶纸', 2, '元/张', '按对开规格计', 1),
    ('3 to 10', '自定义不干胶纸', 2, '元/张', '按对开规格计', 0),
]


def text(value, width):
    data = value.encode("gbk")
    assert len(data) <= width, (value, len(data), width)
    return data + b" " * (width - len(data))


def slot(data, length):
    assert len(data) <= length
    return data + b"\0" * (length - len(data))


def pack_f32(value):
    return struct.pack("<f", value)


def pack_i32(value):
    return struct.pack("<i", value)


def jiben_file():
    out = b""
    for n, (name, value, unit, note) in enumerate(JIBEN, start=1):
        data = pack_i32(n) + text(name, 20) + pack_f32(value) + text(unit, 12) + text(note, 100)
        assert len(data) == 140
        out += slot(data, 272)
    return out


def gongjia_file():
    out = b""
    for n, (name, price, unit, t1, t2, t3, t4, key) in enumerate(GONGJIA, start=1):
        data = (pack_i32(n) + text(name, 30) + pack_f32(price) + text(unit, 12)
                + b"".join(pack_f32(t) for t in (t1, t2, t3, t4)) + text(NOTES[key], 200))
        assert len(data) == 266
        out += slot(data, 508)
    return out


def paper_file(rows, count):
    records = {}
    for numbers, name, price, unit, note, builtin in rows:
        if " to " in numbers:
            first, last = (int(x) for x in numbers.split(" to "))
        else:
            first = last = int(numbers)
        for n in range(first, last + 1):
            records[n] = (name, price, unit, note, builtin)
    assert sorted(records) == list(range(1, count + 1))
    out = b""
    for n in range(1, count + 1):
        name, price, unit, note, builtin = records[n]
        data = (pack_i32(n) + text(name, 20) + pack_f32(price) + text(unit, 12) + text(note, 30)
                + pack_i32(builtin))
        assert len(data) == 74
        out += slot(data, 136)
    return out


class Tally:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, message):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print(message)


def main():
    cli = sys.argv[1]
    tally = Tally()
    with tempfile.TemporaryDirectory() as tmp:
        app = os.path.join(tmp, "app")
        run = subprocess.run([cli, "install", app], capture_output=True, timeout=60)
        if run.returncode != 0:
            print("install failed:", run.returncode, run.stderr.decode("utf-8", "replace"))
            print("0 passed, 1 failed")
            return 1
        jgfa = os.path.join(app, "jgfa")
        expected = {
            "系统默认ji.dat": jiben_file(),
            "系统默认gong.dat": gongjia_file(),
            "系统默认zhi.dat": paper_file(ZHIJIA_ROWS, 50),
            "系统默认zhibu.dat": paper_file(ZHIJIABU_ROWS, 10),
            "fangan.inf": '"系统默认"\r\n'.encode("gbk"),
        }
        sizes = {"系统默认ji.dat": 4896, "系统默认gong.dat": 22352,
                 "系统默认zhi.dat": 6800, "系统默认zhibu.dat": 1360}
        for name, want in expected.items():
            with open(os.path.join(jgfa, name), "rb") as f:
                got = f.read()
            if name in sizes:
                tally.check(len(want) == sizes[name],
                            f"{name}: expected encoding is {len(want)} bytes, not {sizes[name]}")
            first = next((i for i in range(min(len(got), len(want))) if got[i] != want[i]),
                         min(len(got), len(want)))
            tally.check(got == want,
                        f"{name}: differs at byte {first} (got {len(got)} bytes, "
                        f"expected {len(want)}): {got[first:first + 16].hex()} "
                        f"vs {want[first:first + 16].hex()}")
        with open(os.path.join(app, "users.dat"), "rb") as f:
            users = f.read()
        tally.check(users == b"user0000" + b"604172  " + b"\0" * 16, f"users.dat: {users.hex()}")

        # A second install keeps the list and the password file as they are.
        with open(os.path.join(jgfa, "fangan.inf"), "ab") as f:
            f.write('"方案一"\r\n'.encode("gbk"))
        with open(os.path.join(app, "users.dat"), "r+b") as f:
            f.seek(8)
            f.write(b"secret  ")
        run = subprocess.run([cli, "install", app], capture_output=True, timeout=60)
        tally.check(run.returncode == 0, "second install failed")
        with open(os.path.join(jgfa, "fangan.inf"), "rb") as f:
            tally.check(f.read() == '"系统默认"\r\n"方案一"\r\n'.encode("gbk"),
                        "second install changed fangan.inf")
        with open(os.path.join(app, "users.dat"), "rb") as f:
            tally.check(f.read()[8:16] == b"secret  ", "second install changed users.dat")

    # Without a folder the tool refuses with exit code 2 and one line.
    run = subprocess.run([cli, "install"], capture_output=True, timeout=60)
    tally.check(run.returncode == 2 and run.stderr.count(b"\n") == 1,
                f"install without DIR: {run.returncode} {run.stderr!r}")

    print(f"{tally.passed} passed, {tally.failed} failed")
    return 1 if tally.failed else 0


if __name__ == "__main__":
    sys.exit(main())
