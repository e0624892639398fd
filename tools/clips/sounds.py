"""Sound design for every clip.

Each generator takes (rate, frames, channels, rng) and returns a list of
channel buffers of at least `frames` samples at `rate`; make_clips.py trims,
normalises and encodes.  Effects are synthesised; speech and laughter come
from espeak-ng's Mandarin voice, shaped and layered here.
"""

import math
import random

from .dsp import (biquad, blank, concat, envelope, expdecay, fade, mix_sound, mul, noise,
                  osc, peak, pitch_shift, place, reverb, scale, sox, speak, tempo, zeros)

GENERATORS = {}

# Peak level per clip in dBFS (default -1.5).  Sustained tones sound far louder
# than speech at the same peak, so they sit a little lower.
PEAK_DB = {"button05": -3.0, "button08": -3.0, "button19": -3.0}


def clip(name):
    def reg(fn):
        GENERATORS[name] = fn
        return fn
    return reg


def S(rate, seconds):
    return int(round(rate * seconds))


def clamp(v, lo, hi):
    return max(lo, min(hi, v))


# ---- building blocks ---------------------------------------------------------

def burst(rate, seconds, rng, kind="bp", f=2000, q=1.0, tau=0.01, attack=0.0005):
    n = S(rate, seconds)
    src = noise(n, rng)
    if kind:
        src = biquad(src, rate, kind, f, q)
    return mul(src, expdecay(rate, n, tau, attack))


def tone(rate, seconds, f, tau, shape="sine", partials=((1.0, 1.0),), attack=0.002):
    n = S(rate, seconds)
    out = zeros(n)
    f0 = f(0.0) if callable(f) else f
    for ratio, amp in partials:
        if f0 * ratio < rate * 0.45:
            part = osc(rate, n, (lambda t, r=ratio: f(t) * r) if callable(f) else f * ratio, shape)
            mix_sound([out], [part], 0, amp)
    return mul(out, expdecay(rate, n, tau, attack))


def breath(rate, seconds, rng, f=1400, q=1.2, rise=True):
    n = S(rate, seconds)
    src = biquad(noise(n, rng), rate, "bp", f, q)
    pts = [(0, 0.0), (seconds * (0.7 if rise else 0.2), 1.0), (seconds, 0.0)]
    return mul(src, envelope(rate, n, pts))


def shot(rate, rng, big=1.0):
    """One gunshot: a bright crack, a noise body with a fast decay and a low thump."""
    crack = burst(rate, 0.02, rng, "hp", 2500, 0.7, 0.003, 0.0001)
    body = burst(rate, 0.35, rng, "lp", 3500, 0.7, 0.035 * big, 0.0002)
    thump = tone(rate, 0.35, lambda t: 55 + 60 * math.exp(-t / 0.03), 0.07 * big,
                 partials=((1, 1.0), (2, 0.3)))
    out = zeros(len(body))
    for part, g in ((crack, 0.8), (body, 1.0), (thump, 0.9)):
        mix_sound([out], [part], 0, g)
    return out


# ---- laughter ----------------------------------------------------------------

def syllable(rate, syl, variant, pitch, speed, fall=0):
    # coarse steps keep the number of distinct espeak renders (and the run time) small
    pitch = int(clamp(round(pitch / 8) * 8, 0, 99))
    speed = int(round(speed / 40) * 40)
    bend = ("bend", "0.02,%d,0.14" % -fall) if fall else ()
    return speak(syl, rate, variant, pitch, speed, bend=bend)


class Laugher:
    """One person laughing: bouts of 'ha' syllables, pitch and level sagging
    through each bout, with an in-breath between bouts."""

    def __init__(self, rng, variant="", pitch=50, speed=300, syls=("ha4",), interval=0.17,
                 drop=3.0, fall=200, pan=0.0, gain=1.0, bout=(4, 8), pause=(0.1, 0.4),
                 legato=0.95, breath_gain=0.25):
        self.rng = rng
        self.__dict__.update(variant=variant, pitch=pitch, speed=speed, syls=syls,
                             interval=interval, drop=drop, fall=fall, pan=pan, gain=gain,
                             bout=bout, pause=pause, legato=legato, breath_gain=breath_gain)

    def bout_at(self, dst, rate, t, n=None, pitch=None, gain=1.0):
        rng = self.rng
        n = n or rng.randint(*self.bout)
        p = (self.pitch if pitch is None else pitch) + rng.uniform(-4, 4)
        for i in range(n):
            syl = rng.choice(self.syls)
            s = syllable(rate, syl, self.variant, p, self.speed, self.fall)
            step = self.interval * rng.uniform(0.88, 1.12) * (1 + 0.05 * i)
            seg = fade(s[:S(rate, step * self.legato)], rate, 0.004, 0.025)
            g = self.gain * gain * (1 - 0.45 * i / n) * rng.uniform(0.8, 1.1)
            place(dst, seg, S(rate, t), g, self.pan)
            p -= self.drop * rng.uniform(0.5, 1.5)
            t += step
        return t

    def inhale(self, dst, rate, t):
        b = self.rng.choice(breaths(rate))
        place(dst, b, S(rate, t), self.gain * self.breath_gain, self.pan)
        return t + len(b) / rate

    def run(self, dst, rate, start, end, gain=1.0):
        t = start
        while t < end:
            t = self.bout_at(dst, rate, t, gain=gain)
            if t >= end:
                break
            t = self.inhale(dst, rate, t + 0.03)
            t += self.rng.uniform(*self.pause)
        return t


_BREATHS = {}


def breaths(rate):
    """A small shared bank of in-breaths (rendering one per bout is slow)."""
    if rate not in _BREATHS:
        rng = random.Random("breaths:%d" % rate)
        _BREATHS[rate] = [breath(rate, rng.uniform(0.18, 0.3), rng, f=rng.uniform(1200, 2200))
                          for _ in range(8)]
    return _BREATHS[rate]


MALE = ("", "m1", "m2", "m3", "m4", "m6", "m7")
FEMALE = ("f1", "f2", "f3", "f4", "f5")


