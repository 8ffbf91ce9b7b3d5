#!/usr/bin/env bash
# The installed tree starts on its own: `cmake --install` into a fresh prefix, then the program
# there runs to its first painted window (offscreen) with the engine library found beside it.
#   install_tree_test.sh <build dir>
set -uo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "install tree: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
[ -f "$prefix/share/applications/kavrino.desktop" ] || fail "no desktop entry"
libraries=$(ldd "$prefix/bin/kavrino") || fail "ldd failed"
# Nothing from the build tree may be needed: the run path is relative to the program.
if grep -q "$build" <<<"$libraries"; then fail "loads from the build tree: $libraries"; fi
grep -q "$prefix/bin/../lib.*/libkavrino_engine.so" <<<"$libraries" ||
    fail "the engine library is not found beside the program: $libraries"
out=$(cd / && QT_QPA_PLATFORM=offscreen KAVRINO_STARTUP_PROBE=1 timeout 60 "$prefix/bin/kavrino" 2>&1)
status=$?
grep -q '^first-paint-epoch-ms ' <<<"$out" || fail "no first paint (exit status $status): $out"
