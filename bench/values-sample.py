#!/usr/bin/env python3
"""A fixed sample of 100 value links to judge by hand: one-word clue words of
at most 8 letters and answers of 2 to 6 letters, chosen by a hash of the link
and the seed, so that two databases give the same links where they hold them.
   bench/values-sample.py DB [SEED]"""
import hashlib
import sqlite3
import sys

if len(sys.argv) not in (2, 3) or (len(sys.argv) == 3 and not sys.argv[2].isdigit()):
    sys.exit("usage: bench/values-sample.py DB [SEED]")
seed = sys.argv[2] if len(sys.argv) == 3 else "1"
rows = sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True).execute(
    "SELECT Ord, Verdi FROM T_OrdVerdi WHERE Ord NOT LIKE '% %' AND length(Ord) <= 8 "
    "AND length(Verdi) BETWEEN 2 AND 6").fetchall()
print(f"{len(rows)} links of that kind")
key = lambda r: hashlib.sha1(f"{seed} {r[0]} {r[1]}".encode()).hexdigest()
for i, (clue, answer) in enumerate(sorted(rows, key=key)[:100], 1):
    print(f"{i:3} {clue} → {answer}")
