#!/usr/bin/python3
"""Regenerates assets/clips/*.wav, the sounds built into the board.

    /usr/bin/python3 tools/make_clips.py [-j N] [name ...]   # default: every clip, one worker per core

Needs sox, espeak-ng and lame (Debian: apt-get install sox espeak-ng lame).
Output is byte-for-byte repeatable: seeds are fixed and sox runs with -R.
Every file's size, data size and the grand total are checked against the
catalogue in tools/clips/catalogue.py before anything is written.
"""

import multiprocessing
import os
import random
import struct
import sys
import time

sys.dont_write_bytecode = True     # keep tools/clips free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from clips import catalogue, dsp, riff, sounds  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "assets", "clips")
SOFTWARE = "espeak-ng + sox"


def check_layouts():
    total = 0
    for c in catalogue.CLIPS:
        assert c.laid_out_bytes() == c.file_bytes, (c.name, c.laid_out_bytes(), c.file_bytes)
        assert c.data_chunk.size == c.data_bytes, c.name
        assert c.data_bytes % c.fmt.block_align == 0 or c.fmt.kind == "mp3", c.name
        for ch in c.chunks[:c.chunks.index(c.data_chunk)]:
            assert ch.size % 2 == 0, (c.name, ch.cid)
        total += c.file_bytes
    assert total == catalogue.TOTAL_BYTES, total
    assert len(catalogue.CLIPS) == 45


def render(clip):
    rng = random.Random("clip:" + clip.name)
    gen = sounds.GENERATORS[clip.name]
    fmt = clip.fmt
    if fmt.kind == "mp3":
        return encode_mp3(clip, gen, rng)
    chs = gen(fmt.rate, clip.frames, fmt.channels, rng)
    if len(chs) != fmt.channels:
        chs = [chs[0]] * fmt.channels if len(chs) == 1 else [chs[0]]
    short = clip.frames - min(len(c) for c in chs)
    assert short <= fmt.rate * 0.02, (clip.name, "generator came up short", short)
    chs = dsp.fit(chs, clip.frames, fmt.rate)
    return dsp.quantise(chs, fmt.rate, fmt.bits, sounds.PEAK_DB.get(clip.name, -1.5))


def encode_mp3(clip, gen, rng):
    """Encodes to MPEG-2 Layer III (24 kHz mono, 32 kbit/s) and keeps exactly the
    frames the data chunk holds.  The audio is laid out so the decoder's start-up
    delay still leaves the whole phrase inside those frames."""
    nframes = clip.data_bytes // riff.MP3_FRAME_BYTES
    rate = clip.fmt.rate
    span = nframes * riff.MP3_FRAME_SAMPLES - 1152
    chs = gen(rate, span, 1, rng)
    chs = dsp.fit(chs, span, rate)
    chs = [dsp.concat(chs[0], dsp.zeros(4 * riff.MP3_FRAME_SAMPLES))]
    pcm = dsp.quantise(chs, rate, 16)
    stream = dsp.run(["lame", "--quiet", "-r", "-s", "24", "--bitwidth", "16", "--signed",
                      "--little-endian", "-m", "m", "--cbr", "-b", "32", "--resample", "24",
                      "-t", "--noreplaygain", "-", "-"], pcm)
    frames = riff.mp3_frames(stream)
    assert len(frames) >= nframes, (clip.name, len(frames), nframes)
    frames = frames[:nframes]
    for f in frames:
        h = riff.mp3_header_fields(f)
        assert len(f) == riff.MP3_FRAME_BYTES and h["padding"] == 0 and h["version"] == 2 \
            and h["layer"] == 1 and h["br_idx"] == 4 and h["sr_idx"] == 1 and h["mode"] == 3, h
    return b"".join(frames)


def bodies(clip, data):
    b = {"fmt ": riff.fmt_body(clip.fmt, next(c.size for c in clip.chunks if c.cid == "fmt "))}
    title = clip.caption or "开机音乐"
    for c in clip.chunks:
        if c.cid == "LIST":
            b["LIST"] = riff.list_info_body(c.size, title, SOFTWARE)
        elif c.cid == "JUNK":
            b["JUNK"] = bytes(c.size)
        elif c.cid == "fact":
            b["fact"] = struct.pack("<I", clip.frames)
        elif c.cid == "cue ":
            b["cue "] = riff.cue_body(c.size, [0, clip.frames // 2])
        elif c.cid == "id3 ":
            b["id3 "] = riff.id3_body(c.size, title, "直播音效板", SOFTWARE)
        elif c.cid == "bext":
            f = clip.fmt
            hist = "A=PCM,F=%d,W=%d,M=%s,T=sox\r\n" % (f.rate, f.bits,
                                                       "mono" if f.channels == 1 else "stereo")
            b["bext"] = riff.bext_body(c.size, clip.meaning, "soundboard", clip.name, hist)
    return b


def make(name):
    clip = catalogue.BY_NAME[name]
    t0 = time.time()
    try:
        data = render(clip)
    finally:
        dsp.cleanup()
    blob = riff.build(clip, data, bodies(clip, data))
    assert len(blob) == clip.file_bytes
    with open(os.path.join(OUT_DIR, clip.name + ".wav"), "wb") as fh:
        fh.write(blob)
    return name, len(blob), time.time() - t0


def main(argv):
    jobs = os.cpu_count() or 1
    if argv[:1] == ["-j"]:
        jobs, argv = int(argv[1]), argv[2:]
    check_layouts()
    names = argv or [c.name for c in catalogue.CLIPS]
    os.makedirs(OUT_DIR, exist_ok=True)
    t_all = time.time()
    # longest first so the workers finish together; each clip has its own seed,
    # so the order and the number of workers do not change a single byte
    order = sorted(names, key=lambda n: -catalogue.BY_NAME[n].data_bytes)
    if jobs > 1 and len(order) > 1:
        with multiprocessing.get_context("fork").Pool(jobs) as pool:
            done = {r[0]: r for r in pool.imap_unordered(make, order)}
    else:
        done = {n: make(n) for n in order}
    for name in names:
        _, size, secs = done[name]
        clip = catalogue.BY_NAME[name]
        print("%-9s %8d bytes  %6.2f s audio  (%.1f s)" % (name, size, clip.seconds, secs))
    if not argv:
        total = sum(os.path.getsize(os.path.join(OUT_DIR, c.name + ".wav"))
                    for c in catalogue.CLIPS)
        assert total == catalogue.TOTAL_BYTES, total
        print("total %d bytes in %d files, %.1f s" % (total, len(catalogue.CLIPS),
                                                     time.time() - t_all))


if __name__ == "__main__":
    main(sys.argv[1:])
