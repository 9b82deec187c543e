#!/usr/bin/env bash
# Configures with a preset of CMakePresets.json (VELMORA_PRESET, default
# dev) and builds, into the preset's folder or the folder given as $1;
# further arguments go to cmake. Only the targets in VELMORA_TARGETS when it
# is set.
#   scripts/build.sh [DIR] [-DOPTION=VALUE...]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
preset="${VELMORA_PRESET:-dev}"
where=()
if [ $# -gt 0 ]; then
  mkdir -p "$1"
  where=(-B "$(cd "$1" && pwd)")
  shift
fi
(cd "$here" && cmake --preset "$preset" "${where[@]}" "$@" >/dev/null)
targets=()
for t in ${VELMORA_TARGETS:-}; do targets+=(--target "$t"); done
if [ ${#where[@]} -gt 0 ]; then
  cmake --build "${where[1]}" -j"$(nproc)" "${targets[@]}"
else
  (cd "$here" && cmake --build --preset "$preset" -j"$(nproc)" "${targets[@]}")
fi
