#!/usr/bin/env bash
# Builds every libFuzzer target with clang into build-fuzz/ and runs each for a bounded time
# from its seed corpus (<module>/fuzz/corpus/<name without fuzz_>).
#   scripts/fuzz_all.sh [seconds per target, default 20]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAVRINO_FUZZ=ON -DKAVRINO_BENCH=OFF -DBUILD_TESTING=OFF -DKAVRINO_WERROR=ON >/dev/null
cmake --build "$root/build-fuzz" --parallel "$(nproc)" --target kavrino_fuzzers
for module in engine core reload; do
    for fuzzer in "$root/build-fuzz/$module/fuzz"/fuzz_*; do
        [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
        name=$(basename "$fuzzer")
        "$root/scripts/run_fuzz.sh" "$fuzzer" "$root/$module/fuzz/corpus/${name#fuzz_}" "$seconds"
    done
done
