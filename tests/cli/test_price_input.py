"""`inkquot-cli price`: the job description it reads, the result it prints,
and the jobs it refuses (exit code 2, one line on standard error).

usage: test_price_input.py PATH_TO_INKQUOT_CLI
"""

import json
import os
import resource
import select
import subprocess
import sys
import time

from costing_model import RESULT_NAMES, f32
from job_model import LEAFLET
from program_folder import ProgramFolder


def job(kind, **controls):
    return {"kind": kind, "controls": controls}


def leaflet(**changes):
    controls = json.loads(json.dumps(LEAFLET["controls"]))
    for name, value in changes.items():
        if isinstance(value, dict) and isinstance(controls.get(name), dict):
            controls[name].update(value)
        else:
            controls[name] = value
    return {"kind": 2, "controls": controls}


class Runner:
    def __init__(self, cli, folder):
        self.cli = cli
        self.folder = folder
        self.failures = 0

    def run(self, payload, *args):
        text = payload if isinstance(payload, str) else json.dumps(payload, ensure_ascii=False)
        return subprocess.run([self.cli, "--dir", self.folder, "price", *args], input=text,
                              capture_output=True, text=True, timeout=60)

    def fail(self, name, why):
        self.failures += 1
        print("FAIL %s: %s" % (name, why))

    def price(self, name, payload):
        done = self.run(payload)
        if done.returncode != 0:
            self.fail(name, "exit %d: %s" % (done.returncode, done.stderr.strip()))
            return None
        return json.loads(done.stdout)

    def refused(self, name, payload, *expected):
        done = self.run(payload)
        lines = done.stderr.strip().splitlines()
        if done.returncode != 2 or len(lines) != 1 or done.stdout:
            self.fail(name, "exit %d, stdout %r, stderr %r"
                      % (done.returncode, done.stdout, done.stderr))
            return
        for part in expected:
            if part not in lines[0]:
                self.fail(name, "message %r lacks %r" % (lines[0], part))


def is_shortest_float32(value):
    """Whether `value` is the shortest decimal that reads back as one
    32-bit float."""
    f = f32(value)
    for digits in range(1, 10):
        text = "%.*g" % (digits, f)
        if f32(float(text)) == f:
            return float(text) == value
    return False


def check_format(r):
    answer = r.price("leaflet", LEAFLET)
    if answer is None:
        return
    if list(answer) != ["kind", "CostResult", "resultText", "Guige", "Yaoqiu"] \
            or answer["kind"] != 2:
        r.fail("format", "keys %r kind %r" % (list(answer), answer.get("kind")))
    result = answer["CostResult"]
    if list(result) != RESULT_NAMES:
        r.fail("format", "result names %r" % list(result))
    for name, value in result.items():
        if not isinstance(value, (int, float)) or not is_shortest_float32(float(value)):
            r.fail("format", "%s = %r is not a 32-bit float" % (name, value))
    expected = {"PrintCost": 800.0, "PaperCost": 129.375, "TotalPrice": 929.375,
                "UnitPrice": 0.929375}
    for name, value in expected.items():
        if abs(result[name] - value) > 1e-3:
            r.fail("leaflet", "%s = %r, expected about %r" % (name, result[name], value))
    others = [n for n in RESULT_NAMES if n not in expected and result[n] != 0]
    if others:
        r.fail("leaflet", "unexpected costs %r" % others)

    batch = r.price("batch", [LEAFLET, job(1)])
    if batch is not None and (len(batch) != 2 or [a["kind"] for a in batch] != [2, 1]):
        r.fail("batch", "answers %r" % batch)


def same_price(r, name, a, b):
    pa, pb = r.price(name, a), r.price(name, b)
    if pa is not None and pb is not None and pa != pb:
        r.fail(name, "%r differs from %r" % (pa, pb))


