#!/usr/bin/env bash
# Redraws assets/splash.png, the start-up picture (600x400 RGBA, transparent
# background: a butterfly and the board's name), and docs/splash-preview.png,
# the same picture over a checkerboard so the transparency can be seen.
# The drawing and the PNG writing live in tools/make_splash.py; this wrapper
# installs what it needs from Debian packages when missing. Output is
# byte-for-byte reproducible.
#
# Usage: tools/make_splash.sh [output.png]     (default: assets/splash.png)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${1:-$ROOT/assets/splash.png}"
PREVIEW="$ROOT/docs/splash-preview.png"
FONT=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc

need=()
[[ -x /usr/bin/convert ]] || need+=(imagemagick)
[[ -f "$FONT" ]] || need+=(fonts-wqy-microhei)
[[ -x /usr/bin/python3 ]] || need+=(python3)
if ((${#need[@]})); then
    install() {
        echo "+ apt-get install -y --no-install-recommends ${need[*]}" >&2
        apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${need[@]}"
    }
    if ! install; then
        echo "+ apt-get update" >&2
        apt-get -o DPkg::Lock::Timeout=600 update
        install
    fi
fi

mkdir -p "$(dirname "$OUT")" "$(dirname "$PREVIEW")"
exec /usr/bin/python3 "$ROOT/tools/make_splash.py" --preview "$PREVIEW" "$OUT"
