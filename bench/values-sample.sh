#!/usr/bin/env bash
# A fixed sample of 100 value links to judge by hand: one-word clue words of
# at most 8 letters, answers of 2 to 6 letters, in an order that the seed
# chooses and the same database always repeats.
#   bench/values-sample.sh DB [SEED]
set -euo pipefail
db="${1:?usage: bench/values-sample.sh DB [SEED]}"
seed="${2:-1}"
[[ "$seed" =~ ^[0-9]+$ ]] || { echo "the seed is a number" >&2; exit 2; }
sqlite3 "$db" "SELECT count(*) || ' links of that kind' FROM T_OrdVerdi WHERE Ord NOT LIKE '% %'
  AND length(Ord) <= 8 AND length(Verdi) BETWEEN 2 AND 6"
sqlite3 "$db" "SELECT Ord || ' → ' || Verdi FROM T_OrdVerdi WHERE Ord NOT LIKE '% %'
  AND length(Ord) <= 8 AND length(Verdi) BETWEEN 2 AND 6
  ORDER BY ((rowid + $seed * 7919) * 2654435761) % 4294967291 LIMIT 100" | nl -w3 -s' '