def check_defaults(r):
    # An omitted sheet size is the first the press offers (四开: 4, 8).
    same_price(r, "omitted sheet size",
               leaflet(Comyinji={"7": 1}, Cmbkaizhi={}),
               leaflet(Comyinji={"7": 1}, Cmbkaizhi={"7": "4"}))
    # An omitted self-turn box follows the press: cleared on the rotary.
    same_price(r, "omitted self-turn",
               leaflet(Comyinji={"7": 3}, Cmbkaizhi={"7": "2"}, Chkzifan={}),
               leaflet(Comyinji={"7": 3}, Cmbkaizhi={"7": "2"}, Chkzifan={"7": 0}))
    # Sizes come before presses: an 8开 sheet on the eighth-sheet press.
    r.price("size before press", leaflet(Ncomkai={"5": "8"}, Comyinji={"7": 2},
                                         Cmbkaizhi={"7": "8"}))
    # Texts the screen accepts.
    r.price("grouped quantity", leaflet(txtshuliang={"2": " 1,000 "}))
    r.price("pages that round to a multiple of 4",
            job(0, txtye={"0": "12.5"}, Lsthua={"1": 1}))
    r.price("blank customer name", leaflet(txtkehuming={"2": "  "}))
    r.price("calculator 开", leaflet(Ncomkai={"5": "12"}, Ntxtkaizhi={"5": "3"},
                                     Cmbkaizhi={"7": "6"}))
    r.price("nothing given", {"kind": 3})
    # The screen's own contents restated: the newspaper's greyed self-turn
    # tick and its empty sheet-size list.
    for name, controls in (("greyed self-turn tick", {"Chkzifan": {"5": 1}}),
                           ("empty sheet size", {"Cmbkaizhi": {"5": ""}})):
        same_price(r, name, {"kind": 1, "controls": dict(controls, Lstbao={"0": 1})},
                   {"kind": 1, "controls": {"Lstbao": {"0": 1}}})


