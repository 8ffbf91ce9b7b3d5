#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite:
#   1. every test of the project (CTest, widget tests offscreen), built with warnings as errors
#      and run under AddressSanitizer and UndefinedBehaviorSanitizer, leaks included;
#   2. a short, bounded libFuzzer run of every reader of outside bytes (scripts/fuzz_all.sh).
# One instrumented build serves all tests, so the suite stays quick on a two-core machine; the
# workstation itself is built without instrumentation by scripts/build.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/setup.sh"

echo "== build and every test, under AddressSanitizer + UndefinedBehaviorSanitizer =="
cmake -S "$root" -B "$root/build-test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1" \
    -DKAVRINO_SANITIZE=ON -DKAVRINO_WERROR=ON
cmake --build "$root/build-test" --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$root/build-test" --output-on-failure --parallel "$jobs" --timeout 600

echo "== fuzzing every reader of outside bytes (bounded) =="
"$root/scripts/fuzz_all.sh" "${KAVRINO_FUZZ_SECONDS:-15}"
echo "All test stages passed."
