#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite:
#   1. every test of the project (CTest, widget tests offscreen), built with warnings as errors;
#   2. every test again under AddressSanitizer and UndefinedBehaviorSanitizer, leaks included;
#   3. a short, bounded libFuzzer run of every reader of outside bytes (scripts/fuzz_all.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/setup.sh"

echo "== build and test =="
"$root/scripts/build.sh" -DKAVRINO_WERROR=ON
ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs" --timeout 300

echo "== every test under AddressSanitizer + UndefinedBehaviorSanitizer =="
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DKAVRINO_SANITIZE=ON -DKAVRINO_BENCH=OFF -DKAVRINO_WERROR=ON
cmake --build "$root/build-asan" --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs" --timeout 600

echo "== fuzzing every reader of outside bytes (bounded) =="
"$root/scripts/fuzz_all.sh" "${KAVRINO_FUZZ_SECONDS:-20}"
echo "All test stages passed."