def check_refusals(r):
    cases = [
        ("zero quantity", leaflet(txtshuliang={"2": "0"}), "数量不能为零！"),
        ("quantity 0.00", leaflet(txtshuliang={"2": "0.00"}), "数量不能为零！"),
        ("quantity text", leaflet(txtshuliang={"2": "一千"}), "单张\\招贴的计价数量“一千”不是有效的数字"),
        ("quantity 1,5", leaflet(txtshuliang={"2": "1,5"}), "计价数量“1,5”"),
        ("empty quantity", leaflet(txtshuliang={"2": ""}), "计价数量“”"),
        ("kai text", leaflet(Ncomkai={"5": "16开"}), "单张\\招贴规格的开数“16开”不是有效的数字"),
        ("press-sheet 0", leaflet(Ntxtkaizhi={"5": "0"}),
         "单张\\招贴规格的上机纸张开数“0”必须大于零"),
        ("press-sheet text", leaflet(Ntxtkaizhi={"5": "two"}), "上机纸张开数“two”"),
        ("weight text", leaflet(Ncomke={"7": "157g"}), "单张的纸厚（克重）“157g”"),
        ("difficulty inf", leaflet(Comnd={"9": "inf"}), "单张的难度系数“inf”"),
        ("pages 10", job(0, txtye={"0": "10"}), "内页一的页数“10”必须是4的倍数"),
        ("pages 13.5", job(0, txtye={"1": "13.5"}), "内页二的页数“13.5”必须是4的倍数"),
        ("newspaper 版数 6", job(1, txtye={"2": "6"}), "页一的版数“6”"),
        ("negative quantity", leaflet(txtshuliang={"2": "-5"}),
         "单张\\招贴的计价数量“-5”必须是1到100000000之间的整数"),
        ("fractional quantity", leaflet(txtshuliang={"2": "1000.7"}), "计价数量“1000.7”必须是"),
        ("weight past a float's whole numbers", leaflet(Ncomke={"7": "18446744073709551617"}),
         "单张的纸厚（克重）“18446744073709551617”必须在10到2000之间"),
        ("empty customer", leaflet(txtkehuming={"2": ""}), "单张\\招贴的客户名称不能为空"),
        ("empty job name", job(4, txtyinjianming={"0": ""}), "书刊\\画册的印件名称不能为空"),
        ("refused press", leaflet(Ncomkai={"5": "4"}, Comyinji={"7": 2}, Cmbkaizhi={}),
         "单张的开数和上机纸张不能用“八开平印机”印刷"),
        ("quarter press on a full sheet",
         job(0, Ntxtkaizhi={"1": "1"}, Comyinji={"0": 1}), "封面的开数和上机纸张不能用"),
        ("size not offered", leaflet(Cmbkaizhi={"7": "8"}), "单张的印机不提供开纸大小“8”", "2、4"),
        ("newspaper sheet size", job(1, Cmbkaizhi={"5": "2"}), "页一的印机不提供开纸大小“2”"),
        ("self-turn on the rotary", leaflet(Comyinji={"7": 3}, Cmbkaizhi={"7": "2"},
                                            Chkzifan={"7": 1}), "单张不能选择自翻版印刷"),
        ("self-turn on the face paper", job(3, Chkzifan={"8": 1}), "面纸不能选择自翻版印刷"),
        ("unknown control", leaflet(Frmdan={"0": 1}), "没有名为“Frmdan”的控件"),
        ("job kind among the controls", leaflet(comleibie=2), "不能写作控件“comleibie”"),
        ("unknown field", dict(LEAFLET, price=1), "字段“price”不是印件描述的字段"),
        ("missing kind", {"controls": {}}, "缺少字段“kind”"),
        ("kind 5", {"kind": 5}, "字段“kind”（印件类别）必须是0到4的整数"),
        ("kind as text", {"kind": "2"}, "字段“kind”（印件类别）必须是0到4的整数"),
        ("controls not an object", {"kind": 2, "controls": []}, "字段“controls”必须是"),
        ("index beyond the array", leaflet(Ncomkai={"8": "16"}), "控件“Ncomkai”没有序号“8”"),
        ("index with a leading zero", leaflet(Chkdan={"00": 1}), "控件“Chkdan”没有序号“00”"),
        ("negative index", leaflet(Chkdan={"-1": 1}), "控件“Chkdan”没有序号“-1”"),
        ("part list item beyond", job(3, lsthe={"2": 1}), "控件“lsthe”没有序号“2”"),
        ("text as number", leaflet(txtshuliang={"2": 1000}), "计价数量必须是文字"),
        ("position as text", leaflet(Comyinji={"7": "0"}), "单张的印机种类必须是0到3的整数"),
        ("position as 0.0", leaflet(Cmbdin=1.0), "书刊\\画册的装订方式必须是-1到5的整数"),
        ("position beyond", leaflet(Ncomzhi={"7": 50}), "单张的用纸不能选择位置50"),
        ("position -2", leaflet(Cmbfeilin={"2": -2}), "单张\\招贴的出菲林方式不能选择位置-2"),
        ("rotary on the face paper", job(3, Comyinji={"8": 3}), "面纸的印机种类不能选择位置3"),
        ("newspaper flat press", job(1, Comyinji={"5": 1}), "页一的印机种类不能选择位置1"),
        ("tick 2", leaflet(Chkdan={"0": 2}), "单张\\招贴的“印刷”必须是0或1"),
        ("tick true", leaflet(Chkdan={"0": True}), "单张\\招贴的“印刷”必须是0或1"),
        ("option 3", leaflet(optwa=3), "纸盒\\纸袋的裱瓦楞层数不能选择位置3"),
        ("option -1", leaflet(optnian=-1), "纸盒\\纸袋的粘盒方式不能选择位置-1"),
        ("single control as object", leaflet(Cmbdin={"0": 1}), "书刊\\画册的装订方式必须是"),
        ("array control as value", leaflet(Ncomkai="16"), "控件“Ncomkai”必须是以序号"),
        ("malformed JSON", '{"kind": 2,', "price"),
        ("key given twice", '{"kind": 2, "kind": 3}', "kind"),
        ("zero byte after the job", json.dumps(LEAFLET) + "\0", "price"),
        ("bytes after the job", json.dumps(LEAFLET) + " x", "price"),
    ]
    for name, payload, *expected in cases:
        r.refused(name, payload, *expected)

    done = r.run(LEAFLET, "--bogus")
    if done.returncode != 2:
        r.fail("unknown argument", "exit %d" % done.returncode)


def check_batches(r):
    """A batch is priced job by job: in an array the first bad job ends it
    after the jobs before it; in JSON Lines a bad line gets an error object
    and the others are priced; either way the exit code is 2."""
    single = r.price("single leaflet", LEAFLET)
    bad = leaflet(txtshuliang={"2": "0"})
    done = r.run([LEAFLET, bad, LEAFLET])
    errors = done.stderr.strip().splitlines()
    if (done.returncode != 2 or len(errors) != 1 or "price[1]" not in errors[0]
            or "数量不能为零！" not in errors[0] or json.loads(done.stdout) != [single]):
        r.fail("array with a bad job", "exit %d, stdout %r, stderr %r"
               % (done.returncode, done.stdout[:200], done.stderr))

    lines = [json.dumps(LEAFLET, ensure_ascii=False), '{"kind": 2,', "",
             json.dumps(bad, ensure_ascii=False), json.dumps(LEAFLET, ensure_ascii=False)]
    done = r.run("\n".join(lines) + "\n", "--lines")
    out = [json.loads(line) for line in done.stdout.splitlines()]
    if (done.returncode != 2 or len(out) != 4 or out[0] != single or out[3] != single
            or "price line 2" not in out[1].get("error", "")
            or "数量不能为零！" not in out[2].get("error", "")):
        r.fail("JSON Lines with bad lines", "exit %d, stdout %r" % (done.returncode, done.stdout))

    # A huge batch of empty jobs is refused at the first, at once.
    started = time.monotonic()
    done = r.run("[" + ",".join(["{}"] * 200000) + "]")
    took = time.monotonic() - started
    peak_kib = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    if (done.returncode != 2 or "price[0]" not in done.stderr or took > 5
            or peak_kib > 100 * 1024):
        r.fail("200000 empty jobs", "exit %d in %.1f s, peak %d KiB, stderr %r"
               % (done.returncode, took, peak_kib, done.stderr[:200]))


