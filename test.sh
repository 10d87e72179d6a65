#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs the tests; the
# libraries, the program and the tests keep their asserts, the benchmarks are built without them.
# JUX_SANITIZE=1 builds and runs them once more with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/); JUX_SANITIZE=thread builds and runs the engine's, spelling's, proof-reader's and
# platform's tests (with the Qt panels) with ThreadSanitizer (build-tsan/).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/deps.sh"
case "${JUX_SANITIZE:-0}" in
  1)
    build="$here/build-asan"
    extra=(-DJUX_SANITIZE=ON -DJUX_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
    ;;
  thread)
    # Optimised, with asserts: a Debug build runs the long differential tests too slowly under TSan.
    build="$here/build-tsan"
    extra=(-DJUX_SANITIZE=thread -DJUX_BENCH=OFF -DJUX_ASSERTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
    ;;
  0)
    build="$here/build-test"
    extra=(-DJUX_SANITIZE=OFF -DJUX_ASSERTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
    ;;
  *)
    echo "JUX_SANITIZE is 1 (AddressSanitizer and UndefinedBehaviorSanitizer) or thread (ThreadSanitizer)" >&2
    exit 2
    ;;
esac
cmake -S "$here" -B "$build" -G Ninja -DJUX_WERROR=ON "${extra[@]}"
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$here/tests/tsan_qt.supp}
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
