#!/usr/bin/env bash
# The enforced habits: every C++ file formatted as .clang-format says, and
# clang-tidy (.clang-tidy) silent on the files changed since BASE (default:
# the merge base with main; all files with --all, as CI runs it; a file
# already found clean as it stands is not looked at again, scripts/tidy.py). Tidy reads the dev
# build's compile database, so build first (scripts/build.sh). Fails, naming
# the files, when either finds something.
#   scripts/lint.sh [--all] [BASE]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
cd "$here"
all=0
[ "${1:-}" = --all ] && { all=1; shift; }
base="${1:-$(git merge-base HEAD main 2>/dev/null || echo HEAD)}"
# On main itself: what the last commit changed.
[ "$(git rev-parse "$base")" = "$(git rev-parse HEAD)" ] && base="HEAD~1"
status=0

mapfile -t sources < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
unformatted=()
for f in "${sources[@]}"; do
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "lint: not formatted (clang-format -i FILE): ${unformatted[*]}"
  status=1
fi

db="${VELMORA_LINT_BUILD:-$here/build}"
if [ ! -f "$db/compile_commands.json" ]; then
  echo "lint: no $db/compile_commands.json; build with scripts/build.sh first"
  exit 1
fi
if [ $all = 1 ]; then
  mapfile -t changed < <(git ls-files -- '*.cpp')
else
  mapfile -t changed < <( (git diff --name-only --diff-filter=d "$base" -- '*.cpp'; git ls-files -o --exclude-standard -- '*.cpp') | sort -u)
fi
# Only files the build compiles (the fuzz targets are built by clang alone).
tidy=()
for f in "${changed[@]}"; do
  grep -q "\"file\": \"$here/$f\"" "$db/compile_commands.json" && tidy+=("$f")
done
if [ ${#tidy[@]} -gt 0 ]; then
  echo "lint: clang-tidy on ${#tidy[@]} file(s)"
  python3 "$here/scripts/tidy.py" "$db" "${tidy[@]/#/$here/}" || status=1
fi
exit $status
