#!/usr/bin/python3
"""Describes the committed clips as built: writes docs/clips.md.

    /usr/bin/python3 tools/clip_report.py [--check]

Reads assets/clips/*.wav with its own RIFF walk (standard library only) and
measures levels.  The MP3 clips are decoded with `lame --decode` (or sox) when
one is installed; otherwise their level columns stay blank.  --check also
fails if any clip strays from the catalogue or has a near-silent second.
"""

import array
import math
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True     # keep tools/clips free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from clips import catalogue, riff  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLIP_DIR = os.path.join(ROOT, "assets", "clips")
OUT = os.path.join(ROOT, "docs", "clips.md")
QUIET_DB = -40.0    # a whole second below this counts as a gap


def db(x):
    return 20 * math.log10(x) if x > 0 else float("-inf")


def samples_pcm(p):
    """Mono-mixed float samples in [-1, 1) and the channel count."""
    if p.fmt["bits"] == 8:
        a = [(b - 128) / 128.0 for b in p.data[:len(p.data) - len(p.data) % p.fmt["align"]]]
    else:
        h = array.array("h")
        body = p.data[:len(p.data) - len(p.data) % 2]
        h.frombytes(body)
        if sys.byteorder == "big":
            h.byteswap()
        a = [v / 32768.0 for v in h]
    return a, p.fmt["channels"]


def decode_mp3(frames_bytes):
    tool = shutil.which("lame") or shutil.which("sox")
    if not tool:
        return None
    d = tempfile.mkdtemp(prefix="clipreport-")
    try:
        src = os.path.join(d, "in.mp3")
        dst = os.path.join(d, "out.raw")
        with open(src, "wb") as fh:
            fh.write(frames_bytes)
        if tool.endswith("lame"):
            cmd = [tool, "--quiet", "--decode", "-t", src, dst]   # -t: raw 16-bit output
        else:
            cmd = [tool, "-V1", src, "-t", "s16", "-L", dst]
        if subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode:
            return None
        h = array.array("h")
        with open(dst, "rb") as fh:
            h.frombytes(fh.read())
        if sys.byteorder == "big":
            h.byteswap()
        return [v / 32768.0 for v in h]
    finally:
        shutil.rmtree(d, ignore_errors=True)


def levels(samples, channels, rate):
    """Peak, RMS and the quietest full second's RMS (all channels together)."""
    if not samples:
        return None
    pk = max(map(abs, samples))
    total = math.fsum(x * x for x in samples)
    rms = math.sqrt(total / len(samples))
    per = rate * channels
    secs = []
    for s in range(0, len(samples) - per + 1, per):
        w = samples[s:s + per]
        secs.append(math.sqrt(math.fsum(x * x for x in w) / per))
    if not secs:                      # shorter than a second: the clip itself
        secs = [rms]
    return db(pk), db(rms), db(min(secs)), [db(x) for x in secs]


def describe(clip):
    path = os.path.join(CLIP_DIR, clip.name + ".wav")
    with open(path, "rb") as fh:
        blob = fh.read()
    p = riff.parse(blob)
    f = p.fmt
    row = dict(clip=clip, size=len(blob), data=len(p.data), fmt=f, parsed=p, problems=[])
    rate = f["rate"]
    if f["tag"] == 0x55:
        frames = riff.mp3_frames(p.data)
        row["mp3_frames"] = len(frames)
        row["seconds"] = len(frames) * riff.MP3_FRAME_SAMPLES / rate
        pcm = decode_mp3(p.data)
        row["levels"] = levels(pcm, 1, rate) if pcm else None
        if len(frames) * riff.MP3_FRAME_BYTES != len(p.data):
            row["problems"].append("data is not whole 96-byte frames")
    else:
        row["seconds"] = len(p.data) / f["avg"]
        s, ch = samples_pcm(p)
        row["levels"] = levels(s, ch, rate)
    # against the catalogue
    if len(blob) != clip.file_bytes:
        row["problems"].append("file %d != %d" % (len(blob), clip.file_bytes))
    if len(p.data) != clip.data_bytes:
        row["problems"].append("data %d != %d" % (len(p.data), clip.data_bytes))
    if p.riff_size != clip.riff_size():
        row["problems"].append("RIFF size %d != %d" % (p.riff_size, clip.riff_size()))
    order = [c[0] for c in p.chunks]
    if order != [c.cid for c in clip.chunks]:
        row["problems"].append("chunks %s" % order)
    if p.trailing != clip.trailer:
        row["problems"].append("%d trailing bytes" % p.trailing)
    lv = row["levels"]
    if lv and (lv[0] > -0.5 or lv[2] < QUIET_DB):
        row["problems"].append("levels: peak %.1f, quietest second %.1f dBFS" % (lv[0], lv[2]))
    return row


