#!/usr/bin/env bash
# Fill grid on the grids in bench/grids: the three arrow-word grids over the
# default English word database, the grid with ten open answers over about
# 1.6 million words (the English words and ten copies behind one digit).
# Builds both databases once in FOLDER.
#   bench/fill.sh BUILD_DIR [FOLDER]          FOLDER: /tmp/velmora-fill
# Needs velmora-mkdb and velmora_fillbench built in BUILD_DIR, the sqlite3
# shell and the word-data packages that scripts/setup.sh installs.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
dir="${2:-/tmp/velmora-fill}"
mkdir -p "$dir"
if [ ! -f "$dir/en.mdb" ]; then
  "$build/tools/velmora-mkdb" "$dir/en.mdb.part" --installed >/dev/null
  mv "$dir/en.mdb.part" "$dir/en.mdb"
fi
if [ ! -f "$dir/big.mdb" ]; then
  cp "$dir/en.mdb" "$dir/big.mdb.part"
  sqlite3 "$dir/big.mdb.part" <<'SQL'
BEGIN;
CREATE TEMP TABLE digit (d TEXT);
INSERT INTO digit VALUES ('0'), ('1'), ('2'), ('3'), ('4'), ('5'), ('6'), ('7'), ('8'), ('9');
INSERT INTO T_Ord (Ord, Notat) SELECT d || Ord, 'X' FROM T_Ord, digit;
COMMIT;
SQL
  mv "$dir/big.mdb.part" "$dir/big.mdb"
fi
echo "default English word database: $(sqlite3 "$dir/en.mdb" 'SELECT count(*) FROM T_Ord') words"
"$build/bench/velmora_fillbench" "$dir/en.mdb" "$here"/bench/grids/arrow-*.ipuz
echo "large word database: $(sqlite3 "$dir/big.mdb" 'SELECT count(*) FROM T_Ord') words"
"$build/bench/velmora_fillbench" "$dir/big.mdb" "$here/bench/grids/open-10.ipuz"
