#!/usr/bin/env bash
# Soak run of the real board under Wine on a virtual display (not part of CI;
# about 25 minutes): random buttons clicked with the pointer at 20 a second,
# the board's threads, handles, GDI and USER objects and private bytes read
# every 100 clicks, the last clip heard, an idle minute before and after
# measured for CPU time and wake-ups, Esc; then start-and-close cycles.
# Usage: tools/soak.sh [--clicks N] [--cycles N] [--idle SECONDS] [--seed N] [--docs]
# --docs also writes docs/soak.md and docs/soak.png; everything else goes to
# build/soak/. Ends with 0 when every check passed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
command="tools/soak.sh $*"
args=()
for a in "$@"; do
    if [ "$a" = --docs ]; then args+=(--docs "$SB_ROOT/docs"); else args+=("$a"); fi
done
sb_install
# The plot: Debian's matplotlib, for Debian's interpreter.
if ! dpkg -s python3-matplotlib >/dev/null 2>&1; then
    sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    sb_say "installing python3-matplotlib (for the plot)"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends python3-matplotlib >/dev/null \
        || { $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq \
             --no-install-recommends python3-matplotlib >/dev/null; }
fi
bits=$(sb_windows_bits) || exit 1
sb_wine_env "$bits"
"$SB_ROOT/tools/build.sh" "$(basename "$SB_WIN_TREE")" soundboard winprobe procstat

trap sb_services_stop EXIT
sb_services_start --isolated
sb_wine_prefix "$bits"
sb_say "soak of the ${bits}-bit board on $DISPLAY; logs in build/soak"
SB_WINE=$SB_WINE "$SB_PYTHON" "$SB_ROOT/tools/soak.py" --exe "$SB_WIN_TREE/soundboard.exe" \
    --probe "$SB_WIN_TREE/tests/e2e/winprobe.exe" --procstat "$SB_WIN_TREE/tests/e2e/procstat.exe" \
    --bits "$bits" --out "$SB_BUILD/soak" --command "$command" \
    --load-before "$(cut -d' ' -f1-3 /proc/loadavg)" "${args[@]}"
