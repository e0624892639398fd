#!/usr/bin/python3
"""Soak run: the real board under Wine, clicked for a long time, then left
idle, then started and closed many times. Run by tools/soak.sh, which makes
the environment (virtual display, null sink, Wine prefix) and builds.

1. The board comes up; once the sink is silent (the start-up sound over) it
   is left alone for a minute: its CPU time and wake-ups are measured.
2. Random buttons are clicked with the pointer (xdotool) at 20 a second.
   Every 100 clicks procstat (a probe in the same Wine session) reads the
   board's threads, handles, GDI and USER objects, windows and private bytes.
3. The last click's clip must be what the sink plays last.
4. Another idle minute, measured the same way; then Esc, exit code 0.
5. Start-and-close cycles: each run comes up, Esc, exit code 0 within 1 s.
Writes a report (soak.md) and a plot (soak.png) into --out, and into --docs.
"""
import argparse
import json
import os
import platform
import random
import statistics
import subprocess
import sys
import time
from pathlib import Path
from types import SimpleNamespace

import numpy as np

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import run_e2e as base  # noqa: E402
import sound_e2e as snd  # noqa: E402

CLICKS_PER_SECOND = 20
BATCH = 20          # clicks per xdotool run: one second of clicking
SAMPLE_EVERY = 100  # clicks between readings
# The first clicks open the sound device for the first time, and what the
# system's sound code opens then (registry keys, events) stays open. Counts
# are judged from here on.
WARMUP_CLICKS = 500
# Before each reading one short clip is clicked and let play out, so that
# every reading finds the board in the same state: whatever played before
# cut, the last player ended. Readings then differ only by what was kept.
SETTLE_BUTTON, SETTLE_SECONDS = "口哨声音", 1.5  # a 0.6 s clip
# How far a count may wander once warm. A leak of one object per click
# would move it by thousands over the run; these leave room for the one or
# two players (and their threads and device handles) alive at any moment,
# and for an event per lasting lock: the threading library makes one the
# first time two threads contend for a lock and keeps it while the lock
# lives (five such locks in the engine), so the event count steps up late
# and rarely, and stops.
# Private bytes: the board keeps up to four sample buffers of ended players
# (12 MiB at most) so the next click finds its memory mapped; which ones it
# holds at a reading depends on which clips overlapped last, so a reading
# swings by megabytes (the largest clip alone is 4.6 MiB). Hence 8 MiB of
# spread, and growth judged on the floor below.
BOUNDS = {"threads": 1, "handles": 8, "gdi": 20, "user": 10, "windows": 0, "private_bytes": 8 << 20}
# Growth: the median of the last quarter of the readings against that of the
# first quarter; for private bytes the lowest reading of each quarter, since
# the kept buffers only ever add to a reading and a leak lifts the floor.
# A leak of 1 KiB a click would lift it by 7 MiB.
GROWTH = {"threads": 0, "handles": 2, "gdi": 5, "user": 5, "windows": 0, "private_bytes": 1 << 20}
# Idle: the board's CPU time over the idle minute, and how often its threads
# woke. A timer nobody needs (a 10 ms poll, a 1 s tick) shows as hundreds or
# at least sixty wake-ups a minute; an idle message loop sleeps until input.
IDLE_CPU_MS = 20
IDLE_WAKEUPS = 30
ESC_TO_EXIT_S = 1.0
TICK_MS = 1000 / os.sysconf("SC_CLK_TCK")