def random_laugher(rng, pan=None):
    female = rng.random() < 0.45
    return Laugher(
        rng,
        variant=rng.choice(FEMALE if female else MALE),
        pitch=rng.uniform(55, 90) if female else rng.uniform(15, 60),
        speed=rng.uniform(260, 360),
        syls=rng.choice((("ha4",), ("ha4", "ha1"), ("he4", "ha4"), ("hei1", "ha4"),
                         ("ha1",), ("xi1", "ha4") if female else ("ho4", "ha4"))),
        interval=rng.uniform(0.14, 0.21),
        drop=rng.uniform(1.5, 5),
        fall=rng.choice((0, 150, 250, 350)),
        pan=rng.uniform(-0.85, 0.85) if pan is None else pan,
        gain=rng.uniform(0.45, 1.0),
        bout=(4, 9),
        pause=(0.05, 0.5),
    )


def crowd(rate, seconds, rng, people=12, swell=None, channels=2, room=True):
    dst = blank(channels, S(rate, seconds + 0.5))
    for k in range(people):
        lg = random_laugher(rng)
        start = rng.uniform(0.0, 0.6) if k < people * 0.6 else rng.uniform(0.3, seconds * 0.5)
        end = seconds - rng.uniform(0.0, 0.3 * seconds) if k % 3 == 2 else seconds
        lg.run(dst, rate, start, end)
    if swell:
        env = envelope(rate, len(dst[0]), swell)
        dst = [mul(c, env) for c in dst]
    if room:
        dst = reverb(dst, rate, 45, 50, 70, 80, 5, -4)
    return dst


# ---- applause ------------------------------------------------------------------

def clap_bank(rate, rng, count=24):
    bank = []
    for _ in range(count):
        d = rng.uniform(0.03, 0.06)
        c = burst(rate, d, rng, "bp", rng.uniform(900, 2600), rng.uniform(0.8, 2.0),
                  rng.uniform(0.004, 0.011), 0.0006)
        body = burst(rate, d, rng, "bp", rng.uniform(350, 700), 1.5, rng.uniform(0.006, 0.012))
        mix_sound([c], [body], 0, 0.5)
        bank.append(c)
    return bank


def applause(rate, seconds, rng, people=20, channels=2, start_spread=0.4, tail=0.6,
             clap_rate=(3.5, 6.0), room=(30, 50, 40)):
    """People clapping at their own pace; some stop early so the end thins out."""
    bank = clap_bank(rate, rng)
    dst = blank(channels, S(rate, seconds + 0.5))
    for k in range(people):
        pan = rng.uniform(-0.9, 0.9)
        gain = rng.uniform(0.35, 1.0)
        period = 1.0 / rng.uniform(*clap_rate)
        t = rng.uniform(0, start_spread)
        stop = seconds - (rng.uniform(0, tail * seconds) if k % 2 else rng.uniform(0, 0.15))
        while t < stop:
            c = bank[rng.randrange(len(bank))]
            place(dst, c, S(rate, t), gain * rng.uniform(0.7, 1.1), pan)
            t += period * rng.uniform(0.9, 1.1)
    rev = room
    return reverb(dst, rate, rev[0], rev[1], rev[2], 70, 0, -6)


# ---- individual clips -------------------------------------------------------------

@clip("button01")
def crowd_laughter(rate, n, ch, rng):
    sec = n / rate
    return crowd(rate, sec, rng, people=14,
                 swell=[(0, 0.55), (1.0, 0.9), (2.5, 1.0), (sec - 1.5, 0.95), (sec, 0.7)])


@clip("button02")
def sly_laugh(rate, n, ch, rng):
    sec = n / rate
    dst = blank(2, n + S(rate, 0.5))
    lg = Laugher(rng, variant="m3", pitch=22, speed=240, syls=("hei1", "he1"), interval=0.2,
                 drop=1.5, fall=120, pan=0.1, bout=(3, 5), breath_gain=0.12)
    t = 0.05
    t = lg.bout_at(dst, rate, t, n=4) + 0.25
    t = lg.inhale(dst, rate, t) + 0.05
    t = lg.bout_at(dst, rate, t, n=5, pitch=26) + 0.2
    wh = Laugher(rng, variant="whisper", pitch=30, speed=240, syls=("hei1",), interval=0.18,
                 pan=-0.1, gain=0.6)
    t = wh.bout_at(dst, rate, t, n=3) + 0.1
    hm = speak("heng1 heng1", rate, "m3", 20, 200, bend=("bend", "0.05,-200,0.3"))
    place(dst, hm, S(rate, t), 0.8, 0.05)
    t += len(hm) / rate + 0.1
    lg.bout_at(dst, rate, t, n=max(2, int((sec - t) / 0.22)), pitch=20, gain=0.8)
    return reverb(dst, rate, 30, 60, 30, 40, 0, -8)


@clip("button03")
def evil_laugh(rate, n, ch, rng):
    dst = blank(1, n)
    t = 0.02
    wa = speak("mu1 wa1", rate, "m1", 10, 200, bend=("bend", "0.1,300,0.2"))
    place(dst, wa, S(rate, t), 1.0)
    t += len(wa) / rate
    lg = Laugher(rng, variant="m1", pitch=18, speed=300, syls=("ha1", "ha4"), interval=0.15,
                 drop=4, fall=150, legato=1.0)
    for i, p in enumerate((30, 26, 22, 18, 16, 14, 12, 10, 8, 6, 5, 4)):
        t = lg.bout_at(dst, rate, t, n=1, pitch=p, gain=1.0 - i * 0.03)
    deep = pitch_shift(dst[0], rate, -350)
    out = reverb([deep, deep], rate, 80, 40, 100, 100, 20, -2)
    return sox(out, rate, ["echo", "0.8", "0.6", "180", "0.3", "360", "0.15"])


@clip("button04")
def child_cry_laugh(rate, n, ch, rng):
    sec = n / rate
    dst = blank(1, n + S(rate, 0.5))
    t = 0.02
    # crying: long wails broken by sobs
    for text, bend, d in (("wa1", "0.05,300,0.2 0.3,-500,0.4", 0.85),
                          ("wu1 wu1", "0.1,-200,0.3", 0.6),
                          ("wa1", "0.05,400,0.2 0.35,-600,0.4", 0.9)):
        w = speak(text, rate, "f5", 95, 90, bend=("bend",) + tuple(bend.split()))
        w = fade(w[:S(rate, d)], rate, 0.01, 0.12)
        w = sox([w], rate, ["tremolo", "7", "45"])[0]
        place(dst, w, S(rate, t), 1.0)
        t += len(w) / rate + 0.03
        for _ in range(2):
            place(dst, breath(rate, 0.12, rng, 1800, 2, rise=False), S(rate, t), 0.2)
            t += 0.13
    # ...turning into giggles
    lg = Laugher(rng, variant="f5", pitch=95, speed=340, syls=("ge1", "xi1", "hi1"),
                 interval=0.13, drop=2, fall=0, gain=0.9, bout=(5, 8), pause=(0.05, 0.2))
    lg.run(dst, rate, t + 0.05, sec - 0.1)
    kid = pitch_shift(dst[0], rate, 450)
    return reverb([kid, kid], rate, 30, 50, 40, 60, 0, -8)


