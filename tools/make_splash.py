#!/usr/bin/python3
"""Draws assets/splash.png, the start-up picture of the sound board.

A 600x400 RGBA PNG on a transparent background: a colourful butterfly on the
left and three lines of lettering on the right ("直播音效板", a tagline and a
small English line), each with a soft dark glow so they read on any desktop.
The splash window draws it with per-pixel alpha.

ImageMagick (/usr/bin/convert) draws the layers; this script then writes the
PNG itself with zlib so the bytes are fully under its control: no time
stamps, one IHDR/IDAT/IEND plus a "Software" tEXt chunk whose length pads the
file to exactly FILE_SIZE bytes. Running it twice gives identical bytes.

Usage: tools/make_splash.py [--preview docs/splash-preview.png] [out.png]
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import zlib

W, H = 600, 400
FILE_SIZE = 149270
# Visible pixels (alpha > 0) are kept inside this box, inclusive.
BOX_X0, BOX_X1, BOX_Y0, BOX_Y1 = 1, 592, 71, 326

CONVERT = "/usr/bin/convert"
FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

TITLE = "直播音效板"
TAGLINE = "一键音效 · 直播更精彩"
SUBLINE = "LIVE  SOUND  BOARD   v1.0"

ENV = dict(os.environ, MAGICK_THREAD_LIMIT="1")


def im(*args):
    subprocess.run([CONVERT, *[str(a) for a in args]], check=True, env=ENV)


# ---------------------------------------------------------------- geometry

class Frame:
    """Butterfly space -> canvas: body at the origin, y down, then a
    rotation by `deg` and a move to (cx, cy)."""

    def __init__(self, cx, cy, deg, scale=1.0):
        self.cx, self.cy, self.s = cx, cy, scale
        a = math.radians(deg)
        self.c, self.sn = math.cos(a), math.sin(a)

    def pt(self, x, y):
        x, y = x * self.s, y * self.s
        return (self.cx + x * self.c - y * self.sn,
                self.cy + x * self.sn + y * self.c)


def fmt(p):
    return "%.2f,%.2f" % p


def path(frame, cmds, mirror=False):
    """cmds: list of (letter, [x0, y0, x1, y1, ...]) in butterfly space."""
    out = []
    for letter, nums in cmds:
        pts = []
        for i in range(0, len(nums), 2):
            x, y = nums[i], nums[i + 1]
            pts.append(fmt(frame.pt(-x if mirror else x, y)))
        out.append(letter + " " + " ".join(pts))
    return " ".join(out) + " Z"


# Right-hand wings in butterfly space (the left ones are mirrored).
FOREWING = [
    ("M", [3, -6]),
    ("C", [18, -48, 52, -104, 96, -112]),
    ("C", [122, -116, 130, -96, 124, -70]),
    ("C", [118, -44, 104, -18, 86, -6]),
    ("C", [62, 8, 30, 6, 3, 4]),
]
HINDWING = [
    ("M", [3, 4]),
    ("C", [36, 0, 78, 6, 96, 30]),
    ("C", [112, 52, 104, 84, 84, 100]),
    ("C", [70, 112, 56, 124, 44, 118]),
    ("C", [34, 112, 26, 98, 20, 80]),
    ("C", [12, 56, 4, 30, 3, 4]),
]
# Veins: from the wing root outwards (quadratic curves).
FORE_VEINS = [
    (6, -4, 40, -50, 92, -104),
    (6, -3, 52, -40, 116, -82),
    (6, -2, 60, -26, 118, -52),
    (6, -1, 60, -12, 100, -24),
    (6, 0, 45, -2, 80, -4),
]
HIND_VEINS = [
    (6, 6, 50, 12, 92, 34),
    (6, 7, 52, 30, 96, 66),
    (6, 8, 46, 46, 78, 100),
    (6, 8, 34, 54, 48, 114),
    (6, 8, 20, 50, 26, 90),
]
# Sparkles on the canvas: (x, y, radius).
SPARKLES = [(262, 96, 9), (574, 102, 7), (250, 306, 6), (556, 268, 5)]
# Grain and dither are invisible at normal size; they also set how well the
# image data compresses, and are chosen so the IDAT lands just under
# FILE_SIZE (with ImageMagick 6.9.11 and zlib level 9) and the tEXt padding
# stays a few bytes. If a change to the drawing pushes the data over, the
# script stops; lower GRAIN or DITHER, or simplify the drawing.
GRAIN = 2   # +- grey levels of wing grain
DITHER = 1  # +- grey levels of dither on everything visible
CUT = 8     # glow alpha at or below this becomes 0

# Pale spots on the dark margins: (x, y, r).
FORE_SPOTS = [(100, -104, 3.2), (112, -100, 2.6), (121, -86, 3.0),
              (123, -70, 2.6), (120, -54, 2.8), (113, -38, 2.4),
              (104, -24, 2.6), (91, -12, 2.2), (84, -96, 2.2)]
HIND_SPOTS = [(92, 34, 2.8), (100, 50, 2.6), (100, 68, 2.8), (92, 86, 2.6),
              (80, 100, 2.6), (64, 112, 2.4), (48, 116, 2.4)]


def wing_mvg(frame, shape, mirror):
    return "path '%s'" % path(frame, shape, mirror)


def main():
    argv = sys.argv[1:]
    preview = None
    if "--preview" in argv:
        i = argv.index("--preview")
        preview = argv[i + 1]
        del argv[i:i + 2]
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = argv[0] if argv else os.path.join(root, "assets", "splash.png")

    with tempfile.TemporaryDirectory() as tmp:
        t = lambda name: os.path.join(tmp, name)
        rgba = draw(t)
        data = encode(rgba)
        with open(out, "wb") as f:
            f.write(data)
        check(out)
        if preview:
            make_preview(out, preview)


def draw(t):
    size = "%dx%d" % (W, H)
    f = Frame(136, 198, -9, 0.86)
    wings = []
    for mirror in (False, True):
        wings.append(wing_mvg(f, FOREWING, mirror))
    hwings = [wing_mvg(f, HINDWING, m) for m in (False, True)]

    def mask(name, mvg_list):
        im("-size", size, "xc:black", "-fill", "white", "-stroke", "none",
           *[a for m in mvg_list for a in ("-draw", m)], t(name))

    mask("fore.png", wings)
    mask("hind.png", hwings)

    # Colour fields: forewings hot pink at the root to amber at the tips,
    # hindwings cyan to violet.
    root = f.pt(0, 0)
    im("-size", size, "-define", "gradient:center=%.1f,%.1f" % root,
       "-define", "gradient:radii=105,105",
       "radial-gradient:#ff2d8a-#ffc23a", t("fore_grad.png"))
    im("-size", size, "-define", "gradient:center=%.1f,%.1f" % root,
       "-define", "gradient:radii=100,100",
       "radial-gradient:#36e0ff-#6a3cff", t("hind_grad.png"))

    # A fine grain over the colour fields gives the wings a velvet, scaly
    # look. Fixed-seed LCG so the result never changes.
    noise = bytearray(W * H)
    state = 20240601
    for i in range(W * H):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        noise[i] = 128 - GRAIN + (state >> 16) % (2 * GRAIN + 1)
    with open(t("grain.gray"), "wb") as fh:
        fh.write(noise)
    for g in ("fore_grad.png", "hind_grad.png"):
        im(t(g), "(", "-size", size, "-depth", "8", "gray:" + t("grain.gray"),
           ")", "-compose", "Mathematics",
           "-define", "compose:args=0,1,1,-0.50196", "-composite", t(g))

    # Dark margins and veins.
    def strokes(name, cmds, width, colour):
        im("-size", size, "xc:none", "-fill", "none", "-stroke", colour,
           "-strokewidth", width, "-draw", "stroke-linecap round",
           *[a for m in cmds for a in ("-draw", m)], t(name))

    vein_cmds = []
    for mirror in (False, True):
        sx = -1 if mirror else 1
        for v in FORE_VEINS + HIND_VEINS:
            p0 = f.pt(sx * v[0], v[1])
            p1 = f.pt(sx * v[2], v[3])
            p2 = f.pt(sx * v[4], v[5])
            vein_cmds.append("path 'M %s Q %s %s'" % (fmt(p0), fmt(p1), fmt(p2)))
    strokes("veins.png", vein_cmds, 1.6, "#2a0c3acc")
    strokes("fore_edge.png", wings, 9, "#2a0c3a")
    strokes("hind_edge.png", hwings, 9, "#1c0c40")

    spot_cmds = []
    for mirror in (False, True):
        sx = -1 if mirror else 1
        for (x, y, r) in FORE_SPOTS + HIND_SPOTS:
            cx, cy = f.pt(sx * x, y)
            spot_cmds.append("circle %.2f,%.2f %.2f,%.2f" % (cx, cy, cx + r, cy))
    im("-size", size, "xc:none", "-fill", "#fff6e0", "-stroke", "none",
       *[a for m in spot_cmds for a in ("-draw", m)], t("spots.png"))

    # Eye spots on the forewings.
    eye = []
    for mirror in (False, True):
        sx = -1 if mirror else 1
        cx, cy = f.pt(sx * 70, -62)
        eye.append(("circle %.2f,%.2f %.2f,%.2f" % (cx, cy, cx + 11, cy)))
    im("-size", size, "xc:none", "-fill", "#ffffffb0",
       *[a for m in eye for a in ("-draw", m)], "-blur", "0x3", t("eyes.png"))

    # Peacock eyes on the hindwings: dark ring, gold, cyan pupil, glint.
    ocelli = []
    for sx in (1, -1):
        for (r, col) in ((10, "#1c0c40"), (8, "#ffd04a"), (5, "#ff3d8f"),
                         (3, "#2a0c3a")):
            cx, cy = f.pt(sx * 58, 64)
            ocelli += ["-fill", col, "-draw",
                       "circle %.2f,%.2f %.2f,%.2f" % (cx, cy, cx + r * f.s, cy)]
        gx, gy = f.pt(sx * 58 - 1.5, 62.5)
        ocelli += ["-fill", "#ffffff", "-draw",
                   "circle %.2f,%.2f %.2f,%.2f" % (gx, gy, gx + 1.3, gy)]
    im("-size", size, "xc:none", "-stroke", "none", *ocelli, t("ocelli.png"))

    # Each wing: gradient, clipped to the wing, with margins and veins on top.
    im(t("fore_grad.png"), t("eyes.png"), "-composite",
       t("veins.png"), "-composite", t("fore_edge.png"), "-composite",
       t("spots.png"), "-composite",
       t("fore.png"), "-alpha", "off", "-compose", "CopyOpacity", "-composite",
       t("fore_layer.png"))
    im(t("hind_grad.png"), t("veins.png"), "-composite",
       t("ocelli.png"), "-composite",
       t("hind_edge.png"), "-composite", t("spots.png"), "-composite",
       t("hind.png"), "-alpha", "off", "-compose", "CopyOpacity", "-composite",
       t("hind_layer.png"))

    # Body, head and antennae.
    body = []
    hx, hy = f.pt(0, -26)
    body.append("path '%s'" % path(f, [("M", [0, -24]), ("C", [7, -22, 7, 40, 0, 62]),
                                       ("C", [-7, 40, -7, -22, 0, -24])]))
    body.append("circle %.2f,%.2f %.2f,%.2f" % (hx, hy, hx + 6.5, hy))
    ant = []
    for sx in (1, -1):
        p0 = f.pt(sx * 2, -30)
        p1 = f.pt(sx * 12, -70)
        p2 = f.pt(sx * 32, -92)
        ant.append("path 'M %s Q %s %s'" % (fmt(p0), fmt(p1), fmt(p2)))
        tx, ty = f.pt(sx * 33, -93)
        body.append("circle %.2f,%.2f %.2f,%.2f" % (tx, ty, tx + 3.6, ty))
    im("-size", size, "xc:none",
       "-fill", "none", "-stroke", "#4b2168", "-strokewidth", 2,
       *[a for m in ant for a in ("-draw", m)],
       "-stroke", "none", "-fill", "#3a1650",
       *[a for m in body for a in ("-draw", m)], t("body.png"))
    # A highlight along the body.
    im("-size", size, "xc:none", "-fill", "#ffffff40",
       "-draw", "path '%s'" % path(f, [("M", [-1, -18]), ("C", [2, -10, 2, 30, -1, 50]),
                                      ("C", [-3, 30, -3, -10, -1, -18])]),
       "-blur", "0x1", t("body_hi.png"))

    # Butterfly = hindwings, forewings, body; then a soft colourful glow.
    im(t("hind_layer.png"), t("fore_layer.png"), "-composite",
       t("body.png"), "-composite", t("body_hi.png"), "-composite",
       "-background", "#2a0c3a", "-alpha", "background",
       "-channel", "A", "-blur", "0x0.7", "+channel", t("fly.png"))
    im(t("fly.png"), "-alpha", "extract", "-blur", "0x5",
       "-level", "0,150%", t("fly_glow_a.png"))
    im("-size", size, "-define", "gradient:center=%.1f,%.1f" % root,
       "-define", "gradient:radii=140,140", "radial-gradient:#ff7ad0-#7ab8ff",
       t("fly_glow_a.png"), "-alpha", "off", "-compose", "CopyOpacity",
       "-composite", "-channel", "A", "-evaluate", "multiply", 0.55, "+channel",
       t("fly_glow.png"))

    # Sparkles: four-pointed stars with a violet halo.
    star_cmds = []
    for (x, y, r) in SPARKLES:
        star_cmds.append("path 'M %g,%g Q %g,%g %g,%g Q %g,%g %g,%g Q %g,%g %g,%g "
                         "Q %g,%g %g,%g Z'" % (x, y - r, x, y, x + r * 0.8, y,
                                               x, y, x, y + r, x, y,
                                               x - r * 0.8, y, x, y, x, y - r))
    im("-size", size, "xc:none", "-fill", "white", "-stroke", "none",
       *[a for m in star_cmds for a in ("-draw", m)], t("stars.png"))
    im(t("stars.png"), "-alpha", "extract", "-blur", "0x3", "-level", "0,40%",
       "(", "-size", size, "xc:#b46cff", ")", "+swap", "-alpha", "off",
       "-compose", "CopyOpacity", "-composite",
       t("stars.png"), "-compose", "Over", "-composite", t("stars.png"))

    # ---- lettering
    tx = 272
    def text(name, s, pt, y, kern=0, stroke=0):
        im("-size", size, "xc:black", "-font", FONT, "-pointsize", pt,
           "-kerning", kern, "-fill", "white", "-stroke", "white",
           "-strokewidth", stroke, "-gravity", "NorthWest",
           "-annotate", "+%d+%d" % (tx, y), s, t(name))

    text("t1.png", TITLE, 58, 114, 3, 1.2)
    text("t2.png", TAGLINE, 25, 206, 1, 0.3)
    text("t3.png", SUBLINE, 14, 250, 2)

    # Title: white to pale gold top-down, gradient over its height.
    im("-size", size, "xc:white", "-sparse-color", "Barycentric",
       "0,124 #ffffff 0,178 #ffcf5a", t("t1grad.png"))
    im(t("t1grad.png"), t("t1.png"), "-alpha", "off", "-compose",
       "CopyOpacity", "-composite", t("t1_layer.png"))
    im("-size", size, "xc:#ffe6f4", t("t2.png"), "-alpha", "off",
       "-compose", "CopyOpacity", "-composite", t("t2_layer.png"))
    im("-size", size, "xc:#bfe9ff", t("t3.png"), "-alpha", "off",
       "-compose", "CopyOpacity", "-composite", t("t3_layer.png"))

    # Dark glow behind all text: widen, blur, tint.
    im(t("t1.png"), t("t2.png"), "-compose", "Lighten", "-composite",
       t("t3.png"), "-compose", "Lighten", "-composite",
       "-morphology", "Dilate", "Disk:1", "-blur", "0x2.5",
       "-level", "0,70%", t("glow_a.png"))
    im("-size", size, "xc:#240a3a", t("glow_a.png"), "-alpha", "off",
       "-compose", "CopyOpacity", "-composite",
       "-channel", "A", "-evaluate", "multiply", 0.85, "+channel",
       t("glow.png"))

    # A thin rule between title and tagline: pink to cyan, fading out.
    rx0, rx1, ry = tx + 4, tx + 300, 193
    im("-size", size, "xc:none", "-sparse-color", "Barycentric",
       "%d,0 #ff4f9f %d,0 #4fd8ff" % (rx0, rx1), t("rule_c.png"))
    im("-size", size, "xc:black", "-sparse-color", "Barycentric",
       "%d,0 white %d,0 black" % (rx0 + 120, rx1), t("rule_f.png"))
    im("-size", size, "xc:black", "-fill", "white",
       "-draw", "roundrectangle %d,%d %d,%d 1.5,1.5" % (rx0, ry, rx1, ry + 3),
       t("rule_f.png"), "-compose", "Multiply", "-composite", t("rule_m.png"))
    im(t("rule_c.png"), t("rule_m.png"), "-alpha", "off", "-compose",
       "CopyOpacity", "-composite", t("rule.png"))

    im(t("fly_glow.png"), t("fly.png"), "-composite",
       t("glow.png"), "-composite", t("rule.png"), "-composite",
       t("t1_layer.png"), "-composite", t("t2_layer.png"), "-composite",
       t("t3_layer.png"), "-composite", t("stars.png"), "-composite",
       "-depth", "8", t("all.png"))
    im(t("all.png"), "-depth", "8", "RGBA:" + t("all.rgba"))
    with open(t("all.rgba"), "rb") as fh:
        raw = bytearray(fh.read())
    assert len(raw) == W * H * 4

    # Nothing visible outside the box. Glow tails fade to zero a little
    # sooner (alpha CUT -> 0, 255 stays 255) so the far, invisible fringe of
    # the blurs stays fully clear. Colour of invisible pixels is 0.
    state = 19700101
    for y in range(H):
        for x in range(W):
            i = (y * W + x) * 4
            if (raw[i + 3] <= CUT or not (BOX_X0 <= x <= BOX_X1)
                    or not (BOX_Y0 <= y <= BOX_Y1)):
                raw[i:i + 4] = b"\0\0\0\0"
                continue
            if raw[i + 3] < 255:
                raw[i + 3] = ((raw[i + 3] - CUT) * 255 + 127) // (255 - CUT)
            # +-DITHER grey levels of noise against banding in the gradients.
            state = (state * 1103515245 + 12345) & 0x7FFFFFFF
            k = (state >> 16) % (2 * DITHER + 1) - DITHER
            for c in range(i, i + 3):
                raw[c] = min(255, max(0, raw[c] + k))
    return bytes(raw)


# ---------------------------------------------------------------- PNG

def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body
            + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_rows(rgba, ftype):
    stride = W * 4
    out = bytearray()
    prev = bytes(stride)
    for y in range(H):
        row = rgba[y * stride:(y + 1) * stride]
        out.append(ftype)
        if ftype == 0:
            out += row
        elif ftype == 1:
            out += bytes((row[i] - (row[i - 4] if i >= 4 else 0)) & 255
                         for i in range(stride))
        elif ftype == 2:
            out += bytes((row[i] - prev[i]) & 255 for i in range(stride))
        elif ftype == 4:
            out += bytes((row[i] - paeth(row[i - 4] if i >= 4 else 0, prev[i],
                                         prev[i - 4] if i >= 4 else 0)) & 255
                         for i in range(stride))
        prev = row
    return bytes(out)


def encode(rgba, ftype=4, level=9):
    ihdr = struct.pack(">IIBBBBB", W, H, 8, 6, 0, 0, 0)
    idat = zlib.compress(filter_rows(rgba, ftype), level)
    head = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", idat)
    tail = chunk(b"IEND", b"")
    base = len(head) + len(tail)
    key = b"Software\0"
    label = b"tools/make_splash.py"
    room = FILE_SIZE - base - 12 - len(key)
    if room < len(label):
        raise SystemExit("make_splash: image data too large (%d bytes without "
                         "padding, %d allowed); lower GRAIN or DITHER"
                         % (base + 12 + len(key) + len(label), FILE_SIZE))
    text = key + label + b" " * (room - len(label))
    data = head + chunk(b"tEXt", text) + tail
    print("make_splash: IDAT %d bytes, tEXt pad %d" % (len(idat), room - len(label)))
    assert len(data) == FILE_SIZE
    return data


def check(path):
    """Re-reads the file: chunk CRCs, IHDR, length, and where the visible
    pixels are. Prints the alpha histogram and the visible bounding box."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, kinds, idat = 8, [], b""
    while pos < len(data):
        n, = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + n]
        crc, = struct.unpack(">I", data[pos + 8 + n:pos + 12 + n])
        assert crc == zlib.crc32(kind + body) & 0xFFFFFFFF, kind
        if kind == b"IHDR":
            assert struct.unpack(">IIBBBBB", body) == (W, H, 8, 6, 0, 0, 0)
        if kind == b"IDAT":
            idat += body
        kinds.append(kind)
        pos += 12 + n
    assert pos == len(data) == FILE_SIZE
    assert kinds[0] == b"IHDR" and kinds[-1] == b"IEND"

    raw = zlib.decompress(idat)
    stride = W * 4
    assert len(raw) == H * (stride + 1)
    prev = bytearray(stride)
    zero = opaque = part = 0
    x0 = y0 = 1 << 30
    x1 = y1 = -1
    for y in range(H):
        ftype = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = row[i - 4] if i >= 4 else 0
            b, c = prev[i], (prev[i - 4] if i >= 4 else 0)
            row[i] = (row[i] + (0, a, b, (a + b) // 2, paeth(a, b, c))[ftype]) & 255
        for x in range(W):
            alpha = row[x * 4 + 3]
            if alpha == 0:
                zero += 1
                continue
            if alpha == 255:
                opaque += 1
            else:
                part += 1
            x0, x1, y0, y1 = min(x0, x), max(x1, x), min(y0, y), max(y1, y)
        prev = row
    assert BOX_X0 <= x0 and x1 <= BOX_X1 and BOX_Y0 <= y0 and y1 <= BOX_Y1
    print("make_splash: %s: %d bytes; alpha 0: %d, 255: %d, partial: %d; "
          "visible columns %d-%d, rows %d-%d"
          % (path, len(data), zero, opaque, part, x0, x1, y0, y1))


def make_preview(src, dst):
    im("-size", "%dx%d" % (W, H), "pattern:checkerboard", "-scale", "200%",
       "-crop", "%dx%d+0+0" % (W, H), "+repage",
       "-fill", "#c8c8c8", "-opaque", "white",
       src, "-compose", "Over", "-composite", "-depth", "8", "-strip",
       "-define", "png:exclude-chunks=date,time",
       "+set", "date:create", "+set", "date:modify", dst)


if __name__ == "__main__":
    main()