class Soak:
    def __init__(self, args):
        self.args = args
        self.out = Path(args.out).resolve()
        self.out.mkdir(parents=True, exist_ok=True)
        self.failures = []
        self.samples = []
        self.idle = {}
        self.cycles = []
        self.facts = {}
        self.warmup = max(WARMUP_CLICKS, args.every)

    def check(self, ok, what, detail=""):
        print(("PASS  " if ok else "FAIL  ") + what + (f"  [{detail}]" if detail else ""), flush=True)
        if not ok:
            self.failures.append(f"{what} [{detail}]")
        return ok

    def session(self, case):
        return base.Session(SimpleNamespace(exe=self.args.exe, probe=self.args.probe, out=self.out, case=case))

    # ---- what the board holds --------------------------------------------
    def procstat(self, s, pid):
        s.probe_runs += 1
        name = f"procstat{s.probe_runs:03d}"
        p = s._spawn([base.WINE, self.args.procstat, "--pid", str(pid)], name)
        try:
            p.wait(timeout=20)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
            raise base.Failed("procstat did not finish")
        text = (s.dir / f"{name}.out").read_text().strip()
        if p.returncode != 0 or not text:
            raise base.Failed(f"procstat failed ({p.returncode}): {(s.dir / f'{name}.err').read_text().strip()}")
        return json.loads(text.splitlines()[0])

    def sample(self, s, pid, unix_pid, clicks, when):
        d = self.procstat(s, pid)
        d["clicks"], d["when"], d["t"] = clicks, when, round(time.monotonic() - self.t0, 1)
        d["rss_anon"] = linux_status(unix_pid).get("RssAnon", 0) * 1024
        self.samples.append(d)
        if len(self.samples) < 2 or d["handles"] != self.samples[-2]["handles"]:
            print(f"      handles by kind: {d.get('handle_types')}", flush=True)
        print(f"      {when:>10} {clicks:>6} clicks: threads {d['threads']}, handles {d['handles']}, "
              f"gdi {d['gdi']}, user {d['user']}, windows {d['windows']}, "
              f"private {d['private_bytes'] / 2**20:.2f} MiB, working set {d['working_set'] / 2**20:.1f} MiB",
              flush=True)
        return d

    # ---- idle cost ---------------------------------------------------------
    def idle_minute(self, unix_pid, name, seconds=None, bounded=True):
        seconds = seconds or self.args.idle
        before = linux_cost(unix_pid)
        time.sleep(seconds)
        after = linux_cost(unix_pid)
        cpu_ms = (after["ticks"] - before["ticks"]) * TICK_MS
        run_ms = (after["run_ns"] - before["run_ns"]) / 1e6 if after["run_ns"] is not None else None
        per_thread = {}
        for tid, (comm, sw) in after["threads"].items():
            was = before["threads"].get(tid, (comm, 0))[1]
            if sw - was:
                per_thread[f"{comm} ({tid})"] = sw - was
        wakeups = sum(per_thread.values())
        gone = sorted(set(before["threads"]) - set(after["threads"]))
        r = {"seconds": seconds, "bounded": bounded, "cpu_ms": cpu_ms, "run_ms": run_ms, "wakeups": wakeups,
             "per_thread": per_thread, "threads_ended": len(gone), "threads": len(after["threads"])}
        self.idle[name] = r
        print(f"      idle {name}: {cpu_ms:.0f} ms CPU (utime+stime), "
              f"{'%.1f ms run time' % run_ms if run_ms is not None else 'no schedstat'}, "
              f"{wakeups} context switches {per_thread}", flush=True)
        if bounded:
            self.check(cpu_ms <= IDLE_CPU_MS, f"idle {name}: at most {IDLE_CPU_MS} ms CPU over {seconds} s",
                       f"{cpu_ms:.0f} ms")
            self.check(wakeups <= IDLE_WAKEUPS, f"idle {name}: at most {IDLE_WAKEUPS} wake-ups over {seconds} s",
                       f"{wakeups}")
        return r

    # ---- phases ------------------------------------------------------------
    def soak(self):
        s = self.session("soak")
        self.t0 = time.monotonic()
        try:
            dump, w = s.board_up()
            unix_pid = s.prog.pid
            comm = Path(f"/proc/{unix_pid}/comm").read_text().strip()
            base_name = Path(self.args.exe).name
            if not base_name.startswith(comm):
                raise base.Failed(f"the Linux process {unix_pid} is {comm!r}, not the board")
            pid = s.pid()
            centres = {caption: snd.button_centre(w, caption) for caption, _, _ in base.BUTTONS}
            rest = base.board_background_point(s, dump, w, (95, 300))
            s.xdo("mousemove", *rest)

            rec = snd.Recording(s.dir)
            quiet = wait_quiet(rec, 1.0, 30)
            self.check(quiet, "the start-up sound ends and the sink falls silent")
            rec.stop()
            self.sample(s, pid, unix_pid, 0, "start")
            self.idle_minute(unix_pid, "after start")

            rng = random.Random(self.args.seed)
            names = [c for c, _, _ in base.BUTTONS]
            order, last = [], None
            for _ in range(self.args.clicks):
                last = rng.choice([n for n in names if n != last])  # a repeat would not tell two clicks apart
                order.append(last)
            t_start = time.monotonic()
            pause = 0.0
            rec = None
            t_last = None
            for at in range(0, len(order), BATCH):
                batch = order[at:at + BATCH]
                if at + len(batch) == len(order):
                    p0 = time.monotonic()
                    rec = snd.Recording(s.dir)  # around the last clicks only
                    pause += time.monotonic() - p0
                chain = []
                for i, caption in enumerate(batch):
                    chain += ["mousemove", *map(str, centres[caption]), "click", "--delay", "0", "1"]
                    if i + 1 < len(batch):
                        chain += ["sleep", f"{1 / CLICKS_PER_SECOND - 0.005:.3f}"]
                began = time.monotonic()
                s.xdo(*chain)
                t_last = time.monotonic()
                done = at + len(batch)
                if done % self.args.every == 0 and done < len(order):
                    p0 = time.monotonic()
                    time.sleep(max(0.0, began + len(batch) / CLICKS_PER_SECOND - time.monotonic()))
                    s.xdo("mousemove", *centres[SETTLE_BUTTON], "click", "--delay", "0", "1")
                    time.sleep(SETTLE_SECONDS)
                    self.sample(s, pid, unix_pid, done, "settled")
                    pause += time.monotonic() - p0
                elif done < len(order):
                    time.sleep(max(0.0, began + len(batch) / CLICKS_PER_SECOND - time.monotonic()))
                if s.prog.poll() is not None:
                    raise base.Failed(f"the board ended after {done} clicks (exit code {s.prog.returncode})")
            took = t_last - t_start
            self.facts["click_seconds"] = took
            self.facts["click_rate"] = len(order) / (took - pause)
            self.facts["last"] = order[-1]
            print(f"      {len(order)} clicks in {took:.0f} s ({took - pause:.0f} s clicking: "
                  f"{self.facts['click_rate']:.1f} a second)", flush=True)

            # The last click: its clip plays, and nothing after it.
            ref = snd.reference(snd.clip_path(order[-1]))
            length = (len(ref) - snd.onset(ref)) / snd.RATE
            wait_quiet(rec, 1.0, length + 5)
            time.sleep(1.0)  # a stretch of silence after the clip's end to look at
            samples = rec.stop()
            target = order[-1] if not self.args.expect_last else self.args.expect_last
            offset = 0.1 if length > 0.5 else 0.0
            score, found = snd.heard(s, rec, samples, target, t_last, seconds=min(0.3, length - offset),
                                     offset=offset, search=(-0.3, 1.0))
            self.facts["last_score"] = score
            self.check(score > 0.8, f"the last clip heard is the last clicked ({target})", f"correlation {score:.3f}")
            end = found - int(offset * snd.RATE) + len(ref) - snd.onset(ref)
            tail = samples[end + snd.RATE // 5:]
            self.facts["tail_db"] = snd.rms_db(tail)
            self.check(len(tail) > snd.RATE // 4 and snd.rms_db(tail) < -60,
                       "nothing plays after it", f"{snd.rms_db(tail):.1f} dBFS over {len(tail) / snd.RATE:.2f} s")

            self.sample(s, pid, unix_pid, len(order), "clicked")
            # The pointer still rests on the last button: Wine finds out when
            # it leaves with a system timer of its own, which wakes the board.
            # Measured for the record, not bounded; on Windows the leave comes
            # with the input.
            self.idle_minute(unix_pid, "pointer on a button", seconds=10, bounded=False)
            s.xdo("mousemove", *rest)
            time.sleep(1.0)
            self.idle_minute(unix_pid, "after clicking")
            self.sample(s, pid, unix_pid, len(order), "idle")

            s.xdo("mousemove", *rest)
            time.sleep(0.1)
            pressed = time.monotonic()
            s.xdo("key", "Escape")
            code = s.exit_code(10)
            took = time.monotonic() - pressed
            self.facts["soak_exit"] = (code, took)
            self.check(code == 0, "Esc ends the soaked board with exit code 0", f"{code} after {took:.2f} s")
        except base.Failed as e:
            self.check(False, str(e))
        finally:
            s.stop()
        self.check_flat()

    def warm_readings(self):
        # The reading after the last click's clip has played out is one of them.
        return [d for d in self.samples if d["when"] in ("settled", "clicked") and d["clicks"] >= self.warmup]

    def check_flat(self):
        warm = self.warm_readings()
        self.facts["ranges"] = {}
        if len(warm) < 4:
            self.check(False, "enough samples to judge the counts", f"{len(warm)} after {self.warmup} clicks")
            return
        for key, bound in BOUNDS.items():
            values = [d.get(key) for d in warm]
            if any(v is None for v in values):
                err = next(d.get(f"{key}_error") for d in warm if d.get(key) is None)
                self.facts["ranges"][key] = None
                print(f"      {key}: not given by this system (error {err})", flush=True)
                continue
            spread = max(values) - min(values)
            self.facts["ranges"][key] = (min(values), max(values))
            unit = (lambda v: f"{v / 2**20:.2f} MiB") if key == "private_bytes" else str
            self.check(spread <= bound, f"{key} flat over the clicks, from {self.warmup} on: within "
                       f"{unit(bound)}", f"{unit(min(values))}..{unit(max(values))}")
            quarter = len(values) // 4
            level, by = (min, "lowest reading") if key == "private_bytes" else (statistics.median, "median")
            grew = level(values[-quarter:]) - level(values[:quarter])
            self.facts.setdefault("growth", {})[key] = grew
            self.check(grew <= GROWTH[key], f"{key} does not grow: last quarter's {by} within "
                       f"{unit(GROWTH[key])} of the first quarter's", unit(grew))
        # Once everything has played out, the board holds what it held once warm.
        start, rest = warm[0], self.samples[-1]
        if rest["when"] == "idle":
            self.facts["rest"] = {}
            for key, bound in BOUNDS.items():
                if start.get(key) is None or rest.get(key) is None:
                    continue
                grew = rest[key] - start[key]
                self.facts["rest"][key] = grew
                unit = (lambda v: f"{v / 2**20:.2f} MiB") if key == "private_bytes" else str
                self.check(abs(grew) <= bound, f"{key} at rest after the clicks: within {unit(bound)} of the "
                           f"reading after {self.warmup} clicks", f"{unit(start[key])} -> {unit(rest[key])}")

    def cycle_runs(self):
        for i in range(self.args.cycles):
            s = self.session("cycle")
            r = {"run": i + 1, "code": None, "esc_to_exit": None}
            try:
                s.start()
                s.wait_board_shown()
                s.wait_for(lambda: s.form_event(0, "destroyed"), 3, "the start window to be destroyed")
                time.sleep(0.3)
                pressed = time.monotonic()
                s.xdo("key", "Escape")
                r["code"] = s.exit_code(10)
                if r["code"] is not None:
                    r["esc_to_exit"] = time.monotonic() - pressed
            except base.Failed as e:
                r["error"] = str(e)
            finally:
                s.stop()
            self.cycles.append(r)
            ok = r["code"] == 0 and r["esc_to_exit"] is not None and r["esc_to_exit"] <= ESC_TO_EXIT_S
            print(f"      cycle {i + 1}: exit code {r['code']}, Esc to exit "
                  f"{'-' if r['esc_to_exit'] is None else '%.0f ms' % (1000 * r['esc_to_exit'])}"
                  f"{'  ' + r['error'] if 'error' in r else ''}{'' if ok else '  FAILED'}", flush=True)
            if not ok:
                # Keep the failed run's logs.
                (self.out / "cycle").rename(self.out / f"cycle-failed-{i + 1:03d}")
        bad = [r["run"] for r in self.cycles if r["code"] != 0]
        slow = [(r["run"], round(r["esc_to_exit"], 2)) for r in self.cycles
                if r["esc_to_exit"] is not None and r["esc_to_exit"] > ESC_TO_EXIT_S]
        self.check(not bad, f"all {len(self.cycles)} start-and-close runs exit with 0", f"not: {bad}" if bad else "")
        self.check(not slow, f"none takes more than {ESC_TO_EXIT_S:.0f} s after Esc", f"slow: {slow}" if slow else "")

    # ---- report ------------------------------------------------------------
    def handle_kinds(self):
        """(heading, handles by kind) at the start, once warm, and at rest."""
        warm = self.warm_readings()
        picks = [("start", self.samples[0] if self.samples else None),
                 (f"{self.warmup} clicks", warm[0] if warm else None),
                 ("at rest", self.samples[-1] if self.samples else None)]
        return [(h, d["handle_types"]) for h, d in picks if d and d.get("handle_types")]

    def plot(self, path):
        import matplotlib
        matplotlib.use("Agg")
        import matplotlib.pyplot as plt
        fig, axes = plt.subplots(2, 3, figsize=(9, 5), dpi=80)
        clicking = [d for d in self.samples if d["when"] in ("start", "settled", "clicked")]
        xs = [d["clicks"] for d in clicking]
        panels = [("threads", "threads", 1), ("handles", "kernel handles", 1), ("windows", "windows (USER)", 1),
                  ("private_bytes", "private bytes (MiB)", 2**20), ("working_set", "working set (MiB)", 2**20)]
        for ax, (key, title, scale) in zip(axes.flat, panels):
            ys = [d[key] / scale if d.get(key) is not None else np.nan for d in clicking]
            ax.plot(xs, ys, "o-", ms=3)
            ax.set_title(title, fontsize=10)
            ax.set_xlabel("clicks", fontsize=8)
            ax.tick_params(labelsize=8)
            lo, hi = np.nanmin(ys), np.nanmax(ys)
            pad = max(1.0 if scale == 1 else 0.5, (hi - lo) * 0.5)
            ax.set_ylim(lo - pad, hi + pad)
        ax = axes.flat[5]
        times = [1000 * r["esc_to_exit"] for r in self.cycles if r["esc_to_exit"] is not None]
        if times:
            ax.plot(range(1, len(times) + 1), times, ".", ms=4)
            ax.axhline(1000 * ESC_TO_EXIT_S, color="r", lw=0.8)
            ax.set_ylim(0, max(1100, max(times) * 1.1))
        ax.set_title("Esc to exit per start (ms)", fontsize=10)
        ax.set_xlabel("run", fontsize=8)
        ax.tick_params(labelsize=8)
        fig.tight_layout()
        fig.savefig(path)
        plt.close(fig)

    def report(self, command, load_before, load_after):
        a = self.args
        f = self.facts
        lines = ["# Soak run", "",
                 "The real board under Wine on the virtual display, clicked on random buttons with the",
                 "pointer, left idle, closed with Esc; then started and closed again and again.",
                 "Everything below was written by `tools/soak.sh` from the run it describes.", "",
                 "```sh", command, "```", "",
                 f"- board: `{Path(a.exe).relative_to(ROOT) if Path(a.exe).is_relative_to(ROOT) else a.exe}` "
                 f"({a.bits}-bit) under {wine_version()}, seed {a.seed}",
                 f"- machine: {os.cpu_count()} cores, {platform.release()}; load before `{load_before}`, "
                 f"after `{load_after}` (the cores are shared with other work, which slows Wine's start-up)",
                 ""]
        if "click_seconds" in f:
            lines += [f"{a.clicks} clicks in {f['click_seconds']:.0f} s, {f['click_rate']:.1f} a second while "
                      f"clicking. Every {a.every} clicks the clicking paused: {SETTLE_BUTTON} (a short clip) was "
                      f"clicked and given {SETTLE_SECONDS:.1f} s to play out, so every reading finds the board in "
                      "the same state (nothing playing, the last player ended), then the board was read.", ""]
        lines += ["![counts over the clicks, and Esc-to-exit times](soak.png)", "",
                  "## What the board holds", "",
                  "Read by `procstat` (`tests/e2e/procstat.cpp`) in the board's Wine session; "
                  "`rss_anon` is the Linux side's anonymous resident memory, for comparison.", "",
                  "| when | clicks | threads | handles | GDI | USER | windows | private bytes | working set | rss_anon |",
                  "| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"]
        mib = lambda v: "-" if v is None else f"{v / 2**20:.2f} MiB"  # noqa: E731
        opt = lambda v: "n/a" if v is None else str(v)  # noqa: E731
        for d in self.samples:
            lines.append(f"| {d['when']} | {d['clicks']} | {d['threads']} | {opt(d['handles'])} | {opt(d['gdi'])} | "
                         f"{opt(d['user'])} | {d['windows']} | {mib(d['private_bytes'])} | {mib(d['working_set'])} | "
                         f"{mib(d['rss_anon'])} |")
        s0 = self.samples[0] if self.samples else {}
        lines += ["", f"Handles from: {s0.get('handles_from', '-')}; private bytes from: {s0.get('private_from', '-')}."]
        if s0.get("gdi") is None and s0:
            lines += ["GDI and USER counts: this Wine does not give them (`GetGuiResources` fails with error "
                      f"{s0.get('gdi_error')}); the windows count stands in for USER objects, and GDI objects live "
                      "in the process's own memory under Wine, so a GDI leak would show in private bytes."]
        lines += ["", f"Bounds over the clicks (the \"settled\" readings from {self.warmup} clicks on), largest "
                  "minus smallest (the \"clicked\" reading, once the last clip has played out, among them), and "
                  "growth: the last quarter of those readings against the first, by the median for counts and by "
                  "the lowest reading for private bytes (the sample buffers the board keeps, 12 MiB at most, only "
                  "add to a reading; a leak lifts the floor). A leak of one handle per 2,500 clicks, or of 200 "
                  "bytes a click, would break the growth bounds:", ""]
        for key, bound in BOUNDS.items():
            rng = f.get("ranges", {}).get(key)
            b = f"{bound / 2**20:.0f} MiB" if key == "private_bytes" else str(bound)
            if rng is None:
                lines.append(f"- {key}: at most {b}; not available here")
            else:
                spread = rng[1] - rng[0]
                got = f"{spread / 2**20:.2f} MiB" if key == "private_bytes" else str(spread)
                g = f.get("growth", {}).get(key, 0)
                gb = f"{GROWTH[key] / 2**20:.0f} MiB" if key == "private_bytes" else str(GROWTH[key])
                gm = f"{g / 2**20:+.2f} MiB" if key == "private_bytes" else f"{g:+g}"
                lines.append((f"- {key}: spread at most {b}; measured {got} ({rng[0]}..{rng[1]})"
                              if key != "private_bytes" else
                              f"- {key}: spread at most {b}; measured {got} ({mib(rng[0])}..{mib(rng[1])})")
                             + f"; growth at most {gb}, measured {gm}")
        if f.get("rest"):
            grew = ", ".join(f"{k} {v / 2**20:+.2f} MiB" if k == "private_bytes" else f"{k} {v:+d}"
                             for k, v in f["rest"].items())
            lines += ["", "At rest after the clicks and the idle minute (\"idle\" against the reading after "
                      f"{self.warmup} clicks, same bounds): " + grew + "."]
        kinds = self.handle_kinds()
        if kinds:
            lines += ["", "Handles by kind (the first clicks open the sound device for the first time; what they "
                      "add stays):", "",
                      "| kind | " + " | ".join(h for h, _ in kinds) + " |",
                      "| --- |" + " ---: |" * len(kinds)]
            for kind in sorted({k for _, t in kinds for k in t}):
                lines.append(f"| {kind} | " + " | ".join(str(t.get(kind, 0)) for _, t in kinds) + " |")
        if "last" in f:
            lines += ["", f"Last click: {f['last']}; its clip found in the sink's recording with correlation "
                      f"{f.get('last_score', 0):.3f}, and after its end {f.get('tail_db', 0):.1f} dBFS (silence)."]
        if "soak_exit" in f:
            code, took = f["soak_exit"]
            lines += [f"Esc after the idle minute: exit code {code}, {1000 * took:.0f} ms."]
        lines += ["", "## Idle cost", "",
                  "Measured on the Linux process Wine runs the board in, over each idle minute: CPU time "
                  "(`utime`+`stime` of `/proc/PID/stat`, 10 ms ticks; also the scheduler's run time from "
                  "`/proc/PID/task/*/schedstat`), and wake-ups: the voluntary and involuntary context switches "
                  "of every thread (`/proc/PID/task/*/status`). A thread that sleeps in its message loop "
                  "switches only when woken; a timer firing, for the board or for Wine on its behalf, is a wake-up.",
                  "",
                  "| minute | CPU (ticks) | run time | wake-ups | by thread |",
                  "| --- | ---: | ---: | ---: | --- |"]
        for name, r in self.idle.items():
            by = ", ".join(f"{k}: {v}" for k, v in r["per_thread"].items()) or "none"
            run = "-" if r["run_ms"] is None else f"{r['run_ms']:.1f} ms"
            lines.append(f"| {name} ({r['seconds']} s{'' if r['bounded'] else ', not bounded'}) | {r['cpu_ms']:.0f} ms | {run} | {r['wakeups']} | {by} |")
        lines += ["", f"Bounds for each idle minute: at most {IDLE_CPU_MS} ms of CPU and {IDLE_WAKEUPS} wake-ups "
                  "(a 1 s timer alone would make 60, each of its ticks costing several switches). The pointer rests "
                  "on the board's background then. The short \"pointer on a button\" stretch is not bounded: "
                  "the board asks for the pointer's leaving (`TrackMouseEvent`, `TME_LEAVE`), which Windows "
                  "reports with the input, and Wine finds out by a system timer of its own "
                  "(`WM_SYSTIMER`, every hover time, 400 ms), each tick a handful of calls to the Wine server."]
        times = sorted(r["esc_to_exit"] for r in self.cycles if r["esc_to_exit"] is not None)
        lines += ["", "## Start and close", ""]
        if self.cycles:
            zero = sum(1 for r in self.cycles if r["code"] == 0)
            lines += [f"{len(self.cycles)} runs in a row: each comes up (splash, then the board), Esc, "
                      f"the process's end awaited. Exit code 0: {zero} of {len(self.cycles)}."]
            if times:
                lines += [f"Esc to the end of the process: fastest {1000 * times[0]:.0f} ms, median "
                          f"{1000 * statistics.median(times):.0f} ms, slowest {1000 * times[-1]:.0f} ms "
                          f"(bound {1000 * ESC_TO_EXIT_S:.0f} ms)."]
        lines += ["", "## Verdict", ""]
        lines += ["All checks passed."] if not self.failures else [f"- FAILED: {x}" for x in self.failures]
        return "\n".join(lines) + "\n"


def linux_status(pid):
    out = {}
    try:
        for line in Path(f"/proc/{pid}/status").read_text().splitlines():
            k, _, v = line.partition(":")
            parts = v.split()
            if parts and parts[0].isdigit():
                out[k] = int(parts[0])
    except FileNotFoundError:
        pass
    return out


def linux_cost(pid):
    """CPU ticks of the whole process, run time, and each thread's context switches."""
    stat = Path(f"/proc/{pid}/stat").read_text()
    fields = stat[stat.rindex(")") + 2:].split()
    ticks = int(fields[11]) + int(fields[12])  # utime, stime
    threads, run_ns = {}, 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            st = linux_status(f"{pid}/task/{task.name}")
            comm = (task / "comm").read_text().strip()
            threads[task.name] = (comm, st.get("voluntary_ctxt_switches", 0) + st.get("nonvoluntary_ctxt_switches", 0))
            run_ns = None if run_ns is None else run_ns + int((task / "schedstat").read_text().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            continue  # a thread that ended meanwhile
        except (OSError, ValueError):
            run_ns = None
    return {"ticks": ticks, "threads": threads, "run_ns": run_ns}


def wait_quiet(rec, seconds, timeout):
    """Waits until the sink's last `seconds` are silent; False when they never were."""
    deadline = time.monotonic() + timeout
    need = int(seconds * snd.RATE) * 4
    while time.monotonic() < deadline:
        size = rec.path.stat().st_size // 4 * 4
        if size >= need:
            with open(rec.path, "rb") as f:
                f.seek(size - need)
                pcm = np.frombuffer(f.read(need), dtype="<i2").astype(np.float64) / 32768
            if snd.rms_db(pcm) < -60:
                return True
        time.sleep(0.25)
    return False


def wine_version():
    try:
        return subprocess.run([base.WINE, "--version"], capture_output=True, text=True, timeout=20).stdout.strip()
    except (OSError, subprocess.TimeoutExpired):
        return "Wine"


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--exe", required=True)
    ap.add_argument("--probe", required=True)
    ap.add_argument("--procstat", required=True)
    ap.add_argument("--bits", default="32")
    ap.add_argument("--out", required=True)
    ap.add_argument("--docs", help="also write soak.md and soak.png here")
    ap.add_argument("--clicks", type=int, default=10000)
    ap.add_argument("--cycles", type=int, default=100)
    ap.add_argument("--every", type=int, default=SAMPLE_EVERY, help="clicks between readings")
    ap.add_argument("--idle", type=int, default=60, help="seconds of each idle measurement")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--expect-last", help=argparse.SUPPRESS)  # a wrong caption here must fail the run
    ap.add_argument("--command", default="tools/soak.sh", help="the command line, for the report")
    ap.add_argument("--load-before", default="")
    args = ap.parse_args()
    for var in ("WINEPREFIX", "DISPLAY", "XDG_RUNTIME_DIR"):
        if not os.environ.get(var):
            print(f"FAIL  {var} is not set: run tools/soak.sh")
            return 1
    if args.clicks < BATCH or args.clicks % BATCH or args.every % BATCH:
        ap.error(f"--clicks and --every must be multiples of {BATCH}")
    base.CASE_SECONDS = 3600  # the probe's watch lasts the whole soak
    soak = Soak(args)
    soak.soak()
    soak.cycle_runs()
    load_after = Path("/proc/loadavg").read_text().split()[:3]
    soak.plot(soak.out / "soak.png")
    text = soak.report(args.command, args.load_before, " ".join(load_after))
    (soak.out / "soak.md").write_text(text)
    print(f"report: {soak.out / 'soak.md'}, plot: {soak.out / 'soak.png'}")
    if args.docs:
        docs = Path(args.docs)
        docs.mkdir(parents=True, exist_ok=True)
        (docs / "soak.md").write_text(text)
        (docs / "soak.png").write_bytes((soak.out / "soak.png").read_bytes())
        print(f"also written to {docs}")
    print("soak: passed" if not soak.failures else f"soak: FAILED ({len(soak.failures)} check(s))")
    return 0 if not soak.failures else 1


if __name__ == "__main__":
    sys.exit(main())