@clip("button05")
def whistle(rate, n, ch, rng):
    sec = n / rate

    def f(t):
        if t < 0.22:
            x = t / 0.22
            base = 1300 + 1400 * (1 - (1 - x) ** 2)
        elif t < 0.45:
            base = 2700
        else:
            base = 2700 - 800 * ((t - 0.45) / (sec - 0.45)) ** 1.5
        return base * (1 + 0.02 * math.sin(2 * math.pi * 7 * t))

    tone_ = osc(rate, n, f)
    airy = biquad(noise(n, rng), rate, "bp", f, 6.0)
    env = envelope(rate, n, [(0, 0), (0.03, 1), (sec - 0.07, 0.9), (sec, 0)])
    out = zeros(n)
    mix_sound([out], [tone_], 0, 1.0)
    mix_sound([out], [airy], 0, 0.35)
    mix_sound([out], [noise(n, rng)], 0, 0.02)
    return [mul(out, env)]


@clip("button07")
def coquettish_laugh(rate, n, ch, rng):
    dst = blank(1, n)
    lg = Laugher(rng, variant="f4", pitch=80, speed=360, syls=("xi1", "hi1"), interval=0.11,
                 drop=-2, fall=0, bout=(4, 4))
    t = lg.bout_at(dst, rate, 0.01, n=4)
    en = speak("en1", rate, "f4", 85, 150, bend=("bend", "0.05,500,0.25", "0.3,-300,0.15"))
    en = fade(en[:S(rate, 0.95 - t)], rate, 0.01, 0.08)
    place(dst, en, S(rate, t), 0.9)
    return dst


@clip("button08")
def scream(rate, n, ch, rng):
    sec = n / rate
    jit = [rng.uniform(-1, 1) for _ in range(64)]

    def f0(t):
        if t < 0.15:
            base = 700 + 450 * t / 0.15
        elif t < sec - 0.7:
            base = 1150 + 100 * (t - 0.15) / (sec - 0.85)
        else:
            base = 1250 - 400 * (t - (sec - 0.7)) / 0.7
        wob = 0.03 * math.sin(2 * math.pi * 5.5 * t) + 0.01 * jit[int(t * 20) % 64]
        return base * (1 + wob)

    src = osc(rate, n, f0, "saw")
    mix_sound([src], [noise(n, rng)], 0, 0.2)
    out = zeros(n)
    for fc, q, g in ((1000, 4, 1.0), (1600, 5, 0.7), (3000, 6, 0.45)):
        mix_sound([out], [biquad(src, rate, "bp", fc, q)], 0, g)
    mix_sound([out], [src], 0, 0.08)
    env = envelope(rate, n, [(0, 0), (0.08, 1), (sec - 0.6, 0.95), (sec - 0.15, 0.2), (sec, 0)])
    out = mul(out, env)
    return sox([out], rate, ["overdrive", "4", "20", "reverb", "20", "50", "30"])[:1]


@clip("button09")
def kiss(rate, n, ch, rng):
    dst = blank(2, n)
    squeak = tone(rate, 0.04, lambda t: 900 + 700 * t / 0.04, 0.03)
    squeak = mul(squeak, envelope(rate, len(squeak), [(0, 0), (0.01, 1), (0.04, 0)]))
    place(dst, squeak, S(rate, 0.008), 0.3, -0.1)
    smack = burst(rate, 0.05, rng, "bp", 2600, 1.2, 0.006, 0.0003)
    pop = tone(rate, 0.05, lambda t: 260 - 1500 * t, 0.012)
    place(dst, smack, S(rate, 0.045), 1.0, 0.1)
    place(dst, pop, S(rate, 0.045), 0.6, 0.0)
    place(dst, burst(rate, 0.03, rng, "bp", 3200, 1.5, 0.004), S(rate, 0.088), 0.35, -0.15)
    return reverb(dst, rate, 15, 50, 15, 40, 0, -14)


def whoosh(rate, seconds, rng, f0=400, f1=2600):
    n = S(rate, seconds)
    src = noise(n, rng)
    w = biquad(src, rate, "bp", lambda t: f0 + (f1 - f0) * (t / seconds) ** 1.5, 2.0)
    return mul(w, envelope(rate, n, [(0, 0), (seconds * 0.8, 1), (seconds, 0.3)]))


def chop(rate, rng):
    thud = tone(rate, 0.3, lambda t: 70 + 80 * math.exp(-t / 0.02), 0.06,
                partials=((1, 1), (2, 0.3)))
    blade = burst(rate, 0.08, rng, "bp", 3200, 1.5, 0.012, 0.0002)
    ring = tone(rate, 0.3, 2350, 0.09, partials=((1, 0.6), (1.58, 0.4), (2.71, 0.2)))
    out = zeros(len(thud))
    mix_sound([out], [thud], 0, 1.0)
    mix_sound([out], [blade], 0, 0.9)
    mix_sound([out], [ring], 0, 0.25)
    mix_sound([out], [burst(rate, 0.2, rng, "lp", 900, 0.7, 0.04)], 0, 0.6)
    return out


@clip("button10")
def chopper(rate, n, ch, rng):
    dst = blank(2, n + S(rate, 0.3))
    hits = (0.32, 0.9, 1.45)
    for k, at in enumerate(hits):
        ws = whoosh(rate, 0.28, rng)
        pan = (-0.6, 0.5, -0.1)[k]
        place(dst, ws, S(rate, at - 0.28), 0.55, pan)
        place(dst, chop(rate, rng), S(rate, at), 1.0, pan * 0.5)
    shout = speak("hei1", rate, "f4", 75, 260, bend=("bend", "0.02,300,0.1"))
    place(dst, fade(shout[:S(rate, 0.3)], rate, 0.005, 0.05), S(rate, 0.02), 0.7, 0.0)
    shout2 = speak("ha4", rate, "f4", 80, 260)
    place(dst, fade(shout2[:S(rate, 0.35)], rate, 0.005, 0.06), S(rate, 1.12), 0.7, 0.0)
    return reverb(dst, rate, 35, 50, 40, 60, 0, -6)


