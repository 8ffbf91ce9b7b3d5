#!/usr/bin/env bash
# Installs what is needed, builds everything and starts the workstation.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
app="$root/build/app/kavrino"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$app" "$@"
fi
exec "$app" "$@"
