#!/usr/bin/env bash
# Builds the sound board and runs it under Wine. Installs what is missing
# from Debian packages first.
# With a display: the board opens there and runs until you close it.
# Without one: a short demonstration on a virtual display. The board comes
# up, a screenshot is saved (build/board-screenshot.png), a few buttons are
# clicked with the pointer, what the sound card played is saved
# (build/board-demo.wav), and Esc closes the board. Either way the script
# ends with the board's exit code; 3 when this machine cannot run Wine's
# 32-bit side at all.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
sb_install
headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    headless=1
    unset DISPLAY
fi
targets=(soundboard)
[ "$headless" = 1 ] && targets+=(winprobe)
"$SB_ROOT/tools/build.sh" win "${targets[@]}"
if why=$(sb_win32_unavailable); then
    sb_say "cannot run the board here: $why"
    exit 3
fi

if [ "$headless" = 0 ]; then
    sb_services_start
    trap sb_services_stop EXIT
    sb_say "running build/win/soundboard.exe under Wine (close the board or press Esc to end it)"
    code=0
    wine "$SB_BUILD/win/soundboard.exe" >"$SB_BUILD/board-wine.log" 2>&1 || code=$?
    sb_say "the board ended with exit code $code"
    exit "$code"
fi

sb_services_start --isolated
trap sb_services_stop EXIT
sb_say "no display: a short demonstration on the virtual display $DISPLAY"
code=0
python3 "$SB_ROOT/tests/e2e/sound_e2e.py" --case demo --exe "$SB_BUILD/win/soundboard.exe" \
    --probe "$SB_BUILD/win/tests/e2e/winprobe.exe" --out "$SB_BUILD" || code=$?
sb_say "screenshot of the board: $SB_BUILD/board-screenshot.png"
sb_say "what the sound card played: $SB_BUILD/board-demo.wav"
sb_say "the demonstration ended with $code (0: the board ran, played and closed with exit code 0)"
exit "$code"