def check_conversation(r):
    """A program that sends one job through a pipe and waits for its answer
    before it sends the next gets each answer in time, in JSON Lines and in
    an array alike."""
    answer = r.run(LEAFLET).stdout.rstrip("\n").encode()
    leaflet_text = json.dumps(LEAFLET, ensure_ascii=False).encode()
    bad_line = b'{"kind": 2,'
    bad_answer = b'{"error": "price line 2: input is not valid JSON'
    for args, steps, end in (
            (["--lines"], [(leaflet_text + b"\n", answer + b"\n"),
                           (bad_line + b"\n", bad_answer),
                           (leaflet_text + b"\n", None)], b""),
            ([], [(b"[" + leaflet_text, b"[" + answer),
                  (b" ,\n" + leaflet_text, b", " + answer)], b"]\n")):
        proc = subprocess.Popen([r.cli, "--dir", r.folder, "price", *args],
                                stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)
        got = b""
        try:
            for sent, expected in steps:
                proc.stdin.write(sent)
                proc.stdin.flush()
                want = len(got) + len(expected or b"") + (0 if expected else 1)
                deadline = time.monotonic() + 10
                while len(got) < want and time.monotonic() < deadline:
                    ready, _, _ = select.select([proc.stdout], [], [], 0.5)
                    if ready:
                        got += os.read(proc.stdout.fileno(), 65536)
                if expected and expected not in got or len(got) < want:
                    r.fail("conversation %s" % args, "no answer in time, got %r" % got[-200:])
                    break
            proc.stdin.write(end)
            proc.stdin.close()
            got += proc.stdout.read()
            proc.wait(timeout=10)
        finally:
            proc.kill()
            proc.wait()
        if not got.endswith(answer + b"]\n" if not args else answer + b"\n"):
            r.fail("conversation %s" % args, "ends with %r" % got[-200:])


def check_describe(r):
    for name, payload in (("leaflet", LEAFLET),
                          ("book", job(0, Ncomkai={"0": "32", "1": "16"}, Ntxtkaizhi={"0": "4"},
                                       Comyinji={"1": 1, "0": 3}, Cmbkaizhi={"0": "2"},
                                       Lsthua={"1": 1, "0": 1}, txtye={"0": "96"},
                                       Chkzhikai={"1": 1}, Chkhua={"5": 1})),
                          ("bare box", {"kind": 3})):
        done = r.run(payload, "--describe")
        if done.returncode != 0:
            r.fail("describe " + name, done.stderr.strip())
            continue
        described = json.loads(done.stdout)
        again = json.loads(r.run(described, "--describe").stdout)
        if again != described:
            r.fail("describe " + name, "%r became %r" % (described, again))
        if "Cmbkaizhi" in described.get("controls", {}) and name == "book":
            r.fail("describe book", "the first offered sheet size need not be written")
        same_price(r, "describe " + name, payload, described)
    described = json.loads(r.run(LEAFLET, "--describe").stdout)
    expected = {"kind": 2, "controls": {
        "txtshuliang": {"2": "1000"}, "Cmbkaizhi": {"7": "4"}, "Ncomyinse": {"15": "0"},
        "Chkzifan": {"7": 0}, "Chkdan": {"0": 1}, "Lsthua": {"0": 1}, "optwa": 1,
        "Cmbdin": 2}}
    if described != expected:
        r.fail("describe leaflet", "%r" % described)


