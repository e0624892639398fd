#!/usr/bin/python3
"""End-to-end sound cases: the real program under Wine, clicked as a person
would, heard through a recording of the PulseAudio null sink that is the
sound card here, and compared with the clips' own samples.

Uses the session, probe and input helpers of run_e2e.py; numpy (Debian's
python3-numpy) for the cross-correlation, sox and lame to turn each clip into
reference samples at the sink's rate.
"""
import struct
import subprocess
import sys
import tempfile
import time
import wave
from pathlib import Path

import numpy as np

sys.path.insert(0, str(Path(__file__).resolve().parent))
import run_e2e as base  # noqa: E402

RATE = 44100
ASSETS = Path(__file__).resolve().parents[2] / "assets" / "clips"
# Button number by caption, for the clip files.
NUMBER = {
    "大众笑声": 1, "男人奸笑": 2, "邪恶地笑": 3, "小孩哭笑": 4, "口哨声音": 5, "女生媚笑": 7, "女生尖叫": 8,
    "接吻声音": 9, "女人砍刀": 10, "机枪枪毙": 11, "送去医院": 12, "撒娇摇头": 13, "笑声鼓掌": 14, "尖叫鼓掌": 15,
    "稍微鼓掌": 16, "正常鼓掌": 17, "我鄙视你": 18, "震撼屁声": 19, "做人厚道": 20, "乌鸦飞过": 21,
    "手枪声音": 22, "心跳声音": 23, "Karvon笑": 24, "打碎玻璃": 25, "猪快出来": 26, "你快来呀": 27,
    "真的是猪": 28, "各种狂笑": 29, "我太有才": 30, "不要逼我": 31, "老折磨我": 32, "一会再说": 33,
    "葵花点穴": 34, "我是胡侃": 35, "回家吃吧": 36, "我要走了": 37, "吐得习惯": 38, "爱拍马屁": 39,
    "后果严重": 40, "有没天理": 41, "我会回来": 42, "他们来了": 43, "我很忙啊": 44, "我是大海": 45,
}


# ---- reference samples ---------------------------------------------------

def chunks(data):
    """(fmt body, data body) of a RIFF/WAVE file, data cut to what is there."""
    fmt = body = None
    at = 12
    while at + 8 <= len(data):
        cid, size = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
        if cid == b"fmt ":
            fmt = data[at + 8:at + 8 + size]
        elif cid == b"data":
            body = data[at + 8:at + 8 + size]
        if fmt is not None and body is not None:
            break
        at += 8 + size
    return fmt, body


_cache = {}


def reference(path):
    """The clip as the sink hears it: mono float at 44,100 Hz."""
    if path in _cache:
        return _cache[path]
    fmt, body = chunks(Path(path).read_bytes())
    tag, channels, rate = struct.unpack_from("<HHI", fmt)
    with tempfile.TemporaryDirectory() as tmp:
        src = Path(tmp) / "src.wav"
        if tag == 0x55:  # MPEG layer-3: decode the frames themselves
            (Path(tmp) / "src.mp3").write_bytes(body)
            subprocess.run(["lame", "--quiet", "--decode", str(Path(tmp) / "src.mp3"), str(src)], check=True)
        else:  # a plain WAV of the same samples, free of the clip's extra chunks
            bits = struct.unpack_from("<H", fmt, 14)[0]
            align = channels * bits // 8
            body = body[:len(body) - len(body) % align]
            hdr = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(body), b"WAVE", b"fmt ", 16, 1, channels,
                              rate, rate * align, align, bits, b"data", len(body))
            src.write_bytes(hdr + body)
        raw = subprocess.run(["sox", "-V1", str(src), "-t", "raw", "-r", str(RATE), "-c", "1", "-b", "16",
                              "-e", "signed-integer", "-"], check=True, capture_output=True).stdout
    ref = np.frombuffer(raw, dtype="<i2").astype(np.float64) / 32768
    _cache[path] = ref
    return ref


def clip_path(caption):
    return ASSETS / f"button{NUMBER[caption]:02d}.wav"


# ---- recording -----------------------------------------------------------

