#!/bin/sh
# How the archives here were made, once, with an independent LZH program (Debian's
# jlha-utils); the tests only read the files. Run in an empty folder.
set -e
python3 - <<'PY'
import random
random.seed(7)
lines = []
for t in range(12):
    lines.append("" if t % 3 else "リール停止%d" % t)
    for p in range(21):
        lines.append(",".join(str(random.randrange(5)) for _ in range(3)))
for i in range(64):
    lines.append(" %d  %d " % (random.randrange(257), random.randrange(1, 513)))
pool = [random.randrange(1, 513) for _ in range(12)]
for i in range(420):
    lines.append(" %d " % (random.choice(pool) if i % 7 else 1))
open("dummy.dat", "wb").write(("\r\n".join(lines) + "\r\n").encode("cp932"))
PY
for m in 5 6 7; do
  for l in 0 1 2; do jlha a${l}o${m}q lh${m}_level${l}.lzh dummy.dat; done
done
jlha a2zq lh0_level2.lzh dummy.dat
printf 'second member\r\n' > second.txt
jlha a0o5q two_level0.lzh dummy.dat second.txt
cp dummy.dat UPPER.DAT && jlha a0o5q upper_level0.lzh UPPER.DAT && rm UPPER.DAT
echo jp > "リール.txt" && jlha a2o5yq jpname_level2.lzh "リール.txt" && rm "リール.txt"
