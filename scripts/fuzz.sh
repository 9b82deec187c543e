#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (default 60 s each). Inputs that crash are kept in tests/fuzz/crashes/;
# add them as regression cases to the tests.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
secs="${1:-60}"
VELMORA_FUZZ=1 bash "$here/scripts/setup.sh"
dir="$here/build-fuzz"
(cd "$here" && cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j"$(nproc)")
mkdir -p "$here/tests/fuzz/crashes"
status=0
for t in pattern csv thesaurus keys; do
  corpus="$dir/corpus-$t"
  mkdir -p "$corpus"
  cp -n "$here/tests/fuzz/seeds/$t/"* "$corpus/" 2>/dev/null || true
  echo "== fuzz_$t for $secs s"
  ASAN_OPTIONS=detect_leaks=0 "$dir/tests/fuzz/fuzz_$t" -max_total_time="$secs" -max_len=4096 \
    -artifact_prefix="$here/tests/fuzz/crashes/$t-" -print_final_stats=1 "$corpus" 2>&1 |
    grep -E "^#[0-9]+ +DONE|stat::number_of_executed_units|ERROR|SUMMARY|deadly" || true
  ls "$here/tests/fuzz/crashes/$t-"* >/dev/null 2>&1 && { echo "fuzz_$t: crashing inputs kept in tests/fuzz/crashes"; status=1; }
done
exit $status
