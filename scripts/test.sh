#!/usr/bin/env bash
# Builds and runs every test: the suite on a normal build, the same suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the end-to-end
# test in a real X server. The install test (staging folder, .deb, first
# start from the menu) follows the normal suite.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"

echo "== Build and test"
bash "$here/scripts/build.sh" "$here/build"
ctest --test-dir "$here/build" --output-on-failure -j2

echo "== Install, package and first start from the menu"
bash "$here/tests/install/run.sh" "$here/build"

echo "== Build and test with sanitizers"
bash "$here/scripts/build.sh" "$here/build-asan" -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$here/build-asan" --output-on-failure -j2

if [ -x "$here/tests/e2e/run.sh" ]; then
  echo "== End-to-end in a real X server"
  bash "$here/tests/e2e/run.sh" "$here/build"
fi
