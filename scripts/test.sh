#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite:
#   1. every test of the project (CTest, widget tests offscreen), built with warnings as errors;
#   2. the engine's tests again under AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. a short, bounded libFuzzer run against the engine's JSON entry point.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
"$root/scripts/setup.sh"

echo "== build and test =="
"$root/scripts/build.sh" -DKAVRINO_WERROR=ON
ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs" --timeout 300

echo "== engine under AddressSanitizer + UndefinedBehaviorSanitizer =="
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DKAVRINO_ENGINE_ONLY=ON -DKAVRINO_SANITIZE=ON -DKAVRINO_BENCH=OFF -DKAVRINO_WERROR=ON
cmake --build "$root/build-asan" --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs" --timeout 600

if [ -f "$root/engine/fuzz/CMakeLists.txt" ]; then
    echo "== fuzzing kavrino_solve_json (bounded) =="
    CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKAVRINO_ENGINE_ONLY=ON -DKAVRINO_FUZZ=ON -DKAVRINO_BENCH=OFF
    cmake --build "$root/build-fuzz" --parallel "$jobs" --target fuzz_solve_json
    "$root/engine/fuzz/run_fuzz.sh" "$root/build-fuzz/engine/fuzz/fuzz_solve_json" "${KAVRINO_FUZZ_SECONDS:-60}"
fi
echo "All test stages passed."
