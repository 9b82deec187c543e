#!/usr/bin/env bash
# Wall time from starting the program to its main window on the screen, five
# runs in Xvfb, on the word database velmora.mdb in folder DIR.
#   bench/startup.sh BUILD_DIR DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
dir="$(cd "$2" && pwd)"
[ -f "$dir/velmora.mdb" ] || { echo "startup: no velmora.mdb in $dir" >&2; exit 1; }
version=$("$build/app/velmora" --version | sed -n 's/^velmora //p')
cat >"$dir/.startup-runs.sh" <<RUNS
cd "$dir"
for i in 1 2 3 4 5; do
  s=\$(date +%s%N)
  "$build/app/velmora" 2>/dev/null & p=\$!
  until xdotool search --onlyvisible --name "^Velmora $version" >/dev/null 2>&1; do sleep 0.01; done
  e=\$(date +%s%N)
  echo "run \$i: \$(( (e - s) / 1000000 )) ms to the main window"
  kill \$p; wait \$p 2>/dev/null || true
done
RUNS
xvfb-run -a bash "$dir/.startup-runs.sh"
rm -f "$dir/.startup-runs.sh"
