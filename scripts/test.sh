#!/usr/bin/env bash
# Builds and runs every test: the suite on a normal build where warnings are
# errors, the format and clang-tidy checks (scripts/lint.sh), the same suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the end-to-end
# test in a real X server. The install test (staging folder, .deb, first
# start from the menu) follows the normal suite.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
# ccache's keys name paths relative to this tree, so that another clone of it
# on this machine reuses what was compiled.
export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=true

# The store's tests run on SQLite files and on a throwaway PostgreSQL server.
pgdir="$(mktemp -d /tmp/velmora-pg.XXXXXX)"
trap 'bash "$here/scripts/pg-cluster.sh" remove "$pgdir"' EXIT
VELMORA_TEST_PG="$(bash "$here/scripts/pg-cluster.sh" start "$pgdir")"
export VELMORA_TEST_PG

echo "== Build (warnings are errors) and test"
VELMORA_PRESET=ci bash "$here/scripts/build.sh"
(cd "$here" && ctest --preset ci)

echo "== Format and clang-tidy"
bash "$here/scripts/lint.sh" --all

echo "== Install, package and first start from the menu"
bash "$here/tests/install/run.sh" "$here/build"

echo "== Build and test with sanitizers"
VELMORA_PRESET=sanitize bash "$here/scripts/build.sh"
(cd "$here" && ctest --preset sanitize)

if [ -x "$here/tests/e2e/run.sh" ]; then
  echo "== End-to-end in a real X server"
  bash "$here/tests/e2e/run.sh" "$here/build"
fi