@clip("button11")
def machine_gun(rate, n, ch, rng):
    dst = blank(1, n + S(rate, 0.4))
    t = 0.01
    while t < 1.08:
        place(dst, shot(rate, rng, big=0.6), S(rate, t), rng.uniform(0.75, 1.0))
        t += 1 / 13.5 * rng.uniform(0.94, 1.06)
    for _ in range(10):
        ping = tone(rate, 0.12, rng.uniform(3500, 6000), 0.03, partials=((1, 1), (2.4, 0.4)))
        place(dst, ping, S(rate, rng.uniform(0.25, 1.3)), 0.08)
    out = reverb(dst, rate, 55, 40, 80, 50, 0, -3)
    return [sox(out, rate, ["echo", "0.8", "0.7", "120", "0.25"], out_channels=1)[0]]


@clip("button12")
def hospital(rate, n, ch, rng):
    sec = n / rate

    def f(t):                       # two-tone ambulance call
        return 960 if int(t / 0.45) % 2 == 0 else 770

    siren = osc(rate, n, f, "tri")
    siren = concat(siren[:0], map(lambda a, b: a + 0.25 * b, siren, osc(rate, n, f, "square")))
    siren = biquad(siren, rate, "lp", 2500, 0.7)
    siren = mul(siren, envelope(rate, n, [(0, 0.35), (sec * 0.6, 0.9), (sec, 1.0)]))
    dst = [scale(siren, 0.3)]
    for at, text in ((0.4, "送去医院！"), (1.9, "快！快送去医院！"), (4.3, "送去医院！"),
                     (5.8, "坚持住啊！")):
        s = speak(text, rate, "m3", 55, 190)
        place(dst, s, S(rate, at), 1.0)
    return dst


@clip("button13")
def coy(rate, n, ch, rng):
    sec = n / rate
    dst = blank(1, n)
    en = speak("en1", rate, "f4", 80, 50,
               bend=("bend", "0.02,300,0.15", "0.05,-400,0.15", "0.05,400,0.15", "0.05,-300,0.2"))
    en = fade(en[:S(rate, 0.85)], rate, 0.01, 0.1)
    place(dst, en, S(rate, 0.02), 0.9)
    t = len(en) / rate + 0.1
    say = speak("不要嘛，人家不要！", rate, "f4", 85, 200)
    room = sec - t - 0.05
    if len(say) / rate > room:
        say = tempo(say, rate, len(say) / rate / room)
    place(dst, say, S(rate, t), 1.0)
    return dst


@clip("button14")
def laughter_applause(rate, n, ch, rng):
    sec = n / rate
    lau = crowd(rate, sec, rng, people=10,
                swell=[(0, 0.7), (1.0, 1.0), (sec - 2.5, 0.9), (sec, 0.5)])
    app = applause(rate, sec, rng, people=18, start_spread=1.5, tail=0.3)
    out = blank(2, n + S(rate, 0.5))
    mix_sound(out, lau, 0, 1.0 / (peak(lau) or 1))
    mix_sound(out, app, 0, 0.8 / (peak(app) or 1))
    return out


def cheer(rate, rng, female=True):
    text = rng.choice(("wu1", "a1", "wa1", "ye1"))
    v = rng.choice(FEMALE) if female else rng.choice(MALE)
    p = rng.uniform(70, 99) if female else rng.uniform(40, 70)
    s = speak(text, rate, v, p, rng.uniform(60, 90),
              bend=("bend", "0.05,%d,0.25" % rng.randint(200, 600),
                    "0.2,-%d,0.3" % rng.randint(100, 500)))
    s = pitch_shift(s, rate, rng.randint(300, 700))
    return sox([s], rate, ["tremolo", "%.1f" % rng.uniform(5, 7), "30"])[0]


@clip("button15")
def screams_applause(rate, n, ch, rng):
    sec = n / rate
    out = blank(2, n + S(rate, 0.5))
    app = applause(rate, sec, rng, people=30, start_spread=0.5, tail=0.25, clap_rate=(4.5, 7))
    mix_sound(out, app, 0, 0.75 / (peak(app) or 1))
    yells = blank(2, len(out[0]))
    t = 0.1
    while t < sec - 0.8:
        place(yells, cheer(rate, rng, rng.random() < 0.75), S(rate, t), rng.uniform(0.5, 1.0),
              rng.uniform(-0.8, 0.8))
        t += rng.uniform(0.25, 0.7)
    for _ in range(3):
        w = whistle(rate, S(rate, 0.63), 1, rng)[0]
        place(yells, w, S(rate, rng.uniform(0.3, sec - 1.5)), 0.4, rng.uniform(-0.7, 0.7))
    yells = reverb(yells, rate, 40, 50, 60, 70, 0, -4)
    mix_sound(out, yells, 0, 0.7 / (peak(yells) or 1))
    return out


@clip("button16")
def light_applause(rate, n, ch, rng):
    return applause(rate, n / rate, rng, people=6, start_spread=0.3, tail=0.2,
                    clap_rate=(3.0, 4.5), room=(25, 50, 30))


@clip("button17")
def normal_applause(rate, n, ch, rng):
    return applause(rate, n / rate, rng, people=26, start_spread=0.6, tail=0.35)


def room_voice(chs, rate, amount=-10):
    return reverb(chs, rate, 25, 50, 30, 50, 0, amount)


@clip("button18")
def despise(rate, n, ch, rng):
    sec = n / rate
    dst = blank(1, n)
    qie = speak("qie4", rate, "m2", 45, 120, bend=("bend", "0.05,-300,0.3"))
    place(dst, fade(qie, rate, 0.01, 0.05), S(rate, 0.03), 0.9)
    t = len(qie) / rate + 0.15
    a = speak("我鄙视你！", rate, "m2", 40, 170)
    place(dst, a, S(rate, t), 1.0)
    t += len(a) / rate + 0.15
    b = speak("鄙视你！", rate, "m2", 52, 190)
    if t + len(b) / rate > sec - 0.05:
        b = tempo(b, rate, (len(b) / rate) / max(0.3, sec - 0.05 - t))
    place(dst, b, S(rate, t), 0.95)
    return room_voice([dst[0], dst[0]], rate)


