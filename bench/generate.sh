#!/usr/bin/env bash
# velmora --generate on ten seeds (or SEEDS) over one word database: the
# median of the wall-clock time, the CPU time, the blank squares, the share
# of letter squares in an answer, of answers with a clue word and of clue
# squares, and the worst of each over the seeds.
#   bench/generate.sh BUILD_DIR DATABASE.mdb [SEEDS]
# The default English database: build/tools/velmora-mkdb /tmp/en.mdb --installed
set -euo pipefail
build="$(cd "$1" && pwd)"
db="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
seeds="${3:-10}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ln -s "$db" "$work/velmora.mdb"
: >"$work/rows"
failed=0
for s in $(seq 1 "$seeds"); do
  if ! (cd "$work" && /usr/bin/time -f "%e %U %S" -o time "$build/app/velmora" --generate "p$s.ipuz" --seed "$s" >out 2>err); then
    echo "seed $s: no puzzle: $(tail -1 "$work/err")"
    failed=$((failed + 1))
    continue
  fi
  line="$(head -1 "$work/out")"
  read -r wall user sys <"$work/time"
  # Made p1.ipuz (seed 1) in 1.23 s: 56 clue squares (24.9 %), 169 letter squares
  # (100.0 % in an answer), 0 blank, 78 answers (100.0 % with a clue word), 2 layouts tried
  clue="$(sed -E 's/.* clue squares \(([0-9.]+) %\).*/\1/' <<<"$line")"
  inans="$(sed -E 's/.*\(([0-9.]+) % in an answer\).*/\1/' <<<"$line")"
  blank="$(sed -E 's/.*, ([0-9]+) blank,.*/\1/' <<<"$line")"
  clued="$(sed -E 's/.*\(([0-9.]+) % with a clue word\).*/\1/' <<<"$line")"
  cpu="$(echo "$user + $sys" | bc)"
  echo "seed $s: $wall s (CPU $cpu s), $blank blank, $inans % in an answer, $clued % with a clue word, $clue % clue squares"
  echo "$wall $cpu $blank $inans $clued $clue" >>"$work/rows"
done
median() { cut -d' ' -f"$1" "$work/rows" | sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
worst() { cut -d' ' -f"$1" "$work/rows" | sort -g | sed -n "$2"; }
echo "median over $seeds seeds: $(median 1) s (CPU $(median 2) s), $(median 3) blank, $(median 4) % of letter squares in an answer, $(median 5) % of answers with a clue word, $(median 6) % clue squares"
echo "worst: $(worst 1 '$p') s, $(worst 3 '$p') blank, $(worst 4 1p) % in an answer, $(worst 5 1p) % with a clue word, $(worst 6 '$p') % clue squares"
echo "seeds without a puzzle: $failed"
echo "machine load when done: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
