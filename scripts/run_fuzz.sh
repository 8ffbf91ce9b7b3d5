#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time from its seed corpus.
#   run_fuzz.sh <fuzzer binary> <seed corpus folder> [seconds, default 60]
# Exits non-zero on any crash, leak, timeout or out-of-memory. Work files (the growing corpus
# and any crashing input) live in a temporary folder; a crashing input is printed in base64
# before the folder is removed.
#
# Slow but bounded inputs (engine solves): the harness passes over requests whose work is known
# to be large, tables that may hold more than 10,000 rows (engine/fuzz/fuzz_solve_json.cpp), and
# the per-input limit allows for the rest, so that it stops only on a hang. The slowest solves
# left are zeroings whose 50 rounds each fly the full 60 s: 3 to 5 s under the sanitizers on an
# ordinary core (a zero range of 48,500 yd takes 3.6 s). A limit of 120 s leaves room for a
# loaded two-core machine many times slower than that.
set -euo pipefail
fuzzer=$1
seeds=$2
seconds=${3:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/artifacts"
cp "$seeds"/* "$work/corpus/"

echo "-- $(basename "$fuzzer"), ${seconds} s"
status=0
ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$fuzzer" "$work/corpus" \
    -max_total_time="$seconds" \
    -timeout=120 \
    -rss_limit_mb=2048 \
    -malloc_limit_mb=2048 \
    -max_len=8192 \
    -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" >"$work/log" 2>&1 || status=$?

if [ "$status" -ne 0 ]; then
    cat "$work/log" >&2
    echo "fuzzer failed with status $status; failing inputs (base64):" >&2
    for f in "$work"/artifacts/*; do
        [ -e "$f" ] || continue
        echo "$(basename "$f"):" >&2
        base64 "$f" >&2
    done
else
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$work/log" || true
fi
exit "$status"