@clip("button19")
def fart(rate, n, ch, rng):
    sec = n / rate
    jit = [rng.uniform(-1, 1) for _ in range(200)]

    def f(t):
        glide = 95 - 35 * t / sec + (60 * ((t - sec + 0.15) / 0.15) if t > sec - 0.15 else 0)
        return glide * (1 + 0.18 * math.sin(2 * math.pi * 9 * t) + 0.12 * jit[int(t * 150) % 200])

    buzz = osc(rate, n, f, "square")
    flutter = osc(rate, n, lambda t: 31 + 8 * math.sin(2 * math.pi * 3 * t))
    buzz = concat(buzz[:0], map(lambda a, m: a * (0.65 + 0.35 * m), buzz, flutter))
    mix_sound([buzz], [noise(n, rng)], 0, 0.25)
    body = biquad(buzz, rate, "lp", 700, 1.2)
    env = envelope(rate, n, [(0, 0), (0.015, 1), (0.35, 0.85), (sec - 0.15, 0.7), (sec, 0)])
    body = mul(body, env)
    out = sox([body, body], rate, ["overdrive", "12", "10", "bass", "+4", "80"])
    return reverb(out, rate, 20, 50, 20, 50, 0, -12)


@clip("button20")
def decent(rate, n, ch, rng):
    out = speech_fill(rate, n / rate, ["做人要厚道！", "厚道！"], rng, "m4", 38, 150, gap=0.15)
    return room_voice([out, out], rate)


def caw(rate, rng, seconds=0.38):
    n = S(rate, seconds)
    jit = [rng.uniform(-1, 1) for _ in range(100)]
    f = lambda t: (420 + 140 * math.sin(math.pi * t / seconds) - 90 * t / seconds) * \
        (1 + 0.03 * jit[int(t * 200) % 100])
    src = osc(rate, n, f, "saw")
    rasp = osc(rate, n, 70)
    src = concat(src[:0], map(lambda a, m: a * (0.6 + 0.4 * m), src, rasp))
    mix_sound([src], [noise(n, rng)], 0, 0.35)
    out = zeros(n)
    for fc, q, g in ((1150, 3, 1.0), (1750, 4, 0.8), (2700, 5, 0.5)):
        mix_sound([out], [biquad(src, rate, "bp", fc, q)], 0, g)
    return mul(out, envelope(rate, n, [(0, 0), (0.03, 1), (seconds * 0.6, 0.9), (seconds, 0)]))


@clip("button21")
def crow(rate, n, ch, rng):
    sec = n / rate
    dst = blank(2, n + S(rate, 0.3))
    pan_at = lambda t: -0.95 + 1.9 * t / sec
    near = lambda t: 0.45 + 0.55 * math.sin(math.pi * t / sec)
    for at in (0.08, 0.72, 1.34):
        c = caw(rate, rng, rng.uniform(0.34, 0.42))
        place(dst, c, S(rate, at), near(at), pan_at(at))
    t = 0.0
    while t < sec - 0.1:                      # wing beats
        flap = burst(rate, 0.09, rng, "bp", 450, 1.0, 0.03, 0.01)
        place(dst, flap, S(rate, t), 0.35 * near(t), pan_at(t))
        t += 0.22
    return reverb(dst, rate, 40, 60, 80, 80, 10, -10)


@clip("button22")
def pistol(rate, n, ch, rng):
    dst = blank(2, n + S(rate, 0.4))
    click = burst(rate, 0.02, rng, "bp", 4000, 2, 0.002)
    place(dst, click, S(rate, 0.02), 0.25, 0.2)
    place(dst, click, S(rate, 0.09), 0.3, 0.2)
    for at in (0.22, 1.2):
        place(dst, shot(rate, rng), S(rate, at), 1.0, rng.uniform(-0.1, 0.1))
    for at in (0.7, 0.82, 0.9, 1.7, 1.8, 1.88, 1.95):   # spent cases on the floor
        ping = tone(rate, 0.1, rng.uniform(3800, 5200), 0.025, partials=((1, 1), (2.7, 0.5)))
        place(dst, ping, S(rate, at), 0.06, rng.uniform(-0.5, 0.5))
    out = reverb(dst, rate, 85, 30, 100, 90, 0, -1)
    return sox(out, rate, ["echo", "0.8", "0.8", "280", "0.3", "560", "0.18"])


@clip("button23")
def heartbeat(rate, n, ch, rng):
    sec = n / rate
    dst = blank(1, n + S(rate, 0.3))

    def thump(f, tau):
        t = tone(rate, 0.25, lambda x: f * (1 - 0.25 * x / 0.25), tau,
                 partials=((1, 1), (2, 0.45), (3, 0.2)), attack=0.012)
        body = burst(rate, 0.25, rng, "lp", 180, 1.0, tau, 0.01)
        mix_sound([t], [body], 0, 0.5)
        return t

    t = 0.05
    while t < sec:
        place(dst, thump(58, 0.05), S(rate, t), 1.0)
        place(dst, thump(72, 0.04), S(rate, t + 0.28), 0.7)
        t += 0.8
    flow = biquad(noise(len(dst[0]), rng), rate, "lp", 250, 0.7)
    mix_sound(dst, [flow], 0, 0.05)
    return sox(dst, rate, ["reverb", "15", "70", "20"])[:1]


@clip("button24")
def karvon(rate, n, ch, rng):
    sec = n / rate
    dst = blank(1, n + S(rate, 0.3))
    cackle = Laugher(rng, variant="m7", pitch=88, speed=400, syls=("ga1", "ka1"),
                     interval=0.095, drop=-1.5, fall=0, legato=1.0)
    t = cackle.bout_at(dst, rate, 0.02, n=9)
    for _ in range(2):                        # wheezing in-breaths
        w = speak("hi1", rate, "whisper", 80, 200, bend=("bend", "0.02,400,0.2"))
        place(dst, fade(w[:S(rate, 0.28)], rate, 0.01, 0.05), S(rate, t), 0.7)
        t += 0.3
    hoot = Laugher(rng, variant="m7", pitch=70, speed=320, syls=("ha4", "ho4"), interval=0.16,
                   drop=6, fall=300)
    t = hoot.bout_at(dst, rate, t, n=6)
    snort = mul(biquad(noise(S(rate, 0.2), rng), rate, "lp", 500, 2),
                mul(osc(rate, S(rate, 0.2), 38), envelope(rate, S(rate, 0.2),
                                                          [(0, 0), (0.03, 1), (0.2, 0)])))
    place(dst, snort, S(rate, t + 0.02), 0.9)
    t += 0.25
    t = cackle.bout_at(dst, rate, t, n=max(3, int((sec - t - 0.1) / 0.1)), pitch=80)
    out = sox(dst, rate, ["pitch", "250", "tremolo", "16", "25", "rate", "-v", str(rate)])
    return reverb([out[0], out[0]], rate, 25, 50, 30, 70, 0, -10)


