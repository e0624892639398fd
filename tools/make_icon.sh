#!/usr/bin/env bash
# Generates assets/app.ico, the program icon: a warm rounded square with a
# white loudspeaker and two sound waves.
#
# The ico holds 15 square 32-bit RGBA images (16 .. 256 px). Each size is
# resampled from a 1024x1024 master drawn here with ImageMagick; the sizes
# up to 24 px come from a bolder master laid out on a 16-px grid so the
# glyph stays crisp in title bars and the taskbar. Sizes up to 48 px are
# stored as uncompressed 32-bit DIBs (what every icon API reads), the larger
# ones as PNG (Vista+), which keeps the file small. Output is byte-for-byte
# reproducible: no timestamps or other ancillary PNG chunks are written.
#
# Usage: tools/make_icon.sh [output.ico]     (default: assets/app.ico)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${1:-$ROOT/assets/app.ico}"

# Use the real ImageMagick binary; anything earlier on PATH may be a stand-in.
CONVERT=/usr/bin/convert

if [[ ! -x "$CONVERT" ]]; then
    echo "make_icon: $CONVERT not found; installing imagemagick" >&2
    install_im() {
        echo "+ apt-get install -y --no-install-recommends imagemagick" >&2
        apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends imagemagick
    }
    if ! install_im; then
        echo "+ apt-get update" >&2
        apt-get -o DPkg::Lock::Timeout=600 update
        install_im
    fi
fi
[[ -x /usr/bin/python3 ]] || { echo "make_icon: Debian's python3 is required" >&2; exit 1; }

SIZES=(16 20 24 32 40 48 56 64 72 80 96 112 128 192 256)
SMALL_MAX=24     # sizes <= this are drawn from the bold master
DIB_MAX=48       # sizes <= this are stored as DIB, larger ones as PNG

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

# One thread: rules out any run-to-run difference from parallel resampling.
export MAGICK_THREAD_LIMIT=1

PNG_OPTS=(-strip +set date:create +set date:modify
          -define png:exclude-chunks=all -quality 95)

# MVG path for an arc of radius r around (cx,cy), from -deg to +deg
# (0 degrees pointing right), drawn top to bottom.
arc() {
    awk -v cx="$1" -v cy="$2" -v r="$3" -v d="$4" 'BEGIN {
        a = d * 3.14159265358979 / 180
        x = cx + r * cos(a); y1 = cy - r * sin(a); y2 = cy + r * sin(a)
        printf "path \"M %.2f,%.2f A %d,%d 0 0,1 %.2f,%.2f\"\n", x, y1, r, r, x, y2
    }'
}

# Loudspeaker glyph on the 1024 canvas. Arguments: wave stroke width.
# Grid: 64 units = 1 px at 16x16. Body columns 2-3, cone 4-6, waves
# centred on columns 9 and 12; cone rows 3-12, body rows 6-9.
glyph() {
    local w="$1"
    cat <<EOF
stroke-linejoin round
fill white stroke white stroke-width 20
rectangle 138,394 246,630
polygon 256,394 438,212 438,812 256,630
fill none stroke white stroke-width $w stroke-linecap round
$(arc 448 512 160 48)
$(arc 448 512 352 46)
EOF
}

BG_TOP='#FFA33A'
BG_BOTTOM='#EE4A26'

# Bold master for the smallest sizes: background fills the whole square.
"$CONVERT" -size 1024x1024 "gradient:$BG_TOP-$BG_BOTTOM" -alpha set \
    \( -size 1024x1024 xc:none -fill white \
       -draw "roundrectangle 0,0 1023,1023 208,208" \) \
    -compose DstIn -composite -compose Over \
    -draw "$(glyph 84)" \
    "${PNG_OPTS[@]}" "PNG32:$WORK/master_small.png"

# Detailed master: a little padding, a darker rim, slimmer waves, and a soft
# shadow under the glyph. The glyph is scaled about the centre by 0.92.
"$CONVERT" -size 1024x1024 "gradient:$BG_TOP-$BG_BOTTOM" -alpha set \
    \( -size 1024x1024 xc:none -fill white \
       -draw "roundrectangle 28,28 995,995 196,196" \) \
    -compose DstIn -composite -compose Over \
    -fill none -stroke 'rgba(150,40,10,0.35)' -strokewidth 10 \
    -draw "roundrectangle 33,33 990,990 191,191" \
    \( -size 1024x1024 xc:none \
       -draw "translate 512,512 scale 0.92,0.92 translate -512,-512 $(glyph 72)" \
       \( +clone -fill 'rgb(120,30,0)' -colorize 100 -channel A -evaluate multiply 0.30 +channel \
          -blur 0x14 -roll +0+14 \) \
       +swap -compose Over -composite \) \
    -compose Over -composite \
    "${PNG_OPTS[@]}" "PNG32:$WORK/master_large.png"

for s in "${SIZES[@]}"; do
    if (( s <= SMALL_MAX )); then src="$WORK/master_small.png"; else src="$WORK/master_large.png"; fi
    "$CONVERT" "$src" -filter Lanczos -resize "${s}x${s}!" \
        "${PNG_OPTS[@]}" "PNG32:$WORK/f$s.png"
    if (( s <= DIB_MAX )); then
        # Let ImageMagick encode the 32-bit DIB (XOR image + AND mask);
        # the payload is cut out of its one-image ico below.
        "$CONVERT" "PNG32:$WORK/f$s.png" "ICO:$WORK/f$s.ico"
    fi
done

mkdir -p "$(dirname "$OUT")"
/usr/bin/python3 - "$WORK" "$OUT" "$DIB_MAX" "${SIZES[@]}" <<'PY'
import struct, sys

work, out, dib_max = sys.argv[1], sys.argv[2], int(sys.argv[3])
sizes = [int(s) for s in sys.argv[4:]]

def dib_payload(path, size):
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind, count) == (0, 1, 1), path
    w, h, _, _, planes, bpp, length, offset = struct.unpack_from("<BBBBHHII", data, 6)
    assert (w, h, bpp) == (size % 256, size % 256, 32), (path, w, h, bpp)
    payload = data[offset:offset + length]
    hdr_size, bw, bh, _, bits = struct.unpack_from("<IiiHH", payload, 0)
    assert (hdr_size, bw, bh, bits) == (40, size, 2 * size, 32), path
    return payload

images = []
for s in sizes:
    if s <= dib_max:
        images.append((s, dib_payload(f"{work}/f{s}.ico", s)))
    else:
        png = open(f"{work}/f{s}.png", "rb").read()
        assert png[:8] == b"\x89PNG\r\n\x1a\n" and png[12:16] == b"IHDR"
        w, h, depth, ctype = struct.unpack_from(">IIBB", png, 16)
        assert (w, h, depth, ctype) == (s, s, 8, 6), (s, w, h, depth, ctype)
        images.append((s, png))

header = struct.pack("<HHH", 0, 1, len(images))
offset = len(header) + 16 * len(images)
entries, blobs = b"", b""
for s, blob in images:
    entries += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(blob), offset)
    blobs += blob
    offset += len(blob)

with open(out, "wb") as f:
    f.write(header + entries + blobs)
PY

echo "make_icon: wrote $OUT ($(stat -c %s "$OUT") bytes, ${#SIZES[@]} images)"