def check_escaping(r):
    """Names with the characters JSON must escape, at every offset within a
    sixteen-byte block and between texts that need none, come back intact;
    a name with a control character, which no entry box can hold, is refused,
    and an unknown control's name quoted in the refusal comes back intact."""
    controls = "".join(chr(c) for c in range(1, 0x20)) + "\x7f"
    names, bad = [], []
    for offset in range(18):
        for special in '"\\':
            names.append("客" * (offset % 3) + "a" * offset + special + "b\\\"名" + special)
        bad.append("客" * (offset % 3) + "a" * offset + controls[offset::9] + "b")
    jobs = ([leaflet(txtkehuming={"2": name}) for name in names + bad]
            + [leaflet(**{"x" + controls + '"\\': 1})])
    lines = "\n".join(json.dumps(j, ensure_ascii=False) for j in jobs)
    done = r.run(lines + "\n", "--lines")
    answers = [json.loads(line) for line in done.stdout.split("\n") if line]
    if done.returncode != 2 or len(answers) != len(jobs):
        r.fail("escaping", "exit %d, %d answers" % (done.returncode, len(answers)))
        return
    for name, answer in zip(names, answers):
        if not answer.get("resultText", "").startswith("客户名：" + name + "\r\n"):
            r.fail("escaping %r" % name, str(answer)[:80])
    for name, answer in zip(bad, answers[len(names):]):
        if "单张\\招贴的客户名称含有换行等控制字符" not in answer.get("error", ""):
            r.fail("control character %r" % name, str(answer)[:80])
    # A control character in a quoted name is shown as \u00XX text.
    shown = "".join("\\u%04x" % ord(c) if ord(c) < 0x20 or ord(c) == 0x7f else c
                    for c in controls)
    if "没有名为“x" + shown + '"\\”的控件' not in answers[-1].get("error", ""):
        r.fail("escaped control name", str(answers[-1])[:120])


def check_output(r):
    """Every line the tool writes is UTF-8 JSON, however broken the bytes it
    quotes; a write that fails and input that is a folder end the run with
    a message instead of a silent success or the library's words."""
    broken = b'{"kind": 2, "controls": {"txtkehuming": {"2": "a\xff\xfeb"}}}\n\xc3\x28\n'
    done = subprocess.run([r.cli, "--dir", r.folder, "price", "--lines"], input=broken,
                          capture_output=True, timeout=60)
    try:
        errors = [json.loads(line.decode("utf-8"))["error"] for line in done.stdout.splitlines()]
    except (UnicodeDecodeError, ValueError, KeyError) as e:
        r.fail("broken UTF-8 in JSON Lines", "%s in %r" % (e, done.stdout))
    else:
        if done.returncode != 2 or len(errors) != 2 or "\ufffd" not in errors[0]:
            r.fail("broken UTF-8 in JSON Lines", "exit %d, %r" % (done.returncode, errors))

    # One blank saved quotation, so that the history has a line to write.
    history = os.path.join(r.folder, "frecord.dat")
    with open(history, "wb") as f:
        f.write(b"\0" * 860)
    with open("/dev/full", "wb") as full:
        for args, payload in ((["price"], LEAFLET), (["history"], None),
                              (["scheme", "list"], None)):
            done = subprocess.run([r.cli, "--dir", r.folder, *args], stdout=full,
                                  stderr=subprocess.PIPE, timeout=60,
                                  input=json.dumps(payload).encode() if payload else b"")
            if done.returncode != 1 or "标准输出" not in done.stderr.decode("utf-8", "replace"):
                r.fail(" ".join(args) + " to a full disk",
                       "exit %d, stderr %r" % (done.returncode, done.stderr))
    os.remove(history)

    # A Windows shell never hands a program a folder as its input.
    if r.cli.endswith((".exe", ".sh")):
        return
    folder = os.open(r.folder, os.O_RDONLY)
    try:
        done = subprocess.run([r.cli, "--dir", r.folder, "price"], stdin=folder,
                              capture_output=True, timeout=60)
    finally:
        os.close(folder)
    if done.returncode != 2 or "标准输入是一个文件夹" not in done.stderr.decode("utf-8"):
        r.fail("a folder as the job", "exit %d, stderr %r" % (done.returncode, done.stderr))


def main():
    cli = sys.argv[1]
    with ProgramFolder(cli, "inkquot-price-input-") as folder:
        r = Runner(cli, folder.path)
        check_format(r)
        check_defaults(r)
        check_refusals(r)
        check_batches(r)
        check_conversation(r)
        check_describe(r)
        check_escaping(r)
        check_output(r)
        print("%d failures" % r.failures)
        return 1 if r.failures else 0


if __name__ == "__main__":
    sys.exit(main())