def glass_ping(rate, rng):
    f = rng.uniform(2500, 9000)
    tau = rng.uniform(0.03, 0.15)
    return tone(rate, tau * 4, f, tau, partials=((1, 1), (2.76, 0.4), (5.4, 0.15)), attack=0.0005)


@clip("button25")
def glass(rate, n, ch, rng):
    sec = n / rate
    dst = blank(2, n + S(rate, 0.5))
    pings = [glass_ping(rate, rng) for _ in range(48)]

    def smash(at, size, spread, count):
        crack = burst(rate, 0.3, rng, "hp", 2500, 0.7, 0.05 * size, 0.0002)
        place(dst, crack, S(rate, at), size, 0)
        place(dst, shot(rate, rng, 0.5), S(rate, at), 0.5 * size, 0)
        for _ in range(count):
            dt = rng.expovariate(1 / spread)
            place(dst, pings[rng.randrange(len(pings))], S(rate, at + dt),
                  size * rng.uniform(0.15, 0.6) * math.exp(-dt / (spread * 3)),
                  rng.uniform(-0.9, 0.9))

    smash(0.05, 1.0, 0.5, 260)
    t = 1.2
    while t < sec - 0.15:                      # shards settling and skittering
        place(dst, pings[rng.randrange(len(pings))], S(rate, t), rng.uniform(0.2, 0.5),
              rng.uniform(-0.9, 0.9))
        if rng.random() < 0.3:
            place(dst, burst(rate, 0.03, rng, "hp", 3000, 0.7, 0.004), S(rate, t), 0.25,
                  rng.uniform(-0.9, 0.9))
        t += rng.expovariate(20)
    for at, size in ((2.2, 0.35), (5.1, 0.3)):  # stray pieces dropping
        smash(at, size, 0.2, 40)
    smash(3.7, 0.55, 0.35, 90)
    return reverb(dst, rate, 45, 40, 60, 80, 0, -6)


def speech_fill(rate, seconds, lines, rng, variant="", pitch=50, speed=165, gap=0.3,
                pitch_jitter=6, speed_jitter=12, lead=0.05):
    """Speaks lines (cycling, with varied pitch and pace) to fill `seconds` closely:
    picks how many lines fit best, then adjusts the pace slightly so gaps stay short."""
    target = seconds - lead - 0.05
    pieces = []
    i = 0
    while True:
        line = lines[i % len(lines)]
        p = pitch + (rng.uniform(-pitch_jitter, pitch_jitter) if i else 0)
        v = speed + (rng.uniform(-speed_jitter, speed_jitter) if i else 0)
        s = speak(line, rate, variant, p, v)
        pieces.append(s)
        i += 1
        total = sum(len(x) for x in pieces) / rate
        if total + gap * (len(pieces) - 1) >= target:
            break
    # either stop before the last line (speak slower) or keep it (speak faster)
    def factor(ps):
        sp = sum(len(x) for x in ps) / rate
        room = target - gap * (len(ps) - 1)
        return sp / room if room > 0 else 99.0
    with_last, without = factor(pieces), factor(pieces[:-1]) if len(pieces) > 1 else 0
    if len(pieces) > 1 and (abs(math.log(without)) < abs(math.log(with_last))):
        pieces = pieces[:-1]
    f = factor(pieces)
    f_applied = clamp(f, 0.85, 1.6) if len(pieces) > 1 else f
    pieces = [tempo(x, rate, f_applied) for x in pieces]
    sp = sum(len(x) for x in pieces) / rate
    g = (target - sp) / max(1, len(pieces) - 1) if len(pieces) > 1 else 0
    out = zeros(S(rate, seconds))
    t = lead
    for x in pieces:
        mix_sound([out], [x], S(rate, t), 1.0)
        t += len(x) / rate + g
    return out


def talker(name, lines, variant, pitch, speed, post=None, **kw):
    @clip(name)
    def gen(rate, n, ch, rng):
        out = speech_fill(rate, n / rate, lines, rng, variant, pitch, speed, **kw)
        chs = [out] * ch
        return post(chs, rate, n, rng) if post else chs
    return gen


