#!/usr/bin/env bash
# Mutation check: puts one small, plausible fault at a time into a copy of
# the tree (never into the working tree itself), builds, runs the suite and
# says whether a test caught the fault. The faults are listed in
# scripts/mutants.txt; each names a file, a text that must stand there
# exactly once, and what it becomes.
#   scripts/mutate.sh [NAME...]     only the faults named
# Environment: VELMORA_MUTATE_DIR (default build-mutate/) holds the copy and
# its build, kept between runs so that each fault rebuilds only what it touches.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
work="${VELMORA_MUTATE_DIR:-$here/build-mutate}"
tree="$work/tree"
build="$work/build"

# The copy holds what git knows of (tracked and new, not ignored files); a
# file is copied only when its text differs, so the build redoes only what
# changed since the last run.
mkdir -p "$tree"
(cd "$here" && git ls-files -co --exclude-standard -z) | while IFS= read -r -d '' f; do
  [ -f "$here/$f" ] || continue
  cmp -s "$here/$f" "$tree/$f" || { mkdir -p "$(dirname "$tree/$f")"; cp "$here/$f" "$tree/$f"; }
done

# Files gone from the tree go from the copy too.
(cd "$tree" && find . -type f -not -path './.git/*' | sed 's|^\./||') | while IFS= read -r f; do
  [ -e "$here/$f" ] || rm -f "$tree/$f"
done

(cd "$tree" && cmake --preset mutate -B "$build" >/dev/null)
echo "== The suite on the unchanged copy"
cmake --build "$build" -j"$(nproc)" >/dev/null
if ! ctest --test-dir "$build" -j2 >"$work/clean.log" 2>&1; then
  echo "the suite fails without any fault (see $work/clean.log)"
  exit 2
fi

# Blocks of "name:", "file:", "from:", "to:" lines; a blank line ends one.
names=() files=() froms=() tos=()
name="" file="" from="" to=""
flush() {
  [ -n "$name" ] || return 0
  names+=("$name") files+=("$file") froms+=("$from") tos+=("$to")
  name="" file="" from="" to=""
}
while IFS= read -r line || [ -n "$line" ]; do
  case "$line" in
    name:*) name="${line#name: }" ;;
    file:*) file="${line#file: }" ;;
    from:*) from="${line#from: }" ;;
    to:*) to="${line#to: }" ;;
    "") flush ;;
  esac
done < <(grep -v '^#' "$tree/scripts/mutants.txt")
flush

caught=0 missed=0 broken=0 total=0
missed_names=()
for i in "${!names[@]}"; do
  n="${names[$i]}"
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qxF "$n"; then continue; fi
  total=$((total + 1))
  f="$tree/${files[$i]}"
  cp "$f" "$f.orig"
  # Literal replacement, refused unless the text stands there exactly once.
  if ! FROM="${froms[$i]}" TO="${tos[$i]}" perl -0777 -i -pe '
        my $n = () = /\Q$ENV{FROM}\E/g;
        die "matches $n times\n" unless $n == 1;
        s/\Q$ENV{FROM}\E/$ENV{TO}/;' "$f" 2>"$work/apply.log"; then
    echo "NOT APPLIED  $n (${files[$i]}: $(cat "$work/apply.log"))"
    broken=$((broken + 1))
    mv "$f.orig" "$f"
    continue
  fi
  if ! cmake --build "$build" -j"$(nproc)" >"$work/$n.build.log" 2>&1; then
    echo "NO BUILD     $n"
    broken=$((broken + 1))
  elif ctest --test-dir "$build" -j2 --stop-on-failure --timeout 120 >"$work/$n.test.log" 2>&1; then
    echo "MISSED       $n"
    missed=$((missed + 1))
    missed_names+=("$n")
  else
    echo "caught       $n ($(grep -m1 -oE '[0-9]+ - [A-Za-z0-9_./]+' "$work/$n.test.log" | head -1))"
    caught=$((caught + 1))
  fi
  mv "$f.orig" "$f"
  touch "$f"
done
# Leave the build matching the unchanged copy.
cmake --build "$build" -j"$(nproc)" >/dev/null 2>&1 || true
echo "== caught $caught of $((caught + missed)) faults (missed: ${missed_names[*]:-none}; not applied or not built: $broken)"
