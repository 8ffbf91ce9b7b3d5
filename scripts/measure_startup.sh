#!/usr/bin/env bash
# Cold start of the workstation: milliseconds from starting the process to the first paint of
# its window, measured RUNS times (default 10) on one Xvfb display. The application prints the
# wall-clock time of its first paint and quits when KAVRINO_STARTUP_PROBE is set.
#   scripts/measure_startup.sh [path/to/kavrino] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
app=${1:-$root/build/app/kavrino}
runs=${2:-10}
[ -x "$app" ] || { echo "no executable at $app (build first)"; exit 1; }

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
sleep 1

times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%3N)
    line=$(DISPLAY=$display KAVRINO_STARTUP_PROBE=1 "$app" 2>&1 | grep '^first-paint-epoch-ms' || true)
    [ -n "$line" ] || { echo "the application reported no first paint"; exit 1; }
    times+=($(( ${line##* } - start )))
done
printf '%s\n' "${times[@]}" | sort -n | awk '
    { t[NR] = $1; sum += $1 }
    END { printf "first paint after start, %d runs: min %d ms, median %d ms, max %d ms, mean %.1f ms\n",
          NR, t[1], t[int((NR + 1) / 2)], t[NR], sum / NR }'
