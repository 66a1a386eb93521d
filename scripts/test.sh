#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice (normal, ASan+UBSan),
# the threaded tests a third time under ThreadSanitizer, the core's tests built for Windows
# under Wine, and each fuzz target for a while.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

jobs=$(nproc)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}

status=0
for preset in default asan tsan; do
  echo "=== $preset: build"
  cmake --preset "$preset" -DVANTOREL_BUILD_TESTS=ON >/dev/null
  cmake --build --preset "$preset"
  echo "=== $preset: test"
  if ! ctest --preset "$preset" -j "$jobs"; then
    status=1
  fi
done
echo "=== windows: the core cross-built, its tests under Wine"
if ! bash scripts/windows_tests.sh build/default/tests/ntp_probe; then
  status=1
fi
echo "=== fuzz"
if ! bash scripts/fuzz.sh; then
  status=1
fi
exit $status
