#!/usr/bin/env bash
# Builds Velmora and starts it on velmora.mdb in the current folder, making a
# first word database there when none is: the demo word list and the word
# data installed (the English thesaurus, WordNet, iso-codes).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
VELMORA_TARGETS="velmora velmora-mkdb" bash "$here/scripts/build.sh" "$here/build"
if [ ! -e velmora.mdb ]; then
  "$here/build/tools/velmora-mkdb" velmora.mdb --installed
fi
exec "$here/build/app/velmora"
