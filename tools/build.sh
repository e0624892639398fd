#!/usr/bin/env bash
# Configures and builds the host tree (portable code and its tests), the
# 32-bit Windows tree (the product: the program, the Windows tests, the e2e
# probe) and the same sources as 64-bit Windows (build/win64).
# Usage: tools/build.sh [host|fuzz|win|win64|all] [ninja targets...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
which=${1:-all}
shift || true

# tree NAME WHAT CMAKE-OPTIONS...: configures and builds build/NAME, logging into build/NAME-*.log.
tree() {
    local name=$1 what=$2
    shift 2
    sb_say "building $what (build/$name)"
    cmake -S "$SB_ROOT" -B "$SB_BUILD/$name" -G Ninja -DSB_PYTHON="$SB_PYTHON" "$@" >"$SB_BUILD/$name-cmake.log" \
        || { cat "$SB_BUILD/$name-cmake.log"; exit 1; }
    ninja -C "$SB_BUILD/$name" -j2 "${TARGETS[@]}" >"$SB_BUILD/$name-build.log" \
        || { cat "$SB_BUILD/$name-build.log"; exit 1; }
}

TARGETS=("$@")
case $which in host|fuzz|win|win64|all) ;; *) echo "usage: $0 [host|fuzz|win|win64|all] [targets...]" >&2; exit 2 ;; esac
if [ "$which" = host ] || [ "$which" = all ]; then
    tree host "the host tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOUNDBOARD_SANITIZE=ON
fi
if [ "$which" = fuzz ] || [ "$which" = all ]; then
    wanted=("${TARGETS[@]}")
    TARGETS=()
    CC=clang CXX=clang++ tree fuzz "the fuzz target (clang with libFuzzer)" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOUNDBOARD_FUZZ=ON
    TARGETS=("${wanted[@]}")
fi
if [ "$which" = win ] || [ "$which" = all ]; then
    tree win "the 32-bit Windows tree (i686 mingw-w64)" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$SB_ROOT/cmake/mingw-i686.cmake"
fi
if [ "$which" = win64 ] || [ "$which" = all ]; then
    tree win64 "the 64-bit Windows tree (x86_64 mingw-w64)" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$SB_ROOT/cmake/mingw-x86_64.cmake"
fi
