#!/usr/bin/env bash
# Builds the sound board and runs it under Wine. Installs what is missing
# from Debian packages first.
# With a display: the board opens there and runs until you close it.
# Without one: a short demonstration on a virtual display. The board comes
# up, a screenshot is saved (build/board-screenshot.png), a few buttons are
# clicked with the pointer, what the sound card played is saved
# (build/board-demo.wav) and must not be silent, and Esc closes the board.
# Either way the script ends with the board's exit code (the demonstration's
# verdict without a display).
# The 32-bit board runs where this machine runs 32-bit code, else the 64-bit
# one; SB_WINDOWS_BITS=64 forces the 64-bit board.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
sb_install
headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    headless=1
    unset DISPLAY
fi
bits=$(sb_windows_bits) || exit 1
sb_wine_env "$bits"
targets=(soundboard)
[ "$headless" = 1 ] && targets+=(winprobe)
"$SB_ROOT/tools/build.sh" "$(basename "$SB_WIN_TREE")" "${targets[@]}"
exe=$SB_WIN_TREE/soundboard.exe

trap sb_services_stop EXIT
if [ "$headless" = 0 ]; then
    sb_services_start
    sb_wine_prefix "$bits"
    sb_say "running ${exe#"$SB_ROOT"/} (${bits}-bit) under Wine (close the board or press Esc to end it)"
    code=0
    "$SB_WINE" "$exe" >"$SB_BUILD/board-wine.log" 2>&1 || code=$?
    sb_say "the board ended with exit code $code"
    exit "$code"
fi

sb_services_start --isolated
sb_wine_prefix "$bits"
sb_say "no display: a short demonstration of the ${bits}-bit board on the virtual display $DISPLAY"
shot=$SB_BUILD/board-screenshot.png demo=$SB_BUILD/board-demo.wav
rm -f "$shot" "$demo"
code=0
"$SB_PYTHON" "$SB_ROOT/tests/e2e/sound_e2e.py" --case demo --exe "$exe" \
    --probe "$SB_WIN_TREE/tests/e2e/winprobe.exe" --out "$SB_BUILD" || code=$?
[ -f "$shot" ] && sb_say "screenshot of the board: $shot"
[ -f "$demo" ] && sb_say "what the sound card played: $demo"
if [ "$code" = 0 ]; then
    sb_say "the demonstration passed: the board came up, was heard, and closed with exit code 0"
else
    sb_say "the demonstration FAILED ($code): see the lines above"
fi
exit "$code"