class Recording:
    """The sink's monitor, from now until stop()."""

    def __init__(self, folder):
        self.path = Path(folder) / "sink.raw"
        out = open(self.path, "wb")
        self.proc = subprocess.Popen(["parec", "-d", "vsink.monitor", "--format=s16le", f"--rate={RATE}",
                                      "--channels=2", "--latency-msec=10"], stdout=out, stderr=subprocess.DEVNULL)
        out.close()
        # parec takes a moment to start; the sink's monitor then streams
        # without pause, so the bytes written date the first sample.
        deadline = time.monotonic() + 10
        while self.path.stat().st_size < 4 * RATE // 20:
            if time.monotonic() > deadline:
                raise base.Failed("the recorder never started")
            time.sleep(0.01)
        self.t0 = time.monotonic() - self.path.stat().st_size / 4 / RATE

    def at(self, t):
        """Sample index of a monotonic time."""
        return int((t - self.t0) * RATE)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(timeout=5)
        pcm = np.frombuffer(self.path.read_bytes()[: (self.path.stat().st_size // 4) * 4], dtype="<i2")
        return pcm.reshape(-1, 2).astype(np.float64).mean(axis=1) / 32768


def onset(ref, threshold=0.01):
    """First sample of a clip louder than the threshold (10 ms blocks)."""
    for i in range(0, len(ref) - 441, 441):
        if np.sqrt(np.mean(ref[i:i + 441] ** 2)) > threshold:
            return i
    return 0


def find(rec, ref, lo, hi):
    """Best normalised correlation of `ref` starting anywhere in rec[lo:hi]."""
    lo, hi = max(0, lo), min(len(rec) - len(ref), hi)
    if hi <= lo or len(ref) == 0:
        return 0.0, lo
    seg = rec[lo:hi + len(ref)]
    n = 1 << int(np.ceil(np.log2(len(seg) + len(ref))))
    corr = np.fft.irfft(np.fft.rfft(seg, n) * np.conj(np.fft.rfft(ref, n)), n)[: hi - lo]
    energy = np.cumsum(np.concatenate(([0.0], seg ** 2)))
    window = energy[len(ref):len(ref) + hi - lo] - energy[: hi - lo]
    score = corr / np.sqrt(np.maximum(window, 1e-12) * np.sum(ref ** 2))
    best = int(np.argmax(score))
    return float(score[best]), lo + best


def rms_db(x):
    return 20 * np.log10(max(1e-9, float(np.sqrt(np.mean(x ** 2))) if len(x) else 1e-9))


# ---- driving the board ---------------------------------------------------

def board_and_recording(s):
    """The board up and the sink being recorded: (board window, recording)."""
    _, w = s.board_up()
    rec = Recording(s.dir)
    time.sleep(0.3)
    return w, rec


def close_with_escape(s):
    s.xdo("key", "Escape")
    s.expect_exit_zero("Esc on the board")


def button_centre(w, caption):
    for c in w["children"]:
        if c["class"] == "Button" and c["text"] == caption:
            r = c["rect"]
            return w["client_origin"][0] + (r[0] + r[2]) // 2, w["client_origin"][1] + (r[1] + r[3]) // 2
    raise base.Failed(f"no button {caption}")


def click(s, xy):
    s.xdo("mousemove", *xy)
    s.xdo("click", "1")
    return time.monotonic()


def heard(s, rec, samples, caption, t_click, seconds=0.35, offset=0.0, search=(-0.1, 0.6), delay=0):
    """Correlation of the clip's samples (from `offset` seconds after its onset) near a click.

    `delay` is the recording's lag behind the click clock, as calibrate() found it."""
    ref = reference(clip_path(caption))
    start = onset(ref) + int(offset * RATE)
    piece = ref[start:start + int(seconds * RATE)]
    at = rec.at(t_click) + delay + start
    return find(samples, piece, at + int(search[0] * RATE), at + int(search[1] * RATE))


def calibrate(s, rec, samples, caption, t_click):
    """The recording's lag behind the click clock (parec's start-up and the
    sound path's latency), from the first click's clip searched widely. Three
    pieces are tried, so one underrun of the sound server cannot spoil it."""
    ref = reference(clip_path(caption))
    best = (0.0, 0, 0.0)
    for offset in (0.0, 0.4, 0.8):
        if onset(ref) + int((offset + 0.35) * RATE) > len(ref):
            break
        score, at = heard(s, rec, samples, caption, t_click, offset=offset, search=(-1.0, 2.5))
        if score > best[0]:
            best = (score, at, offset)
    score, at, offset = best
    delay = at - (rec.at(t_click) + onset(ref) + int(offset * RATE))
    s.note(f"calibration on {caption}: correlation {score:.3f}, sound {1000 * delay / RATE:.0f} ms after the click")
    s.require(score > 0.8, "the first click is heard", f"{score:.3f}")
    return delay


# ---- cases ---------------------------------------------------------------

def case_startup_sound(s, args):
    rec = Recording(s.dir)
    t = time.monotonic()
    s.start()
    s.wait_start_shown()
    time.sleep(1.5)
    samples = rec.stop()
    ref = reference(ASSETS / "startup.wav")
    # Three half-second pieces from its start, each where it belongs: one
    # underrun of Wine's sound server spoils a piece, not the check.
    first = onset(ref)
    score, at = find(samples, ref[first:first + RATE // 2], rec.at(t), rec.at(t) + 3 * RATE)
    for k in (1, 2):
        piece = ref[first + k * RATE // 2:first + (k + 1) * RATE // 2]
        score = max(score, find(samples, piece, at + k * RATE // 2 - RATE // 10, at + k * RATE // 2 + RATE // 10)[0])
    s.note(f"start-up sound found {1000 * (at - rec.at(t)) / RATE:.0f} ms after launch, correlation {score:.3f}")
    s.check(score > 0.9, "the start-up sound plays from its start with the splash", f"{score:.3f}")
    # The splash takes the keyboard once clicked (on its lettering, not a transparent pixel).
    start = s.window(s.dump(), s.form_event(0, "shown")["hwnd"])
    s.require(start is not None, "the splash is still there")
    s.xdo("mousemove", start["rect"][0] + 400, start["rect"][1] + 150)
    s.xdo("click", "1")
    time.sleep(0.2)
    s.xdo("key", "Escape")
    s.expect_exit_zero("Esc on the splash")


def case_every_button(s, args):
    w, rec = board_and_recording(s)
    clicks = []
    for caption, _, _ in base.BUTTONS:
        clicks.append((caption, click(s, button_centre(w, caption))))
        time.sleep(0.8)
    time.sleep(0.3)
    samples = rec.stop()
    delay = calibrate(s, rec, samples, *clicks[0])
    low = []
    for caption, t in clicks:
        # The cut clip's last few milliseconds still sound in the sink as the
        # new one starts: compare from 150 ms in, where only the new one plays.
        ref = reference(clip_path(caption))
        length = (len(ref) - onset(ref)) / RATE
        # Two pieces where the clip is long enough: one underrun of the sound
        # server spoils one of them, not the match.
        offsets = (0.12, 0.42) if length > 0.7 else (0.12,) if length > 0.5 else (0.0,)
        score = max(heard(s, rec, samples, caption, t, min(0.25, length - o), offset=o, search=(-0.25, 0.25),
                          delay=delay)[0] for o in offsets)
        s.note(f"{caption}: correlation {score:.3f}")
        if score < 0.8:
            low.append((caption, round(score, 3)))
    s.check(not low, "each of the 44 buttons plays its own clip when clicked", low)
    close_with_escape(s)


def case_cut_and_restart(s, args):
    w, rec = board_and_recording(s)
    long, short = "大众笑声", "乌鸦飞过"
    t1 = click(s, button_centre(w, long))
    time.sleep(1.0)
    t2 = click(s, button_centre(w, short))
    time.sleep(0.6)
    t3 = click(s, button_centre(w, short))
    time.sleep(2.5)
    samples = rec.stop()
    delay = calibrate(s, rec, samples, long, t1)
    near = (-0.25, 0.25)
    b, _ = heard(s, rec, samples, short, t2, search=near, delay=delay)
    s.check(b > 0.8, "a click while a clip plays starts the new clip", f"{b:.3f}")
    # The long clip's continuation, where it would be had it not been cut.
    gone, _ = heard(s, rec, samples, long, t1, seconds=0.3, offset=(t2 - t1) + 0.25, search=near, delay=delay)
    s.check(gone < 0.5, "…and cuts the old one", f"{gone:.3f}")
    again, _ = heard(s, rec, samples, short, t3, search=near, delay=delay)
    s.check(again > 0.8, "a second click on the same button starts its clip from the beginning", f"{again:.3f}")
    close_with_escape(s)


def case_rapid_clicks(s, args):
    _, w = s.board_up()
    time.sleep(0.3)
    before = s.run_probe("threads", "--pid", str(s.pid()))["threads"]
    rec = Recording(s.dir)
    time.sleep(0.3)
    t_cal = click(s, button_centre(w, "打碎玻璃"))  # heard long enough to find the recording's lag
    time.sleep(1.0)
    order = ["大众笑声", "各种狂笑", "打碎玻璃", "正常鼓掌"] * 5
    order[-1] = "口哨声音"  # the last click: a short clip
    # One xdotool run for all twenty: each click takes it about 100 ms, so the
    # pace is the clicks' own and not that of starting a program per click.
    chain = []
    for caption in order:
        chain += ["mousemove", *map(str, button_centre(w, caption)), "click", "1"]
    t_first = time.monotonic()
    s.xdo(*chain)
    t_last = time.monotonic()
    s.check(t_last - t_first < 2.6, "20 clicks within about two seconds", f"{t_last - t_first:.2f} s")
    ts = [t_last]
    time.sleep(2.5)
    samples = rec.stop()
    delay = calibrate(s, rec, samples, "打碎玻璃", t_cal)
    last, at = heard(s, rec, samples, order[-1], ts[-1], seconds=0.3, search=(-0.4, 0.25), delay=delay)
    s.check(last > 0.8, "the last click's clip plays", f"{last:.3f}")
    clip = reference(clip_path(order[-1]))
    tail = samples[at + len(clip) - onset(clip) + RATE // 5:]
    s.check(rms_db(tail) < -60, "once it ends nothing else plays: no queue built up", f"{rms_db(tail):.1f} dBFS")
    after = s.run_probe("threads", "--pid", str(s.pid()))["threads"]
    # A live program has its own thread at least: a count of 0 is a probe that saw nothing.
    s.check(0 < after <= before, "no player is left running (thread count back where it was)", f"{before} -> {after}")
    close_with_escape(s)


def case_long_clip(s, args):
    w, rec = board_and_recording(s)
    caption = "我是胡侃"
    t = click(s, button_centre(w, caption))
    ref = reference(clip_path(caption))
    length = len(ref) / RATE
    time.sleep(length + 8.5)
    samples = rec.stop()
    delay = calibrate(s, rec, samples, caption, t)
    start = rec.at(t) + delay  # where the clip's first sample sounds
    # A sound-server underrun delays what follows it without losing samples
    # (seen here: 3.9 s of them over this clip's 53 s), so the clip's last
    # pieces are looked for from where they are due to 6 s later. The latest
    # piece heard dates the end: one underrun inside a piece spoils only that
    # piece, but one after an earlier piece would move the end past it.
    piece = int(0.35 * RATE)
    last = end = due_end = 0
    for back in (piece, 2 * piece, 3 * piece):
        due = start + len(ref) - back
        score, at = find(samples, ref[len(ref) - back:len(ref) - back + piece], due - RATE // 10, due + 6 * RATE)
        if score > last:
            last, end, due_end = score, at + back, due + back
        if score > 0.8:
            break
    s.check(last > 0.8, f"it plays its samples to the end ({length:.2f} s)",
            f"{last:.3f}, {1000 * (end - due_end) / RATE:.0f} ms after it was due")
    # Its id3 chunk would sound as eight seconds of noise (66,064 bytes at
    # 8,000 a second) from the clip's end on. The first second is left out:
    # Wine's sound server fills an 8-bit stream that has run dry with 0x00,
    # the lowest sample, until the device is closed, a click that is Wine's
    # and lasts longer the slower the machine (80 ms on ours).
    after = samples[end + RATE:end + 4 * RATE]
    s.require(len(after) > RATE, "the recording goes on well past the clip's end", f"{len(after) / RATE:.2f} s")
    s.check(rms_db(after) < -60, "and nothing after them: its id3 chunk is never played", f"{rms_db(after):.1f} dBFS")
    close_with_escape(s)


def case_demo(s, args):
    """tools/board.sh without a display: the board up, a screenshot, a few
    clicks heard, Esc. Leaves board-screenshot.png and board-demo.wav in --out."""
    out = s.dir.parent
    w, rec = board_and_recording(s)
    shot = out / "board-screenshot.png"
    subprocess.run(["import", "-window", "root", str(shot)], check=True, timeout=20)
    s.note(f"screenshot: {shot}")
    clicks = []
    for caption in ("大众笑声", "笑声鼓掌", "手枪声音", "我会回来"):
        clicks.append((caption, click(s, button_centre(w, caption))))
        s.note(f"clicked {caption}")
        time.sleep(1.5)
    samples = rec.stop()
    raw = rec.path.read_bytes()
    demo = out / "board-demo.wav"
    with wave.open(str(demo), "wb") as f:
        f.setnchannels(2)
        f.setsampwidth(2)
        f.setframerate(RATE)
        f.writeframes(raw[: len(raw) // 4 * 4])
    s.note(f"what the sound card played: {demo} ({len(raw) / 4 / RATE:.1f} s)")
    # Each click heard as its own clip, as in every_button: a silent board fails here.
    delay = calibrate(s, rec, samples, *clicks[0])
    for caption, t in clicks[1:]:
        score = max(heard(s, rec, samples, caption, t, 0.25, offset=o, search=(-0.25, 0.25), delay=delay)[0]
                    for o in (0.12, 0.42))
        s.check(score > 0.8, f"{caption} is heard when clicked", f"{score:.3f}")
    close_with_escape(s)


CASES = {
    "demo": (case_demo, 60),
    "startup_sound": (case_startup_sound, 30),
    "every_button": (case_every_button, 90),
    "cut_and_restart": (case_cut_and_restart, 40),
    "rapid_clicks": (case_rapid_clicks, 40),
    "long_clip": (case_long_clip, 100),
}

if __name__ == "__main__":
    sys.exit(base.main_with_sound(__doc__, CASES))
