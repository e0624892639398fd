#!/usr/bin/env bash
# Refreshes docs/start.png, docs/board.png, docs/board-hover.png and
# docs/splash-composed.png: runs the program under Wine on
# the virtual display and crops each window out of a picture of the screen.
# The services it starts (Xvfb, PulseAudio, Wine) stay up for later runs;
# `source tools/env.sh && sb_services_stop` ends them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source tools/env.sh
sb_services_start --isolated  # the project's own 1024x768 display: same pictures every time
bits=$(sb_windows_bits)  # the product where it runs, else its 64-bit twin
sb_wine_prefix "$bits"

"$SB_ROOT/tools/build.sh" "$(basename "$SB_WIN_TREE")" soundboard winprobe win_tests
build=$SB_WIN_TREE

"$SB_PYTHON" tests/e2e/run_e2e.py --case screenshots --exe "$build/soundboard.exe" \
    --probe "$build/tests/e2e/winprobe.exe" --out "$build/e2e" --docs docs
"$SB_PYTHON" tests/e2e/run_e2e.py --case hover --exe "$build/soundboard.exe" \
    --probe "$build/tests/e2e/winprobe.exe" --out "$build/e2e" --docs docs
# The composed splash bitmap, alpha included (the virtual screen has no compositor).
(cd "$build/tests/win" && "$SB_WINE" ./win_tests.exe --gtest_filter=Skin.ComposingTheSplashKeepsThePicturesAlphaExactly \
    >"$build/splash-composed.log" 2>&1)
cp "$build/tests/win/splash-composed.png" docs/splash-composed.png
