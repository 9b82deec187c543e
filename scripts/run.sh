#!/usr/bin/env bash
# Builds Velmora and starts it on velmora.mdb in the current folder, making a
# first word database there when none is: the English thesaurus (when
# installed) and the demo word list.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
VELMORA_TARGETS="velmora velmora-mkdb" bash "$here/scripts/build.sh" "$here/build"
if [ ! -e velmora.mdb ]; then
  args=(velmora.mdb --demo)
  th=/usr/share/mythes/th_en_US_v2.dat
  [ -f "$th" ] && args+=(--thesaurus "$th")
  "$here/build/tools/velmora-mkdb" "${args[@]}"
fi
exec "$here/build/app/velmora"
