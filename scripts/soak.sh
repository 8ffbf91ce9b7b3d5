#!/usr/bin/env bash
# Soaks the solve pane offscreen with random edits and reports resident memory at the start,
# after a warm-up and at the end (build first: scripts/build.sh).
#   scripts/soak.sh [actions=5000] [seed=1]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
soak="$root/build/bench/solve_pane_soak"
[ -x "$soak" ] || { echo "no soak program at $soak (build first: scripts/build.sh)"; exit 1; }
QT_QPA_PLATFORM=offscreen "$soak" "${1:-5000}" "${2:-1}"