talker("button26", ["猪，快出来！", "猪快出来！"], "f2", 62, 180)
talker("button27", ["你快来呀！", "快来呀！"], "f3", 70, 170)
talker("button28", ["真的是猪！", "你真的是猪啊！"], "m3", 45, 165)
talker("button30", [
    "我太有才了！",
    "唱歌跳舞，写诗画画，样样都行，我真是太有才了。",
    "有人说天才是百分之一的灵感，我觉得我是百分之百的灵感。",
    "昨天我随手写了一首歌，今天全网都在唱。",
    "大家不要羡慕我，才华这种东西，是天生的，学不来的。",
    "镜子里的这个人，怎么这么帅，又这么有才华呢？",
    "我不是在吹牛，我只是在陈述事实。",
    "哎呀，有才的人就是这么烦恼，走到哪里都有人找我要签名。",
], "m3", 48, 175)
talker("button32", [
    "你们为什么老折磨我？",
    "天天折磨我，老是折磨我，我真的受不了啦！",
    "求求你们放过我吧！",
], "m2", 68, 170)
talker("button33", [
    "这件事啊，一会再说吧。",
    "你别着急，我现在手头有点忙，一会再说。",
    "吃饭的事，一会再说；开会的事，也一会再说。",
    "什么？借钱？这个嘛，一会再说，一会再说。",
    "先让我喝口水，休息一下，咱们一会再说。",
    "天大的事情，也得一会再说。",
], "", 50, 155)
talker("button35", [
    "大家好，我是胡侃，今天咱们随便聊聊。",
    "说起来啊，昨天我在楼下看见一只猫，它盯着我看了半天，好像有话要对我说。",
    "后来我想了想，它可能只是饿了，也可能是在思考人生。",
    "说到人生，我觉得人生就像一碗面条，有时候咸，有时候淡，关键是要趁热吃。",
    "你问我面条和直播有什么关系？其实没什么关系，我就是随便侃侃。",
    "有人说我说话不着边际，我说边际是什么，能吃吗？",
    "今天天气不错，适合出门，也适合在家里躺着，反正怎么都行。",
    "好了好了，侃了这么久，我自己都不知道在说什么了。",
    "总之呢，开心最重要，大家说对不对？",
], "m1", 46, 180)
talker("button36", [
    "都这个点了，回家吃吧。",
    "外面的饭又贵又不好吃，还是回家吃吧。",
    "妈妈做了红烧肉，还有西红柿炒鸡蛋，回家吃吧。",
    "别在这儿等了，餐厅排队要一个小时，回家吃吧。",
    "想吃什么自己做，干净又放心，回家吃吧！",
    "你要请客？算了算了，回家吃吧。",
], "f2", 56, 165)
talker("button37", ["我要走了，", "再见啦！拜拜！"], "m4", 50, 160)
talker("button39", [
    "老板您今天真是太帅了！",
    "您这个决定简直英明神武，我佩服得五体投地。",
    "您说的每一句话，我都要记在小本本上。",
    "哎呀，您这领带选得真好，品味一流。",
    "跟着您干，我们心里踏实，前途一片光明。",
    "您随便说个笑话，我能笑三天三夜。",
    "有人说我爱拍马屁，我这叫实事求是，您就是这么优秀。",
    "老板，您累不累？我给您捶捶背吧。",
], "m7", 62, 185)
talker("button44", [
    "我很忙啊！",
    "电话一个接一个，会议一个接一个，我真的很忙啊。",
    "别找我聊天了，我很忙啊，忙得连饭都顾不上吃。",
], "f3", 60, 200)


def _sea(chs, rate, n, rng):
    sec = n / rate
    waves = biquad(noise(n, rng), rate, "lp", 900, 0.7)
    swell = envelope(rate, n, [(k * 0.5, 0.25 + 0.75 * (0.5 + 0.5 * math.sin(k * 0.5 * 2 *
                                                                              math.pi / 6.5)) ** 2)
                               for k in range(int(sec * 2) + 2)])
    waves = mul(waves, swell)
    out = zeros(n)
    mix_sound([out], [chs[0]], 0, 1.0 / (peak(chs) or 1))
    mix_sound([out], [waves], 0, 0.3 / (peak([waves]) or 1))
    return [out]


talker("button45", [
    "我是大海，我有宽广的胸怀。",
    "白天我拥抱阳光，夜晚我守护星星。",
    "海浪是我的歌声，海风是我的呼吸。",
    "不管你有多少烦恼，都可以讲给我听。",
    "我是大海，我把一切都包容。",
    "潮起潮落，日复一日，我一直在这里等你。",
], "f5", 45, 145, post=_sea, gap=0.45)


def _boom(rate, rng, seconds=1.2):
    b = tone(rate, seconds, lambda t: 45 + 30 * math.exp(-t / 0.1), 0.35,
             partials=((1, 1), (2, 0.4), (3, 0.15)), attack=0.005)
    mix_sound([b], [burst(rate, seconds, rng, "lp", 300, 0.7, 0.25)], 0, 0.6)
    return b


def _ominous(chs, rate, n, rng):
    out = zeros(n)
    mix_sound([out], [chs[0]], 0, 1.0 / (peak(chs) or 1))
    mix_sound([out], [_boom(rate, rng)], 0, 0.55)
    mix_sound([out], [_boom(rate, rng)], S(rate, n / rate - 1.3), 0.5)
    return [out]


talker("button40", ["你这样做，后果很严重！", "我警告你，后果很严重，非常严重！"], "m1", 25, 135,
       post=_ominous)


@clip("button31")
def dont_push(rate, n, ch, rng):
    sec = n / rate
    s = speak("不要逼我！", rate, "m2", 55, 300)
    s = tempo(s, rate, len(s) / rate / (sec - 0.04))
    dst = blank(1, n)
    place(dst, s, S(rate, 0.01), 1.0)
    return room_voice([dst[0], dst[0]], rate, -14)


@clip("button34")
def sunflower(rate, n, ch, rng):
    sec = n / rate
    dst = blank(2, n + S(rate, 0.4))
    say = speak("葵花点穴手！", rate, "m4", 55, 190)
    place(dst, say, S(rate, 0.05), 1.0, 0.0)
    t = 0.05 + len(say) / rate + 0.05
    for k in range(3):                          # three quick jabs
        place(dst, whoosh(rate, 0.16, rng, 700, 3000), S(rate, t), 0.3, (-0.5, 0.5, 0)[k])
        hit = burst(rate, 0.12, rng, "bp", 1800, 1.5, 0.015)
        mix_sound([hit], [tone(rate, 0.12, 160, 0.03)], 0, 0.8)
        place(dst, hit, S(rate, t + 0.16), 0.45, (-0.4, 0.4, 0)[k])
        t += 0.3
    ding = tone(rate, sec - t, 1320, 0.5, partials=((1, 1), (2.0, 0.4), (3.01, 0.2)))
    place(dst, ding, S(rate, t + 0.05), 0.25, 0)
    return reverb(dst, rate, 40, 50, 50, 60, 0, -6)


@clip("button38")
def throwing_up(rate, n, ch, rng):
    sec = n / rate
    dst = blank(1, n)
    retch = speak("ou3", rate, "m2", 30, 100, bend=("bend", "0.05,-300,0.3"))
    retch = sox([fade(retch[:S(rate, 0.55)], rate, 0.02, 0.1)], rate,
                ["overdrive", "15", "10", "tremolo", "22", "60"])[0]
    place(dst, retch, S(rate, 0.02), 0.8)
    t = 0.02 + len(retch) / rate + 0.08
    s = speak("吐着吐着，就习惯了。", rate, "m2", 45, 190)
    room = sec - t - 0.05
    if len(s) / rate > room:
        s = tempo(s, rate, len(s) / rate / room)
    place(dst, s, S(rate, t), 1.0)
    return dst


@clip("button41")
def no_justice(rate, n, ch, rng):
    return [speech_fill(rate, n / rate, ["还有没有天理啊！", "没天理啊！"], rng, "m3", 70, 175,
                        gap=0.15)]


