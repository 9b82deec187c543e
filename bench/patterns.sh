#!/usr/bin/env bash
# Pattern search at the size of a full word list, side by side with grep -E.
# Builds (once) a word database of about 1.6 million words in FOLDER: the
# English thesaurus and ten copies of its words and synonym rows, each copy
# behind one digit; writes the same words to FOLDER/words.txt; then times, in
# one run, Velmora's pattern lookups through the main window (keystroke to
# results window shown, bench/pattern_bench.cpp) and grep -E counting the
# same matches in the text file, and prints the ratios.
#   bench/patterns.sh BUILD_DIR [FOLDER]     FOLDER: /tmp/velmora-patterns
# Needs velmora-mkdb and velmora_patterns built in BUILD_DIR (Release), the
# sqlite3 shell and mythes-en-us.
set -euo pipefail
build="$(cd "$1" && pwd)"
dir="${2:-/tmp/velmora-patterns}"
thesaurus=/usr/share/mythes/th_en_US_v2.dat
patterns=("?" "?A?E*" "*ING" "*RE?" "KA*")
mkdir -p "$dir"
dir="$(cd "$dir" && pwd)"
db="$dir/velmora.mdb"
if [ ! -f "$db" ]; then
  rm -f "$db.part"
  "$build/tools/velmora-mkdb" "$db.part" --thesaurus "$thesaurus" >/dev/null
  sqlite3 "$db.part" <<'SQL'
BEGIN;
CREATE TEMP TABLE digit (d TEXT);
INSERT INTO digit VALUES ('0'), ('1'), ('2'), ('3'), ('4'), ('5'), ('6'), ('7'), ('8'), ('9');
INSERT INTO T_Ord (Ord, Notat) SELECT d || Ord, 'X' FROM T_Ord, digit;
INSERT INTO T_OrdSynonym (Ord, Synonym, Notat) SELECT d || Ord, d || Synonym, 'X' FROM T_OrdSynonym, digit;
COMMIT;
ANALYZE;
SQL
  mv "$db.part" "$db"
fi
sqlite3 "$db" "SELECT Ord FROM T_Ord WHERE Ord IS NOT NULL ORDER BY Ord" >"$dir/words.txt"
echo "word database: $db, $(wc -l <"$dir/words.txt") words"

# The pattern as Velmora takes it (pattern + "*", "?" one character, "*" any
# run) as an extended regular expression anchored at the start.
ere() {
  local p="$1" out="^" c i
  for ((i = 0; i < ${#p}; i++)); do
    c="${p:i:1}"
    case "$c" in
      "?") out+="." ;;
      "*") out+=".*" ;;
      [A-Za-z0-9\ -]) out+="$c" ;;
      *) out+="\\$c" ;;
    esac
  done
  printf '%s' "$out"
}

# Best of five runs of grep -E -c, in ms, and its count.
grep_ms() {
  local best=999999 s e t n
  for _ in 1 2 3 4 5; do
    s=$(date +%s%N)
    n=$(grep -E -c -- "$1" "$dir/words.txt" || true)
    e=$(date +%s%N)
    t=$(((e - s) / 1000))
    ((t < best)) && best=$t
  done
  echo "$n $best"
}

velmora=$("$build/bench/velmora_patterns" "$dir" 5 "${patterns[@]}" 2>/dev/null)
grep '^memory' <<<"$velmora"
printf '%-8s %9s %9s %14s %14s %10s %8s  %s\n' pattern velmora grep "velmora best" "velmora median" "grep best" ratio "peak memory"
for p in "${patterns[@]}"; do
  line=$(awk -F'\t' -v p="$p" '$1 == p' <<<"$velmora")
  IFS=$'\t' read -r _ found best median peak <<<"$line"
  read -r gn gus <<<"$(grep_ms "$(ere "$p")")"
  gms=$(awk -v u="$gus" 'BEGIN { printf "%.2f", u / 1000 }')
  ratio=$(awk -v a="$best" -v b="$gms" 'BEGIN { printf "%.2f", a / b }')
  printf '%-8s %9s %9s %11s ms %11s ms %7s ms %7sx  %s\n' "$p" "$found" "$gn" "$best" "$median" "$gms" "$ratio" "$peak"
done
