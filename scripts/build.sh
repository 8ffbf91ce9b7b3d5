#!/usr/bin/env bash
# Configures the project into build/ (Ninja, RelWithDebInfo) and builds every target, or only
# the targets named with --target and what they link.
#   scripts/build.sh [--target NAME]... [CMake configure options]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
targets=()
configure=()
while [ $# -gt 0 ]; do
    case $1 in
        --target) targets+=(--target "$2"); shift 2 ;;
        *) configure+=("$1"); shift ;;
    esac
done
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${configure[@]}"
cmake --build "$root/build" --parallel "$(nproc)" "${targets[@]}"
