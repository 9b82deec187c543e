#!/usr/bin/env bash
# Two processes editing one word database while the file is moved away and
# put back and its permissions are flipped (none, read-only, read-write) at
# random moments. A call the file refuses is logged as refused; an error
# that would end Velmora ends the process, which is started again. Then
# every logged result is checked against the file: nothing reported done may
# be missing. Exit status 0: nothing lost.
#   bench/faults.sh BUILD_DIR [SECONDS=30]
# Run as root, the editing processes run as nobody, since root reads and
# writes whatever the permissions say.
set -euo pipefail
build="$(cd "$1" && pwd)"
seconds="${2:-30}"
dir="$(mktemp -d /tmp/velmora-faults.XXXXXX)"
trap 'rm -rf "$dir"' EXIT
db="$dir/velmora.mdb"
"$build/tools/velmora-mkdb" "$db" >/dev/null
stress="$build/bench/velmora-stress"
as=()
if [ "$(id -u)" = 0 ]; then
  chown -R nobody "$dir"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

end=$((SECONDS + seconds))
# One editor: started again each time an error ends it, until the time is up.
editor() {
  local i=$1 ended=0 runs=0
  while [ $SECONDS -lt $end ]; do
    runs=$((runs + 1))
    "${as[@]}" "$stress" work "$db" "$dir/log-$i" "$((RANDOM * 32768 + RANDOM))" 400 ends 2>>"$dir/said-$i" \
      || ended=$((ended + 1))
  done
  echo "$ended $runs" >"$dir/ended-$i"
}
editor 1 & e1=$!
editor 2 & e2=$!

moves=0 flips=0
while [ $SECONDS -lt $end ]; do
  sleep "0.$((RANDOM % 3))$((RANDOM % 10))"
  if [ $((RANDOM % 2)) = 0 ]; then
    mv "$db" "$db.away"
    sleep "0.0$((RANDOM % 10))"
    mv "$db.away" "$db"
    moves=$((moves + 1))
  else
    modes=(000 444 644)
    chmod "${modes[RANDOM % 3]}" "$db"
    sleep "0.$((RANDOM % 2))$((RANDOM % 10))"
    chmod 644 "$db"
    flips=$((flips + 1))
  fi
done
wait "$e1" "$e2"

read -r ended1 runs1 <"$dir/ended-1"
read -r ended2 runs2 <"$dir/ended-2"
cat "$dir"/log-* >"$dir/all"
calls=$(wc -l <"$dir/all")
refused=$(grep -c ' refused$' "$dir/all" || true)
busy=$(grep -c ' busy$' "$dir/all" || true)
endedCalls=$(grep -c ' ended$' "$dir/all" || true)
echo "faults: $moves moves away and back, $flips permission flips in $seconds s"
echo "calls: $calls; refused (read-only): $refused; busy: $busy; ended a process: $endedCalls"
echo "processes: $((runs1 + runs2)) started, $((ended1 + ended2)) ended by an error"
cat "$dir"/said-* >"$dir/said" 2>/dev/null || true
echo "  why: gone $(grep -c 'is gone' "$dir/said" || true), no permission to read" \
  "$(grep -c 'no permission' "$dir/said" || true), other $(grep -vc -e 'is gone' -e 'no permission' "$dir/said" || true)"
grep -v -e 'is gone' -e 'no permission' "$dir/said" | sort | uniq -c | head -5 || true
"$stress" check "$db" "$dir"/log-* | grep -E '^(FAULT|rows|all|FAILED)'