def fmt_db(v):
    return "" if v is None else "%.1f" % v


def layout(p, size):
    parts = []
    for cid, _, n, padded in p.chunks:
        parts.append("`%s` %d%s" % (cid, n, "+pad" if padded else ""))
    s = " · ".join(parts)
    if p.riff_size == size:
        s += "; RIFF size = file length"
    if p.trailing:
        s += "; %d bytes past the RIFF end" % p.trailing
    return s


def main(argv):
    rows = [describe(c) for c in catalogue.CLIPS]
    total = sum(r["size"] for r in rows)
    lines = [
        "# Sound clips",
        "",
        "The 45 clips in `assets/clips/`, as built by `tools/make_clips.py` and measured by",
        "`tools/clip_report.py` (which writes this page). Levels are over all channels;",
        "MP3 levels come from decoding the data chunk's frames.",
        "",
        "| button | caption | format | ch | rate | bits | file bytes | data bytes | seconds "
        "| peak dBFS | RMS dBFS | quietest 1 s RMS |",
        "| ---: | --- | --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |",
    ]
    for r in rows:
        c, f, lv = r["clip"], r["fmt"], r["levels"]
        kind = "MP3" if f["tag"] == 0x55 else "PCM"
        lines.append("| %s | %s | %s | %d | %d | %d | %d | %d | %.3f | %s | %s | %s |" % (
            c.button or "start-up", (c.caption + " (" + c.meaning + ")") if c.caption else
            c.meaning, kind, f["channels"], f["rate"], f["bits"], r["size"], r["data"],
            r["seconds"], fmt_db(lv and lv[0]), fmt_db(lv and lv[1]), fmt_db(lv and lv[2])))
    lines += ["", "Total: **%d bytes** in %d files." % (total, len(rows)), "",
              "## Chunk layouts", "",
              "Chunk bodies in bytes, in file order after `RIFF` size `WAVE`.", "",
              "| file | fmt size | layout |", "| --- | ---: | --- |"]
    for r in rows:
        lines.append("| `%s.wav` | %d | %s |" % (r["clip"].name, r["fmt"]["size"],
                                                 layout(r["parsed"], r["size"])))
    mp3 = [r for r in rows if r["fmt"]["tag"] == 0x55]
    if mp3:
        f = mp3[0]["fmt"]
        lines += ["", "MP3 clips: format tag 0x0055, %d Hz mono, %d bytes/s, block %d, "
                  "wID %d, flags %d, block size %d, %d frame per block, codec delay %d; "
                  "data = whole MPEG-2 Layer III frames (%s)." % (
                      f["rate"], f["avg"], f["align"], f.get("wID", 0), f.get("flags", 0),
                      f.get("blocksize", 0), f.get("frames_per_block", 0),
                      f.get("codec_delay", 0),
                      ", ".join("%s: %d" % (r["clip"].name, r["mp3_frames"]) for r in mp3))]
    problems = [(r["clip"].name, p) for r in rows for p in r["problems"]]
    if total != catalogue.TOTAL_BYTES:
        problems.append(("total", "%d != %d" % (total, catalogue.TOTAL_BYTES)))
    os.makedirs(os.path.dirname(OUT), exist_ok=True)
    with open(OUT, "w", encoding="utf-8") as fh:
        fh.write("\n".join(lines) + "\n")
    print("wrote %s: %d clips, %d bytes" % (os.path.relpath(OUT, ROOT), len(rows), total))
    for name, p in problems:
        print("PROBLEM %s: %s" % (name, p))
    if "--check" in argv and problems:
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
