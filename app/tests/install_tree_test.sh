#!/usr/bin/env bash
# The installed tree starts on its own: `cmake --install` into a fresh prefix, then the program
# there runs to its first painted window (offscreen) with the engine library found beside it.
#   install_tree_test.sh <build dir>
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
test -f "$prefix/share/applications/kavrino.desktop"
# Nothing from the build tree may be needed: the run path is relative to the program.
if ldd "$prefix/bin/kavrino" | grep -q "$build"; then
    echo "the installed program still loads libraries from the build tree"; exit 1
fi
ldd "$prefix/bin/kavrino" | grep -q "$prefix/bin/../lib.*/libkavrino_engine.so"
out=$(cd / && QT_QPA_PLATFORM=offscreen KAVRINO_STARTUP_PROBE=1 timeout 60 "$prefix/bin/kavrino" 2>&1)
grep -q '^first-paint-epoch-ms ' <<<"$out" || { echo "$out"; exit 1; }