@clip("button42")
def ill_be_back(rate, n, ch, rng):
    sec = n / rate
    dst = blank(2, n + S(rate, 0.3))
    t = 0.2
    for text, p, gain in (("我会回来的！", 20, 1.0), ("一定会回来！", 26, 0.8)):
        s = pitch_shift(speak(text, rate, "m1", p, 140), rate, -300)
        room = (sec - 0.55) / 2 - 0.1
        if len(s) / rate > room:
            s = tempo(s, rate, len(s) / rate / room)
        place(dst, s, S(rate, t), gain)
        t += len(s) / rate + 0.2
    place(dst, _boom(rate, rng, 2.0), S(rate, 0.02), 0.5, 0)
    hum = mul(osc(rate, n, 55, "saw"), envelope(rate, n, [(0, 0), (0.3, 1), (sec - 0.4, 1),
                                                        (sec, 0)]))
    place(dst, biquad(hum, rate, "lp", 400, 0.7), 0, 0.08, 0)
    return reverb(dst, rate, 60, 40, 90, 100, 10, -4)


@clip("button43")
def they_come(rate, n, ch, rng):
    sec = n / rate
    talk = speech_fill(rate, sec, ["他们来了！", "他们来了！", "快跑啊！"], rng, "m4", 64, 210,
                       gap=0.12, pitch_jitter=8)
    steps = zeros(n)
    t = 0.0
    while t < sec - 0.05:                       # running feet behind
        place([steps], burst(rate, 0.08, rng, "lp", 300, 1.0, 0.02), S(rate, t), 1.0)
        t += 0.27
    out = [talk]
    mix_sound(out, [steps], 0, 0.35 / (peak([steps]) or 1) * (peak(out) or 1))
    return out


@clip("startup")
def jingle(rate, n, ch, rng):
    sec = n / rate
    dst = blank(2, n + S(rate, 0.5))

    def bell(f, tau, length):
        return tone(rate, length, f, tau, partials=((1, 1), (2, 0.35), (3, 0.12), (4.2, 0.1)),
                    attack=0.003)

    C5, E5, G5, C6, E6, G6, C7 = 523.25, 659.26, 783.99, 1046.5, 1318.5, 1568.0, 2093.0
    for k, f in enumerate((C5, E5, G5, C6)):
        place(dst, bell(f, 0.5, 1.5), S(rate, 0.05 + 0.17 * k), 0.7, -0.6 + 0.4 * k)
    for f, pan in ((C5, -0.3), (E5, 0.3), (G5, -0.1), (C6, 0.2), (E6, 0.0)):
        place(dst, bell(f, 1.6, sec - 0.8), S(rate, 0.8), 0.45, pan)
    for at, f, pan in ((1.9, G6, 0.5), (2.1, C7, -0.5), (2.9, E6, 0.3), (3.1, G6, -0.3)):
        place(dst, bell(f, 0.45, 1.4), S(rate, at), 0.25, pan)
    pad_n = S(rate, sec)
    pad = zeros(pad_n)
    for f in (C5 / 2, G5 / 2, E5):
        mix_sound([pad], [osc(rate, pad_n, f)], 0, 0.12)
    pad = mul(pad, envelope(rate, pad_n, [(0, 0), (1.0, 0), (1.8, 1), (sec - 0.6, 0.8), (sec, 0)]))
    place(dst, pad, 0, 0.6, 0)
    return reverb(dst, rate, 55, 40, 70, 90, 0, -4)


# crowd of wild laughs: a sequence of different laughers, overlapping
@clip("button29")
def wild_laughter(rate, n, ch, rng):
    sec = n / rate
    out = blank(2, n + S(rate, 1.0))

    def put(chs, at):
        mix_sound(out, chs, S(rate, at), 1.0 / (peak(chs) or 1))

    # 1. big guffaw
    d = blank(2, S(rate, 5.5))
    Laugher(rng, "m3", 35, 280, ("ha4", "ha1"), 0.17, 3, 250, -0.2, 1.0, (6, 10)).run(
        d, rate, 0.05, 5.0)
    put(reverb(d, rate, 30, 50, 40, 60, 0, -8), 0.0)
    # 2. evil laugh, deep and echoing
    d = blank(1, S(rate, 5.5))
    Laugher(rng, "m1", 15, 260, ("ha1",), 0.2, 3, 150, 0.0, 1.0, (6, 9)).run(d, rate, 0.0, 4.8)
    deep = pitch_shift(d[0], rate, -350)
    put(reverb([deep, deep], rate, 80, 40, 100, 100, 20, -3), 4.3)
    # 3. giggling girls
    d = blank(2, S(rate, 5.5))
    for k in range(3):
        Laugher(rng, rng.choice(FEMALE), rng.uniform(75, 95), 340, ("xi1", "hi1", "ha1"), 0.12,
                2, 0, (-0.6, 0.6, 0.0)[k], rng.uniform(0.6, 1.0), (4, 8)).run(
            d, rate, rng.uniform(0, 0.4), 5.0)
    put(reverb(d, rate, 30, 50, 40, 70, 0, -8), 8.9)
    # 4. the crowd loses it
    put(crowd(rate, 6.0, rng, people=14, swell=[(0, 0.6), (1, 1.0), (5, 1.0), (6, 0.8)]), 13.5)
    # 5. a maniac cackle
    d = blank(1, S(rate, 5.0))
    Laugher(rng, "m7", 90, 400, ("ga1", "ka1", "ha1"), 0.09, 1, 0, 0.0, 1.0, (8, 14),
            (0.05, 0.2)).run(d, rate, 0.0, 4.4)
    d = sox(d, rate, ["pitch", "200", "tremolo", "14", "25", "rate", "-v", str(rate)])
    put(reverb([d[0], d[0]], rate, 30, 50, 40, 70, 0, -8), 19.0)
    # 6. everyone together to the end
    put(crowd(rate, sec - 22.5, rng, people=16,
              swell=[(0, 0.8), (1, 1.0), (sec - 23.5, 1.0), (sec - 22.5, 0.7)]), 22.4)
    # bridge the sections with a bed of murmured laughter so there is no gap
    put_gain = 0.35
    bed = crowd(rate, sec, rng, people=5, swell=[(0, 1.0), (sec, 1.0)])
    mix_sound(out, bed, 0, put_gain / (peak(bed) or 1))
    return out
