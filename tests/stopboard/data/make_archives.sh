#!/bin/sh
# How the .rcf archives here were made, once, with an independent LZH program (Debian's
# jlha-utils); the tests only read the files. Run in an empty folder. dummy.dat is the
# whole text of the tests' fixture document for reel data with one prize entry.
set -e
python3 - <<'PY'
def spaced(*values):
    return "".join(("-" if v < 0 else " ") + str(abs(v)) + " " for v in values)
lines = []
for t in range(1, 513):
    stops = [[0] * 21 for _ in range(3)]
    if t == 1:
        for r in range(3):
            for p in range(21):
                stops[r][p] = (p + 2 * r) % 5
        stops[0][20] = -3
        stops[1][5] = 12
    lines.append("ＢＢ揃い・中段" if t == 1 else "")
    for p in range(21):
        lines.append(",".join(str(stops[r][p]) for r in range(3)))
first = [(128, 5), (256, 512), (-1, -300), (0, 0), (32767, -32768), (0, 1), (7, 0), (64, 64)]
for b in range(1, 513):
    for s in range(8):
        lines.append(spaced(*(first[s] if b == 1 else (0, 0))))
groups = 3 * 3 * 3 * 6 + 1
for g in range(groups):
    for i in range(2 * 105):  # flags 0 and 1, five big types, first stops 1 to 21
        value = {0: 7, 1: -2, 2: 512}.get(i, 1) if g == 0 else 1
        lines.append(spaced(value))
open("dummy.dat", "wb").write(("\r\n".join(lines) + "\r\n").encode("cp932"))
PY
jlha a0o5q fixture_lh5_level0.rcf dummy.dat
jlha a2o7q fixture_lh7_level2.rcf dummy.dat
rm dummy.dat
