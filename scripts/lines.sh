#!/usr/bin/env bash
# Counts the lines of C++ that are neither blank nor comments only: the
# program's (src, app, tools), the tests', and the one to the other. With
# folders as arguments, the lines of each (tests/store tests/lookup ...).
#   scripts/lines.sh [FOLDER...]
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  git ls-files -co --exclude-standard -- "$@" | grep -E '\.(cpp|h)$' | while IFS= read -r f; do
    [ -f "$f" ] && cat "$f"
  done | grep -c -v -E '^\s*(//.*)?$' || true
}
if [ $# -gt 0 ]; then
  for d in "$@"; do printf '%-24s %6d\n' "$d" "$(count "$d")"; done
  exit 0
fi
code=$(count src app tools)
tests=$(count tests)
awk -v c="$code" -v t="$tests" 'BEGIN { printf "code lines  %6d\ntest lines  %6d\nratio       %6.2f\n", c, t, t / c }'
