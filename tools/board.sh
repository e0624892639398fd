#!/usr/bin/env bash
# Builds the sound board and runs it under Wine. Installs what is missing
# from Debian packages first. Without a display it runs on a virtual one and
# saves a screenshot of the board to build/board-screenshot.png.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
sb_install
"$SB_ROOT/tools/build.sh" win soundboard
headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    headless=1
    unset DISPLAY
fi
sb_services_start
trap sb_services_stop EXIT
sb_say "running build/win/soundboard.exe under Wine (close the board or press Esc to end it)"
wine "$SB_BUILD/win/soundboard.exe" >"$SB_BUILD/board-wine.log" 2>&1 &
pid=$!
if [ "$headless" = 1 ]; then
    sb_say "no display: running on the virtual display $DISPLAY"
    sleep 7
    import -window root "$SB_BUILD/board-screenshot.png" && sb_say "screenshot of the board: build/board-screenshot.png"
fi
code=0
wait "$pid" || code=$?
sb_say "the board ended with exit code $code"
exit "$code"
