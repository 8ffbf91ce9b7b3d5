#!/usr/bin/env bash
# Installs what is needed, builds the workstation (the executable and the libraries it links,
# no tests or benchmarks) and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target kavrino
app="$root/build/app/kavrino"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$app" "$@"
fi
exec "$app" "$@"
