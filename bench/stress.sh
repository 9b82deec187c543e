#!/usr/bin/env bash
# Several processes saving and erasing on one word database at once, with a
# connection that holds the file locked now and then; then every logged
# result is checked against the file. Exit status 0: nothing lost.
#   bench/stress.sh BUILD_DIR [PROCESSES=3] [CALLS_EACH=3000]
set -euo pipefail
build="$(cd "$1" && pwd)"
procs="${2:-3}"
calls="${3:-3000}"
dir="$(mktemp -d /tmp/velmora-stress.XXXXXX)"
trap 'rm -rf "$dir"' EXIT
"$build/tools/velmora-mkdb" "$dir/velmora.mdb" >/dev/null
stress="$build/bench/velmora-stress"
pids=()
for i in $(seq 1 "$procs"); do
  "$stress" work "$dir/velmora.mdb" "$dir/log-$i" "$((RANDOM + i))" "$calls" & pids+=($!)
done
"$stress" lock "$dir/velmora.mdb" 3600 "$RANDOM" & locker=$!
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
kill "$locker" 2>/dev/null; wait "$locker" 2>/dev/null || true
"$stress" check "$dir/velmora.mdb" "$dir"/log-* || status=1
exit $status
