"""Small signal toolkit: float buffers in Python, heavy effects through sox.

A sound is a list of channel buffers (array('f')), all the same length, at a
rate the caller keeps track of.  Everything is deterministic: randomness comes
from random.Random objects the caller seeds, and sox always runs with -R.
"""

import array
import functools
import math
import operator
import os
import shutil
import subprocess
import tempfile
from itertools import repeat

_TMP = None


def tmpdir():
    global _TMP
    if _TMP is None or not os.path.isdir(_TMP):
        _TMP = tempfile.mkdtemp(prefix="clips-")
    return _TMP


def cleanup():
    global _TMP
    if _TMP:
        shutil.rmtree(_TMP, ignore_errors=True)
        _TMP = None


def run(cmd, data=None):
    p = subprocess.run(cmd, input=data, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if p.returncode != 0:
        raise RuntimeError("%s failed: %s" % (" ".join(cmd[:6]), p.stderr.decode(errors="replace")))
    return p.stdout


# ---- buffers ---------------------------------------------------------------

def zeros(n):
    return array.array("f", bytes(4 * max(0, int(n))))


def from_bytes(b):
    a = array.array("f")
    a.frombytes(b)
    return a


def scale(a, g):
    return array.array("f", map(operator.mul, a, repeat(float(g), len(a))))


def mul(a, b):
    n = min(len(a), len(b))
    return array.array("f", map(operator.mul, a[:n], b[:n]))


def add_into(dst, src, at=0, gain=1.0):
    """dst[at:] += gain * src, clipped to dst's bounds."""
    at = int(at)
    if at < 0:
        src = src[-at:]
        at = 0
    n = min(len(src), len(dst) - at)
    if n <= 0:
        return
    seg = src[:n] if gain == 1.0 else scale(src[:n], gain)
    dst[at:at + n] = array.array("f", map(operator.add, dst[at:at + n], seg))


def place(dst, mono, at, gain=1.0, pan=0.0):
    """Mixes a mono buffer into a sound at sample `at`, equal-power panned (-1 left .. 1 right)."""
    if len(dst) == 1:
        add_into(dst[0], mono, at, gain)
        return
    th = (max(-1.0, min(1.0, pan)) + 1) * math.pi / 4
    add_into(dst[0], mono, at, gain * math.cos(th) * math.sqrt(2))
    add_into(dst[1], mono, at, gain * math.sin(th) * math.sqrt(2))


def mix_sound(dst, src, at=0, gain=1.0):
    if len(src) == 1 and len(dst) == 2:
        src = [src[0], src[0]]
    for d, s in zip(dst, src):
        add_into(d, s, at, gain)


def blank(channels, n):
    return [zeros(n) for _ in range(channels)]


def peak(chs):
    return max((max(map(abs, c)) if len(c) else 0.0) for c in chs)


def rms(a):
    if not len(a):
        return 0.0
    return math.sqrt(math.fsum(map(operator.mul, a, a)) / len(a))


def concat(*bufs):
    out = array.array("f")
    for b in bufs:
        out.extend(b)
    return out


def fade(a, rate, fin=0.0, fout=0.0):
    a = array.array("f", a)
    n_in = min(len(a), int(fin * rate))
    for i in range(n_in):
        a[i] *= i / n_in
    n_out = min(len(a), int(fout * rate))
    L = len(a)
    for i in range(n_out):
        a[L - 1 - i] *= i / n_out
    return a


def envelope(rate, n, points):
    """Piecewise-linear envelope from (seconds, level) points."""
    pts = sorted(points)
    if pts[0][0] > 0:
        pts.insert(0, (0.0, pts[0][1]))
    out = array.array("f")
    i = 0
    for (t0, v0), (t1, v1) in zip(pts, pts[1:]):
        i1 = min(n, int(round(t1 * rate)))
        if i1 <= i:
            continue
        span = max(1.0, (t1 - t0) * rate)
        step = (v1 - v0) / span
        base = v0 + step * (i - t0 * rate)
        out.extend(base + step * k for k in range(i1 - i))
        i = i1
    if i < n:
        out.extend(repeat(float(pts[-1][1] if i else pts[0][1]), n - i))
    return out


def expdecay(rate, n, tau, attack=0.0005):
    na = max(1, int(attack * rate))
    k = math.exp(-1.0 / (tau * rate))
    out = zeros(n)
    v = 1.0
    for i in range(n):
        if i < na:
            out[i] = i / na
        else:
            out[i] = v
            v *= k
    return out


def trim_silence(a, rate, thresh=0.02, lead=0.005, tail=0.03):
    pk = max(map(abs, a)) if len(a) else 0.0
    if pk == 0:
        return a
    th = pk * thresh
    first = next(i for i, x in enumerate(a) if abs(x) > th)
    last = len(a) - 1 - next(i for i, x in enumerate(reversed(a)) if abs(x) > th)
    s = max(0, first - int(lead * rate))
    e = min(len(a), last + int(tail * rate))
    return a[s:e]


def fit(chs, n, rate, fout=0.03):
    """Exactly n frames: trims (with a short fade) or pads with silence."""
    out = []
    for c in chs:
        if len(c) >= n:
            c = fade(c[:n], rate, 0.0, fout) if len(c) > n else c
        else:
            c = concat(c, zeros(n - len(c)))
        out.append(c)
    return out


# ---- oscillators and noise ---------------------------------------------------

def osc(rate, n, freq, shape="sine", phase=0.0):
    """freq: Hz, or a function of time in seconds.  Saw/square are PolyBLEP band-limited."""
    out = zeros(n)
    f_of_t = freq if callable(freq) else None
    ph = phase
    inv = 1.0 / rate
    for i in range(n):
        f = f_of_t(i * inv) if f_of_t else freq
        dt = f * inv
        if shape == "sine":
            v = math.sin(2 * math.pi * ph)
        else:
            v = 2.0 * ph - 1.0
            v -= _blep(ph, dt)
            if shape == "square":
                p2 = ph + 0.5
                if p2 >= 1.0:
                    p2 -= 1.0
                v2 = 2.0 * p2 - 1.0 - _blep(p2, dt)
                v = v - v2
            elif shape == "tri":
                v = 1.0 - 2.0 * abs(v)
        out[i] = v
        ph += dt
        if ph >= 1.0:
            ph -= 1.0
    return out


def _blep(t, dt):
    if dt <= 0:
        return 0.0
    if t < dt:
        t /= dt
        return t + t - t * t - 1.0
    if t > 1.0 - dt:
        t = (t - 1.0) / dt
        return t * t + t + t + 1.0
    return 0.0


def noise(n, rng):
    u = rng.random
    return array.array("f", (2.0 * u() - 1.0 for _ in range(int(n))))


# ---- filters (short buffers; long ones go through sox) -----------------------

def _coeffs(kind, f, q, rate):
    w = 2 * math.pi * min(f, rate * 0.45) / rate
    cs, sn = math.cos(w), math.sin(w)
    al = sn / (2 * q)
    if kind == "bp":
        b0, b1, b2 = al, 0.0, -al
    elif kind == "lp":
        b0 = b2 = (1 - cs) / 2
        b1 = 1 - cs
    else:  # hp
        b0 = b2 = (1 + cs) / 2
        b1 = -(1 + cs)
    a0, a1, a2 = 1 + al, -2 * cs, 1 - al
    return b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0


def biquad(a, rate, kind, f, q=0.707):
    """RBJ biquad; f may be a function of time (coefficients updated every 32 samples)."""
    out = zeros(len(a))
    x1 = x2 = y1 = y2 = 0.0
    f_of_t = f if callable(f) else None
    b0, b1, b2, a1, a2 = _coeffs(kind, f_of_t(0) if f_of_t else f, q, rate)
    for i, x in enumerate(a):
        if f_of_t and i % 32 == 0:
            b0, b1, b2, a1, a2 = _coeffs(kind, f_of_t(i / rate), q, rate)
        y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1 = x1, x
        y2, y1 = y1, y
        out[i] = y
    return out


# ---- sox ---------------------------------------------------------------------

def interleave(chs):
    if len(chs) == 1:
        return chs[0]
    n = len(chs[0])
    out = zeros(n * len(chs))
    for k, c in enumerate(chs):
        out[k::len(chs)] = c
    return out


def deinterleave(a, c):
    if c == 1:
        return [a]
    n = len(a) // c
    return [a[k:n * c:c] for k in range(c)]


def sox(chs, rate, effects, out_channels=None, out_rate=None):
    """Runs a sound through sox effects.  Levels are staged down and back up so
    sox's fixed-point path never clips, whatever the float buffer's level."""
    c = len(chs)
    pk = peak(chs) or 1.0
    g = 0.25 / pk
    data = interleave([scale(ch, g) for ch in chs]).tobytes()
    oc = out_channels or c
    cmd = ["sox", "-R", "-V1", "-t", "f32", "-r", str(rate), "-c", str(c), "-",
           "-t", "f32", "-c", str(oc)]
    if out_rate:
        cmd += ["-r", str(out_rate)]
    cmd += ["-"] + [str(e) for e in effects]
    out = from_bytes(run(cmd, data))
    return [scale(ch, 1.0 / g) for ch in deinterleave(out, oc)]


def sox_synth(rate, seconds, synth_args, effects=(), channels=1):
    cmd = ["sox", "-R", "-V1", "-n", "-t", "f32", "-r", str(rate), "-c", str(channels), "-",
           "synth", "%.6f" % seconds] + [str(a) for a in synth_args] + [str(e) for e in effects]
    return deinterleave(from_bytes(run(cmd)), channels)


def reverb(chs, rate, rev=50, damp=50, room=60, depth=60, predelay=0, wet=0, stereo=True,
           wet_only=False):
    if stereo and len(chs) == 1:
        chs = [chs[0], chs[0]]
    wet = max(-10, min(10, wet))
    args = ["reverb"] + (["-w"] if wet_only else []) + [rev, damp, room, depth, predelay, wet]
    return sox(chs, rate, args)


def quantise(chs, rate, bits, peak_db=-1.5):
    """Normalises to peak_db and writes integer PCM (8-bit unsigned / 16-bit signed), dithered."""
    pk = peak(chs) or 1.0
    g = 10 ** (peak_db / 20) / pk
    data = interleave([scale(ch, g) for ch in chs]).tobytes()
    enc = ["-e", "unsigned-integer", "-b", "8"] if bits == 8 else ["-e", "signed-integer", "-b", "16"]
    cmd = ["sox", "-R", "-V1", "-t", "f32", "-r", str(rate), "-c", str(len(chs)), "-",
           "-t", "raw"] + enc + ["-L", "-"]
    out = run(cmd, data)
    n = len(chs[0]) * len(chs) * bits // 8
    assert len(out) == n, (len(out), n)
    return out


# ---- speech ------------------------------------------------------------------

VOICE = "cmn-latn-pinyin"   # Mandarin; reads hanzi and tone-numbered pinyin alike


@functools.lru_cache(maxsize=None)
def _speak_cached(text, variant, pitch, speed, rate, amp, bend):
    path = os.path.join(tmpdir(), "say-%d.wav" % os.getpid())
    voice = VOICE + ("+" + variant if variant else "")
    run(["espeak-ng", "-v", voice, "-p", str(pitch), "-s", str(speed), "-a", str(amp),
         "-w", path, text])
    # espeak-ng speaks near full scale; leave headroom for bends and resampling.
    effects = ["gain", "-8"] + list(bend) + (["rate", "-v", str(rate)] if rate != 22050 else [])
    raw = run(["sox", "-R", "-V1", path, "-t", "f32", "-c", "1", "-r", str(rate), "-"] + effects)
    return trim_silence(from_bytes(raw), rate)


def speak(text, rate, variant="", pitch=50, speed=170, amp=100, bend=()):
    """Mandarin speech from espeak-ng as a mono buffer, silence trimmed."""
    a = _speak_cached(text, variant, int(pitch), int(speed), rate, amp, tuple(bend))
    return scale(a, 0.9 / (max(map(abs, a)) or 1.0))     # every utterance at the same peak


def tempo(a, rate, factor):
    if abs(factor - 1.0) < 1e-3:
        return a
    return sox([a], rate, ["tempo", "-s", "%.4f" % factor])[0]


def pitch_shift(a, rate, cents):
    return sox([a], rate, ["pitch", "%d" % cents, "rate", "-v", str(rate)])[0]
