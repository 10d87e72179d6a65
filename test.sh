#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs the tests.
# JUX_SANITIZE=1 builds and runs them once more with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/deps.sh"
build="$here/build-test"
extra=()
if [ "${JUX_SANITIZE:-0}" = 1 ]; then
  build="$here/build-asan"
  extra=(-DJUX_SANITIZE=ON -DJUX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
else
  extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S "$here" -B "$build" -G Ninja -DJUX_WERROR=ON "${extra[@]}"
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
