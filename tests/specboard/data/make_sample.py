#!/usr/bin/env python3
"""Writes sample.orf and Machine.sdf, line by line from the file layout, so the reader
and writer are checked against a file they did not make. The values follow the same
formulas as sampleMachine() in the test. Run once; the outputs are committed."""
import os

here = os.path.dirname(os.path.abspath(__file__))


def num(v):
    return ("-" if v < 0 else " ") + str(abs(v)) + " "


def spaced(*vals):
    return "".join(num(v) for v in vals)


LAST_PRIZE = 4
lines = []
t = lines.append

# Junk before the first header is skipped by the reader.
t("written by hand")
t("# using filename and orvane infomation")
t("machine.sdf")
t("machine.rcf")
t("machine.ppf")
t("テスト機")
t("作者")
t("一行目")
t("")
t("三行目です ")
t("End Of Exp")
t("# orvane basic data and spec infomation")
for s in range(1, 7):
    t(spaced(10 * s - 35))
for f in range(21):
    for s in range(7):
        for b in range(3):
            t(spaced(*[(f * 7 + s * 3 + b * 5 + st * 11) * 997 - 40000 for st in range(4)]))
t(spaced(1))
t(spaced(0))
t(spaced(1))
for i in range(5):
    t(spaced(10 * i + 5))
t("120")
t("")
for big in range(5):
    t(spaced(*[big * 5 + r for r in range(5)]))
for text in ["30", "3", "", "8"]:
    t(text)
for bet in range(3):
    for line in range(5):
        cell = lambda c: 1 if (bet + line + c) % 3 == 0 else 0
        for row in range(5):
            t(spaced(cell(row), cell(5 + row), cell(10 + row)))
        t(spaced((bet * 5 + line) % 6))
t("# using soundfilename and playtiming")
for n in range(1, 129):
    if n == 7:
        t("効果音.mid")
    elif n % 3 == 0:
        t("")
    else:
        t("se%03d.wav" % n)


def bonus(g):
    for st in range(2):
        for c in range(6):
            t(spaced(1000 * g + 100 * st + c * 7 - 50, (g * 12 + st * 6 + c) % 129))


t(spaced(100))
bonus(0)
for b in range(1, 6):
    t(spaced(20 + b))
t(spaced(101))
bonus(1)
for f in range(21):
    for c in range(6):
        t(spaced(f * 300 + c, (f + c) % 129))
t(spaced(102))
for r in range(3):
    for st in range(2):
        for c in range(6):
            t(spaced(r * 1000 + st * 100 + c, 30 + r + st + c, (r + st + c) % 2))
for r in range(3):
    for f in range(20):
        for c in range(6):
            t(spaced(r * 10000 + f * 100 + c - 1, (r * 7 + f + c) % 129, (r + f + c) % 2))
t("# Sound Effect and BGM setting")
for f in range(LAST_PRIZE + 1):
    for timing in range(2):
        t(spaced(*[(f * 6 + st * 2 + timing) % 129 for st in range(3)]))
t(spaced(1))
for i in range(8):
    t(spaced(120 + i))

with open(os.path.join(here, "sample.orf"), "wb") as out:
    out.write("".join(l + "\r\n" for l in lines).encode("cp932"))

# The reel data file the sample names, as the reel editor writes it.
sdf = ["120", "# pics size", "1080,540", "# pics name"]
for s in range(7):
    sdf += ['""'] * 4
sdf.append("# real arrangement")
for p in range(21):
    sdf.append("1,2,3")
sdf.append("# number of prize")
sdf.append(str(LAST_PRIZE))
sdf.append("# prize composition")
for e in range(LAST_PRIZE + 1):
    sdf.append(",".join(str(v) for v in [e % 7, 100 if e == 2 else (e + 1) % 7, (e + 2) % 7]))
    sdf.append(",".join(str(v) for v in [e, e + 1, e + 2]))
    sdf.append(",".join(str(v) for v in [e % 8, 0, 7]))
sdf += ["# number of flash action", "1", "# flash action composition"]
sdf += ["1,1,1"] * 5 + ["0"]
sdf.append(" #end of file")
# Stored in another case than the machine file names it: the lookup must still find it.
with open(os.path.join(here, "Machine.sdf"), "wb") as out:
    out.write("".join(l + "\r\n" for l in sdf).encode("cp932"))
