#!/usr/bin/env bash
# Configures and builds the host tree (portable code and its tests) and the
# 32-bit Windows tree (the program, the Windows tests, the e2e probe).
# Usage: tools/build.sh [host|win|fuzz|all] [ninja targets...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
which=${1:-all}
shift || true
if [ "$which" = host ] || [ "$which" = all ]; then
    sb_say "building the host tree (build/host)"
    cmake -S "$SB_ROOT" -B "$SB_BUILD/host" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOUNDBOARD_SANITIZE=ON >"$SB_BUILD/host-cmake.log" \
        || { cat "$SB_BUILD/host-cmake.log"; exit 1; }
    ninja -C "$SB_BUILD/host" -j2 "$@" >"$SB_BUILD/host-build.log" || { cat "$SB_BUILD/host-build.log"; exit 1; }
fi
if [ "$which" = fuzz ] || [ "$which" = all ]; then
    sb_say "building the fuzz target (build/fuzz, clang with libFuzzer)"
    CC=clang CXX=clang++ cmake -S "$SB_ROOT" -B "$SB_BUILD/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DSOUNDBOARD_FUZZ=ON >"$SB_BUILD/fuzz-cmake.log" || { cat "$SB_BUILD/fuzz-cmake.log"; exit 1; }
    ninja -C "$SB_BUILD/fuzz" -j2 >"$SB_BUILD/fuzz-build.log" || { cat "$SB_BUILD/fuzz-build.log"; exit 1; }
fi
if [ "$which" = win ] || [ "$which" = all ]; then
    sb_say "building the Windows tree (build/win, i686 mingw-w64)"
    cmake -S "$SB_ROOT" -B "$SB_BUILD/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$SB_ROOT/cmake/mingw-i686.cmake" >"$SB_BUILD/win-cmake.log" \
        || { cat "$SB_BUILD/win-cmake.log"; exit 1; }
    ninja -C "$SB_BUILD/win" -j2 "$@" >"$SB_BUILD/win-build.log" || { cat "$SB_BUILD/win-build.log"; exit 1; }
fi
