#!/usr/bin/python3
"""End-to-end cases: the real program under Wine on the virtual display.

The program is driven as a person would use it (xdotool: pointer and keys)
and observed from outside: winprobe (a console tool in the same Wine prefix)
reports its windows, xwininfo the X windows Wine made for them, ImageMagick
what is on the screen. The caller has the environment ready (tools/env.sh,
sb_services_start): WINEPREFIX, DISPLAY, XDG_RUNTIME_DIR, LANG.

Wine programs always write to files here, never to a pipe: the first wine
call can start Wine's background services, which inherit and hold a pipe.
"""
import argparse
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import threading
import time
from pathlib import Path

CASE_SECONDS = 30  # hard limit for one case, start to finish
# The loader of the build under test (the 64-bit one is called directly).
WINE = os.environ.get("SB_WINE") or "wine"

# Window styles and hit-test codes, as the probe reports them.
WS_POPUP = 0x80000000
WS_CAPTION = 0x00C00000
WS_BORDER = 0x00800000
WS_DLGFRAME = 0x00400000
WS_SYSMENU = 0x00080000
WS_THICKFRAME = 0x00040000
WS_MINIMIZEBOX = 0x00020000
WS_MAXIMIZEBOX = 0x00010000
WS_EX_TOPMOST = 0x00000008
WS_EX_TOOLWINDOW = 0x00000080
WS_EX_CLIENTEDGE = 0x00000200
WS_EX_APPWINDOW = 0x00040000
WS_EX_LAYERED = 0x00080000
HTCLIENT, HTBORDER, HTCLOSE = 1, 18, 20

START_CLIENT = (600, 400)
BOARD_OUTER = (400, 600)
WEB_PANEL = ("SoundBoardWebHost", 8, 8, 376, 160)
LABEL = ("SoundBoardTransLabel", 156, 549, 228, 24, "直播音效板 v1.0 晨声工作室 2026.12")

# The board's 44 buttons in their stored (tab) order: caption, client left, top.
# Every one is 80x16.
BUTTONS = [
    ("吐得习惯", 102, 521), ("爱拍马屁", 195, 520), ("后果严重", 291, 519), ("有没天理", 8, 522),
    ("我会回来", 102, 487), ("他们来了", 195, 486), ("我很忙啊", 291, 485), ("我是大海", 8, 488),
    ("我太有才", 102, 457), ("不要逼我", 195, 456), ("老折磨我", 291, 455), ("一会再说", 8, 458),
    ("葵花点穴", 102, 423), ("我是胡侃", 195, 422), ("回家吃吧", 291, 421), ("我要走了", 8, 424),
    ("猪快出来", 102, 392), ("你快来呀", 195, 391), ("真的是猪", 291, 390), ("各种狂笑", 8, 393),
    ("手枪声音", 102, 358), ("心跳声音", 195, 357), ("Karvon笑", 291, 356), ("打碎玻璃", 8, 359),
    ("我鄙视你", 102, 323), ("震撼屁声", 195, 322), ("做人厚道", 291, 321), ("乌鸦飞过", 8, 324),
    ("笑声鼓掌", 102, 289), ("尖叫鼓掌", 195, 288), ("稍微鼓掌", 291, 287), ("正常鼓掌", 8, 290),
    ("女人砍刀", 102, 252), ("机枪枪毙", 195, 251), ("送去医院", 291, 250), ("撒娇摇头", 8, 253),
    ("接吻声音", 101, 215), ("女生尖叫", 194, 214), ("女生媚笑", 290, 213), ("口哨声音", 7, 216),
    ("小孩哭笑", 288, 178), ("邪恶地笑", 194, 178), ("男人奸笑", 101, 178), ("大众笑声", 8, 178),
]
BUTTON_SIZE = (80, 16)

# Timer tolerances (ms): Wine start-up jitter on the absolute times, tighter
# on the gap between the two timers, which start together.
HIDE_AT, BOARD_AT, TOLERANCE = 5000, 5500, 400
GAP, GAP_TOLERANCE = 500, 200


class Failed(Exception):
    """A required step did not happen; the case cannot go on."""


def size(rect):
    return rect[2] - rect[0], rect[3] - rect[1]


class Session:
    """One run of the program, with its probe watch and the checks made."""

    def __init__(self, args):
        self.exe = Path(args.exe).resolve()
        self.probe = Path(args.probe).resolve()
        self.dir = Path(args.out).resolve() / args.case
        shutil.rmtree(self.dir, ignore_errors=True)
        self.dir.mkdir(parents=True)
        self.image = self.exe.name
        self.prog = None
        self.watch = None
        self.failures = []
        self.dumps = []
        self.probe_runs = 0

    # ---- reporting -------------------------------------------------------
    def check(self, ok, what, detail=""):
        print(("PASS  " if ok else "FAIL  ") + what + (f"  [{detail}]" if detail and not ok else ""), flush=True)
        if not ok:
            self.failures.append(what)
        return ok

    def require(self, ok, what, detail=""):
        if not self.check(ok, what, detail):
            raise Failed(what)

    def note(self, text):
        print("      " + text, flush=True)

    # ---- processes -------------------------------------------------------
    def _spawn(self, argv, name, cwd=None):
        out = open(self.dir / f"{name}.out", "wb")
        err = open(self.dir / f"{name}.err", "wb")
        try:
            return subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=out, stderr=err, cwd=cwd)
        finally:
            out.close()
            err.close()

    def start(self):
        self.watch = self._spawn([WINE, str(self.probe), "watch", "--image", self.image,
                                  "--ms", str(CASE_SECONDS * 1000)], "watch")
        ready = self.wait_for(lambda: self.events(), 20, "the probe's watch to start")[0]
        if ready.get("ignored"):
            self.note(f"{ready['ignored']} window(s) of another run are open; the watch leaves them out")
        self.prog = self._spawn([WINE, str(self.exe)], "program", cwd=str(self.exe.parent))

    def pid(self):
        """The program's Windows process id, as the watch found it."""
        e = next((e for e in self.events() if e["event"] == "process"), None)
        if e is None:
            raise Failed("the probe has not seen the program's process")
        return e["pid"]

    def run_probe(self, *argv):
        self.probe_runs += 1
        name = f"probe{self.probe_runs:02d}-{argv[0]}"
        p = self._spawn([WINE, str(self.probe), *argv], name)
        try:
            p.wait(timeout=15)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
            raise Failed(f"winprobe {argv[0]} did not finish")
        text = (self.dir / f"{name}.out").read_text(encoding="utf-8").strip()
        if p.returncode != 0 or not text:
            raise Failed(f"winprobe {' '.join(argv)} failed ({p.returncode}): {text}")
        return json.loads(text.splitlines()[0])

    def dump(self):
        d = self.run_probe("dump", "--image", self.image, "--pid", str(self.pid()))
        self.dumps.append(d)
        return d

    def hittest(self, hwnd, points):
        d = self.run_probe("hittest", str(hwnd), *(f"{x},{y}" for x, y in points))
        return d["points"]

    def exit_code(self, timeout):
        """The program's exit code, or None while it still runs.

        64-bit Wine here can die of a signal in its own teardown after the
        program has ended (seen with threads stuck in a frozen sound server):
        then the code Windows recorded for the program, as the watch saw it,
        is the answer, and the log says so."""
        try:
            code = self.prog.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None
        if code < 0:
            try:
                recorded = self.wait_for(lambda: [e for e in self.events() if e["event"] == "exited"], 3,
                                         "the watch to see the exit")[0]["code"]
            except Failed:
                return code
            self.note(f"Wine's loader died of signal {-code} after the program ended with {recorded}")
            return recorded
        return code

    def stop(self):
        # Only the processes this session started, by id.
        for p in (self.prog, self.watch):
            if p and p.poll() is None:
                p.kill()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    pass

    # ---- observation -----------------------------------------------------
    def events(self):
        try:
            text = (self.dir / "watch.out").read_text(encoding="utf-8")
        except FileNotFoundError:
            return []
        out = []
        for line in text.splitlines(keepends=True):
            if line.endswith("\n"):  # a line still being written is read next time
                out.append(json.loads(line))
        return out

    def wait_for(self, predicate, seconds, what):
        deadline = time.monotonic() + seconds
        while True:
            value = predicate()
            if value:
                return value
            if time.monotonic() > deadline:
                raise Failed(f"timed out waiting for {what}")
            time.sleep(0.02)

    def forms(self):
        """The program's form windows in the order they were created: hwnd -> events."""
        out = {}
        for e in self.events():
            if e.get("class") == "SoundBoardForm":
                out.setdefault(e["hwnd"], []).append(e)
        return out

    def form_event(self, index, kind):
        forms = list(self.forms().values())
        if len(forms) <= index:
            return None
        return next((e for e in forms[index] if e["event"] == kind or
                     (kind == "shown" and e["event"] == "created" and e["visible"])), None)

    def wait_start_shown(self):
        return self.wait_for(lambda: self.form_event(0, "shown"), 20, "the start window to appear")

    def wait_board_shown(self):
        return self.wait_for(lambda: self.form_event(1, "shown"), 12, "the board to appear")

    def board_up(self, start=True):
        """Waits for the board (the start window gone); returns (dump, board window)."""
        if start:
            self.start()
        board = self.wait_board_shown()
        self.wait_for(lambda: self.form_event(0, "destroyed"), 3, "the start window to be destroyed")
        dump = self.dump()
        w = self.window(dump, board["hwnd"])
        self.require(w is not None, "board found by the probe")
        return dump, w

    def window(self, dump, hwnd):
        return next((w for w in dump["windows"] if w["hwnd"] == hwnd), None)

    def x_window(self, xid):
        """Geometry and map state of an X window, from xwininfo."""
        r = subprocess.run(["xwininfo", "-id", str(xid)], capture_output=True, text=True, timeout=10)
        info = {}
        for key, pat in (("x", r"Absolute upper-left X:\s+(-?\d+)"), ("y", r"Absolute upper-left Y:\s+(-?\d+)"),
                         ("w", r"Width:\s+(\d+)"), ("h", r"Height:\s+(\d+)")):
            m = re.search(pat, r.stdout)
            info[key] = int(m.group(1)) if m else None
        m = re.search(r"Map State:\s+(\w+)", r.stdout)
        info["map"] = m.group(1) if m else None
        return info

    def root_size(self):
        r = subprocess.run(["xwininfo", "-root"], capture_output=True, text=True, timeout=10)
        return (int(re.search(r"Width:\s+(\d+)", r.stdout).group(1)),
                int(re.search(r"Height:\s+(\d+)", r.stdout).group(1)))

    # ---- input -----------------------------------------------------------
    def xdo(self, *argv):
        subprocess.run(["xdotool", *map(str, argv)], check=True, timeout=10)

    def press_escape_over(self, x, y):
        self.xdo("mousemove", x, y)
        time.sleep(0.1)
        self.xdo("key", "Escape")

    def expect_exit_zero(self, what):
        code = self.exit_code(8)
        self.require(code is not None, f"{what}: the process ended")
        self.check(code == 0, f"{what}: exit code 0", f"got {code}")

    def diagnostics(self):
        print("---- probe watch ----")
        for e in self.events():
            print(json.dumps(e, ensure_ascii=False))
        if self.dumps:
            print("---- last probe dump ----")
            d = self.dumps[-1]
            print(json.dumps({k: v for k, v in d.items() if k != "windows"}))
            for w in d["windows"]:
                print(json.dumps({k: v for k, v in w.items() if k != "children"}, ensure_ascii=False))
                for c in w["children"]:
                    print("    " + json.dumps(c, ensure_ascii=False))
        print(f"---- files in {self.dir} ----")


# ---- checks shared by the cases ------------------------------------------

def check_start_window(s, dump, hwnd):
    w = s.window(dump, hwnd)
    s.require(w is not None, "start window: found by the probe")
    m = dump["metrics"]
    scr_w, scr_h = s.root_size()
    s.check((m["cx_screen"], m["cy_screen"]) == (scr_w, scr_h), "screen size agrees between Wine and X",
            f"{m['cx_screen']}x{m['cy_screen']} vs {scr_w}x{scr_h}")
    cw, ch = START_CLIENT
    x, y = (scr_w - cw) // 2, (scr_h - ch) // 2
    s.check(w["title"] == "", "start window: empty title", repr(w["title"]))
    s.check(w["visible"], "start window: visible")
    s.check(size(w["client"]) == START_CLIENT, "start window: client area 600x400", w["client"])
    s.check(w["rect"] == [x, y, x + cw, y + ch], f"start window: centred and borderless at ({x},{y})", w["rect"])
    st, ex = w["style"], w["exstyle"]
    s.check(st & WS_POPUP and not st & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME),
            "start window: WS_POPUP with no border or title bar", hex(st))
    s.check(w["owner"] == 0, "start window: no owner", w["owner_class"])
    # The skin makes the splash layered and nothing else; unowned and not a
    # tool window, it keeps its own taskbar button.
    s.check(ex == WS_EX_LAYERED, "start window: extended style exactly WS_EX_LAYERED", hex(ex))
    xw = s.x_window(w["x11_window"]) if w["x11_window"] else {}
    s.check(xw.get("map") == "IsViewable" and (xw["x"], xw["y"], xw["w"], xw["h"]) == (x, y, cw, ch),
            "start window: X window mapped at the same place and size", xw)
    return w


def check_board(s, dump, hwnd):
    w = s.window(dump, hwnd)
    s.require(w is not None, "board: found by the probe")
    m = dump["metrics"]
    scr_w, scr_h = m["cx_screen"], m["cy_screen"]
    bw, bh = BOARD_OUTER
    x, y = (scr_w - bw) // 2, (scr_h - bh) // 2
    st, ex = w["style"], w["exstyle"]
    s.check(w["visible"] and w["enabled"], "board: visible and enabled")
    s.check(w["title"] == "", "board: empty title", repr(w["title"]))
    s.check(w["rect"] == [x, y, x + bw, y + bh], f"board: outer rectangle 400x600 centred at ({x},{y})", w["rect"])
    s.check(st & WS_CAPTION == WS_CAPTION and st & WS_SYSMENU, "board: title bar with system menu", hex(st))
    s.check(st & WS_MINIMIZEBOX and not st & WS_MAXIMIZEBOX, "board: minimize box, no maximize box", hex(st))
    s.check(not st & WS_THICKFRAME and not ex & WS_EX_CLIENTEDGE, "board: fixed single border", hex(st))
    fx, fy = m["cx_fixedframe"], m["cy_fixedframe"]
    s.check(size(w["client"]) == (bw - 2 * fx, bh - 2 * fy - m["cy_caption"])
            and w["client_origin"] == [x + fx, y + fy + m["cy_caption"]],
            "board: client area inside a fixed frame and caption", f"{w['client']} at {w['client_origin']}")
    s.check(ex & WS_EX_TOPMOST, "board: top-most", hex(ex))
    s.check(w["owner_class"] == "SoundBoardOwner", "board: owned by the hidden owner window", w["owner_class"])
    owner = s.window(dump, w["owner"])
    s.check(owner is not None and not owner["visible"], "board: its owner is hidden")
    xw = s.x_window(w["x11_window"]) if w["x11_window"] else {}
    s.check(xw.get("map") == "IsViewable" and (xw["x"], xw["y"], xw["w"], xw["h"]) == (x, y, bw, bh),
            "board: X window mapped at the same place and size", xw)
    # Not resizable: the edges and corners are plain border, not sizing handles.
    r = w["rect"]
    edges = s.hittest(hwnd, [(r[2] - 1, (r[1] + r[3]) // 2), (r[2] - 1, r[3] - 1), ((r[0] + r[2]) // 2, r[3] - 1)])
    s.check(all(p["hit"] == HTBORDER for p in edges), "board: edges are not sizing handles",
            [p["hit"] for p in edges])
    return w


def check_board_children(s, w):
    kids = w["children"]
    web = [c for c in kids if c["class"] == WEB_PANEL[0]]
    cls, l, t, cw, ch = WEB_PANEL
    s.check(len(web) == 1 and web[0]["rect"] == [l, t, l + cw, t + ch] and web[0]["visible"],
            "board: web panel host at (8,8) 376x160", [c["rect"] for c in web])
    cls, l, t, cw, ch, text = LABEL
    labels = [c for c in kids if c["class"] == cls]
    s.check(len(labels) == 1 and labels[0]["rect"] == [l, t, l + cw, t + ch] and labels[0]["visible"],
            "board: label at (156,549) 228x24", [c["rect"] for c in labels])
    s.check(len(labels) == 1 and labels[0]["text"] == text, "board: label text", [c["text"] for c in labels])

    buttons = [c for c in kids if c["class"] == "Button"]
    s.check(len(buttons) == len(BUTTONS), f"board: {len(BUTTONS)} buttons", len(buttons))
    bw, bh = BUTTON_SIZE
    got = [(c["text"], c["rect"][0], c["rect"][1]) for c in buttons]
    wrong = [(g, e) for g, e in zip(got, BUTTONS) if g != e]
    s.check(got == BUTTONS, "board: button captions and positions, in tab order",
            f"{len(wrong)} differ, first {wrong[:3]}")
    s.check(all(size(c["rect"]) == (bw, bh) and c["visible"] and c["enabled"] for c in buttons),
            "board: every button 80x16, visible and enabled",
            [(c["text"], c["rect"]) for c in buttons if size(c["rect"]) != (bw, bh)])


def board_background_point(s, dump, w, client_xy):
    """Screen point of a client point on the board's own background, checked."""
    x, y = w["client_origin"][0] + client_xy[0], w["client_origin"][1] + client_xy[1]
    hit = s.hittest(w["hwnd"], [(x, y)])[0]
    s.require(hit["hit"] == HTCLIENT and hit["child"] == w["hwnd"] and hit["at"] == w["hwnd"],
              f"client {client_xy} is the board's background, not a child", hit)
    return x, y


# ---- cases ---------------------------------------------------------------

def case_timeline(s, args):
    s.start()
    shown = s.wait_start_shown()
    start_hwnd = shown["hwnd"]
    s.note(f"start window {start_hwnd} appeared")
    start = check_start_window(s, s.dump(), start_hwnd)

    s.wait_for(lambda: s.form_event(0, "hidden"), 8, "the start window to be hidden")
    xw = s.x_window(start["x11_window"])
    # Known and not viewable: a window xwininfo cannot read proves nothing.
    s.check(xw["map"] in ("IsUnMapped", "IsUnviewable"), "start window: gone from the screen once hidden", xw["map"])

    board_shown = s.wait_board_shown()
    board_hwnd = board_shown["hwnd"]
    destroyed = s.wait_for(lambda: s.form_event(0, "destroyed"), 3, "the start window to be destroyed")
    s.check(destroyed["tick"] >= board_shown["tick"],
            "start window destroyed once the board is up", f"{destroyed['tick'] - board_shown['tick']} ms")
    dump = s.dump()
    w = check_board(s, dump, board_hwnd)
    check_board_children(s, w)
    s.check(s.window(dump, start_hwnd) is None, "start window no longer exists")

    created = s.form_event(0, "created")
    hidden = s.form_event(0, "hidden")
    board_created = s.form_event(1, "created")
    s.require(hidden is not None, "start window was hidden before the board appeared")
    t_hide = hidden["tick"] - created["tick"]
    t_board = board_created["tick"] - created["tick"]
    s.note(f"timeline (ms after the start window was created): shown {shown['tick'] - created['tick']}, "
           f"hidden {t_hide}, board created {t_board}, board shown {board_shown['tick'] - created['tick']}, "
           f"start destroyed {destroyed['tick'] - created['tick']}")
    s.check(abs(t_hide - HIDE_AT) <= TOLERANCE, f"start window hidden about {HIDE_AT} ms after creation", t_hide)
    s.check(abs(t_board - BOARD_AT) <= TOLERANCE, f"board created about {BOARD_AT} ms after the start window",
            t_board)
    s.check(abs(t_board - t_hide - GAP) <= GAP_TOLERANCE, f"board follows the hide by about {GAP} ms",
            t_board - t_hide)
    owner_shown = [e for e in s.events() if e.get("class") == "SoundBoardOwner" and e.get("visible")]
    s.check(not owner_shown, "the owner window is never shown", owner_shown)

    s.press_escape_over(*board_background_point(s, dump, w, (95, 300)))
    s.expect_exit_zero("Esc on the board")
    s.wait_for(lambda: s.form_event(1, "destroyed"), 3, "the board to be destroyed")
    s.check(len(s.forms()) == 2, "exactly two form windows in the run", len(s.forms()))


def case_close_box(s, args):
    s.start()
    board = s.wait_board_shown()
    dump = s.dump()
    w = s.window(dump, board["hwnd"])
    s.require(w is not None, "board found by the probe")
    m = dump["metrics"]
    r = w["rect"]
    # Scan the caption's middle row from the right edge for the close box.
    y = r[1] + m["cy_fixedframe"] + m["cy_caption"] // 2
    xs = list(range(r[2] - 1, r[2] - 1 - 4 * m["cx_size"], -1))
    hits = s.hittest(w["hwnd"], [(x, y) for x in xs])
    close_xs = [p["x"] for p in hits if p["hit"] == HTCLOSE]
    s.require(close_xs, "the caption has a close box", [(p["x"], p["hit"]) for p in hits])
    s.check(r[2] - max(close_xs) <= 2 * m["cx_fixedframe"] + 2, "close box sits at the top right",
            f"{r[2] - max(close_xs)} px from the right edge")
    x = (min(close_xs) + max(close_xs)) // 2
    s.note(f"close box spans x {min(close_xs)}..{max(close_xs)} at y {y}; clicking ({x},{y})")
    s.xdo("mousemove", x, y)
    time.sleep(0.1)
    s.xdo("click", "1")
    s.expect_exit_zero("click on the close box")
    s.wait_for(lambda: s.form_event(1, "destroyed"), 3, "the board to be destroyed")


def case_early_close(s, args):
    s.start()
    shown = s.wait_start_shown()
    dump = s.dump()
    w = s.window(dump, shown["hwnd"])
    s.require(w is not None, "start window found by the probe")
    cx = (w["rect"][0] + w["rect"][2]) // 2
    cy = (w["rect"][1] + w["rect"][3]) // 2
    if dump["foreground"] != w["hwnd"]:
        s.note("start window is not in front; clicking it first")
        s.xdo("mousemove", cx, cy)
        s.xdo("click", "1")
        time.sleep(0.2)
    pressed = time.monotonic()
    s.press_escape_over(cx, cy)
    s.expect_exit_zero("Esc on the start window")
    s.note(f"process ended within {int((time.monotonic() - pressed) * 1000)} ms of moving there and pressing Esc")
    s.wait_for(lambda: s.events() and s.events()[-1]["event"] == "end", 5, "the probe's watch to end")
    evs = s.forms().get(shown["hwnd"], [])
    kinds = [e["event"] for e in evs]
    s.check("destroyed" in kinds, "start window destroyed", kinds)
    # Destroying hides a window first, so the probe may see it hidden for a moment;
    # what matters is that it went well before its hide timer was due.
    gone = next((e["tick"] for e in evs if e["event"] in ("hidden", "destroyed")), None)
    gone_after = gone - evs[0]["tick"] if gone is not None else None
    s.check(gone_after is not None and gone_after < HIDE_AT - TOLERANCE,
            "start window went at the Esc, before its hide timer", gone_after)
    s.check(len(s.forms()) == 1, "no board ever appeared", list(s.forms()))


def case_drag(s, args):
    dump, w = s.board_up()
    before = w["rect"]
    x, y = board_background_point(s, dump, w, (95, 300))
    dx, dy, steps = -100, -50, 10
    s.xdo("mousemove", x, y)
    time.sleep(0.1)
    s.xdo("mousedown", "1")
    time.sleep(0.1)
    for i in range(1, steps + 1):
        s.xdo("mousemove", x + dx * i // steps, y + dy * i // steps)
        time.sleep(0.03)
    time.sleep(0.1)
    s.xdo("mouseup", "1")
    time.sleep(0.3)
    after_dump = s.dump()
    after = s.window(after_dump, w["hwnd"])["rect"]
    moved = (after[0] - before[0], after[1] - before[1])
    s.note(f"board rect {before} -> {after}")
    s.check(abs(moved[0] - dx) <= 2 and abs(moved[1] - dy) <= 2, f"board moved by ({dx},{dy})", moved)
    s.check(size(after) == size(before), "board kept its size while dragged", after)
    xw = s.x_window(w["x11_window"])
    s.check((xw["x"], xw["y"]) == (after[0], after[1]), "board's X window moved with it", xw)
    s.press_escape_over(x + dx, y + dy)
    s.expect_exit_zero("Esc after the drag")


def grab(s, rect, path):
    """Crop a window's rectangle out of a screenshot of the whole screen."""
    root = s.dir / "root.png"
    subprocess.run(["import", "-window", "root", str(root)], check=True, timeout=20)
    w, h = size(rect)
    subprocess.run(["convert", str(root), "-crop", f"{w}x{h}+{rect[0]}+{rect[1]}", "+repage", str(path)],
                   check=True, timeout=20)


def colours(path):
    r = subprocess.run(["identify", "-format", "%k", str(path)], capture_output=True, text=True, timeout=20,
                       check=True)
    return int(r.stdout.strip())


def case_screenshots(s, args):
    s.start()
    shown = s.wait_start_shown()
    time.sleep(0.5)  # let it paint
    w = s.window(s.dump(), shown["hwnd"])
    s.require(w is not None and w["visible"], "start window on screen for its picture")
    start_png = s.dir / "start.png"
    grab(s, w["rect"], start_png)
    s.note(f"start window: {colours(start_png)} colours")

    board = s.wait_board_shown()
    s.wait_for(lambda: s.form_event(0, "destroyed"), 3, "the start window to be destroyed")
    time.sleep(0.5)
    dump = s.dump()
    w = s.window(dump, board["hwnd"])
    s.require(w is not None, "board found by the probe")
    board_png = s.dir / "board.png"
    grab(s, w["rect"], board_png)
    n = colours(board_png)
    s.check(n > 1, "board picture is not all one colour", f"{n} colours")
    if args.docs:
        docs = Path(args.docs)
        docs.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(start_png, docs / "start.png")
        shutil.copyfile(board_png, docs / "board.png")
        s.note(f"wrote {docs / 'start.png'} and {docs / 'board.png'}")
    s.press_escape_over(*board_background_point(s, dump, w, (95, 300)))
    s.expect_exit_zero("Esc on the board")


# ---- web panel: the board while its page loads and after it fails ---------

WEB_CONTROL_ID = 0xE900
# Where the page was served from before it moved into the program: nothing
# may ask there (or anywhere) now.
OLD_PAGE_HOST = ("127.0.0.1", 8000)


class ConnectionWatch:
    """A listener that counts every connection made to it."""

    def __init__(self, host, port):
        self.connections = []
        self.error = None
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            self.sock.bind((host, port))
            self.sock.listen(8)
        except OSError as e:
            self.error = str(e)
            return
        self.sock.settimeout(0.2)
        self.running = True
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while self.running:
            try:
                conn, peer = self.sock.accept()
            except OSError:
                continue
            self.connections.append(peer)
            conn.close()

    def close(self):
        self.running = False
        self.sock.close()


def check_web_panel(s, w):
    """The panel's host at (8,8) 376x160 with the browser control filling it."""
    hosts = [c for c in w["children"] if c["class"] == WEB_PANEL[0]]
    s.require(len(hosts) == 1, "board: one web panel host", len(hosts))
    host = hosts[0]
    s.check(host["rect"] == [8, 8, 384, 168] and host["visible"], "web panel: client pixels 8..383 x 8..167",
            host["rect"])
    inner = [c for c in host["children"] if c["id"] == WEB_CONTROL_ID]
    s.check(len(inner) == 1 and inner[0]["rect"] == [0, 0, 376, 160] and inner[0]["visible"],
            "web panel: the browser control (id 0xE900) fills the host",
            [(c["class"], c["id"], c["rect"]) for c in host["children"]])


def button_screen_rect(w, caption):
    b = next((c for c in w["children"] if c["class"] == "Button" and c["text"] == caption), None)
    if b is None:
        raise Failed(f"no button {caption}")
    ox, oy = w["client_origin"]
    r = b["rect"]
    return b, [ox + r[0], oy + r[1], ox + r[2], oy + r[3]]


def press_button(s, w, caption, rest_xy, when):
    """Presses and releases a board button with the mouse; the board must
    answer the probe and show the button's pressed look while held, against
    its look with the pointer over it and not pressed."""
    b, r = button_screen_rect(w, caption)
    cx, cy = (r[0] + r[2]) // 2, (r[1] + r[3]) // 2
    hit = s.hittest(w["hwnd"], [(cx, cy)])[0]
    s.check(hit["hit"] is not None and hit["at"] == b["hwnd"], f"{when}: the board answers at once, {caption} under the point",
            hit)
    s.xdo("mousemove", *rest_xy)
    time.sleep(0.2)
    s.xdo("mousemove", cx, cy)
    time.sleep(0.3)
    before, held = s.dir / f"{caption}-hover.png", s.dir / f"{caption}-held.png"
    grab(s, r, before)
    s.xdo("mousedown", "1")
    time.sleep(0.3)
    grab(s, r, held)
    s.xdo("mouseup", "1")
    time.sleep(0.1)
    diff = subprocess.run(["compare", "-metric", "AE", str(before), str(held), "null:"], capture_output=True,
                          text=True, timeout=20)
    changed = int(float((diff.stderr.split() or ["0"])[0]))
    s.check(changed > 0, f"{when}: {caption} shows its pressed look, not only its hover look",
            f"{changed} pixels changed")


# Wine's trace of the program's Winsock calls: a name look-up, creating a
# socket or connecting one, by any part of the program (the control included).
SOCKET_CALL = re.compile(r":winsock:(getaddrinfo|GetAddrInfoW|gethostbyname|WSASocket\w*|socket|connect|WSAConnect"
                         r"|sendto|WSASendTo)\b", re.I)


def case_web_page(s, args):
    """The page ships inside the program: a renamed copy in a folder whose
    name has Chinese characters and a space comes up with its panel, opens
    no socket at all (nor connects to where its page was once served), and
    its buttons work."""
    folder = s.dir / "我的 音效板"
    folder.mkdir()
    copy = folder / "直播 音效板.exe"
    shutil.copyfile(s.exe, copy)
    s.exe, s.image = copy, copy.name
    watch = ConnectionWatch(*OLD_PAGE_HOST)
    # The program's own socket calls go to its standard error.
    os.environ["WINEDEBUG"] = "-all,+winsock"
    try:
        s.require(watch.error is None, f"listening on {OLD_PAGE_HOST[0]}:{OLD_PAGE_HOST[1]}", watch.error)
        dump, w = s.board_up()
        check_web_panel(s, w)
        rest = board_background_point(s, dump, w, (95, 300))
        press_button(s, w, "大众笑声", rest, "with the page in the panel")
        time.sleep(1.0)
        press_button(s, w, "男人奸笑", rest, "a second later")
        s.press_escape_over(*rest)
        pressed = time.monotonic()
        s.expect_exit_zero("Esc with the web panel on the board")
        took = time.monotonic() - pressed
        s.note(f"Esc to the end of the process: {took * 1000:.0f} ms")
        s.check(took < 1.0, "the program ended within a second of Esc", f"{took:.2f} s")
        s.check(not watch.connections, "the board asked no server for its page", watch.connections)
        trace = (s.dir / "program.err").read_text(encoding="utf-8", errors="replace")
        calls = [line for line in trace.splitlines() if SOCKET_CALL.search(line)]
        s.check(not calls, "the board looked up no name and opened no socket from launch to exit", calls[:5])
    finally:
        watch.close()


# ---- the hover look --------------------------------------------------------

HOVER_ROW = ["乌鸦飞过", "我鄙视你", "震撼屁声", "做人厚道"]  # one row, left to right
HOVERED = "我鄙视你"
LABEL_BLUE = (0, 136, 255)


def pixels(path, rect):
    """(r, g, b) of each pixel of rect (left, top, right, bottom) in a picture,
    keyed by its (x, y) within the rect."""
    l, t, r, b = rect
    out = subprocess.run(["convert", str(path), "-crop", f"{r - l}x{b - t}+{l}+{t}", "+repage", "-depth", "8",
                          "txt:-"], capture_output=True, text=True, timeout=20, check=True).stdout
    px = {}
    for line in out.splitlines():
        m = re.match(r"(\d+),(\d+):\s*\((\d+),(\d+),(\d+)", line)
        if m:
            px[(int(m[1]), int(m[2]))] = tuple(int(v) for v in m.groups()[2:5])
    return px


def case_hover(s, args):
    dump, w = s.board_up()
    at = {caption: (x, y) for caption, x, y in BUTTONS}
    ox, oy = w["client_origin"]
    rest = board_background_point(s, dump, w, (95, 300))
    s.xdo("mousemove", *rest)
    time.sleep(0.2)
    hx, hy = at[HOVERED]
    s.xdo("mousemove", ox + hx + BUTTON_SIZE[0] // 2, oy + hy + BUTTON_SIZE[1] // 2)
    time.sleep(0.5)
    png = s.dir / "board-hover.png"
    grab(s, w["rect"], png)

    # Picture coordinates of a client point.
    def pic(x, y):
        return ox - w["rect"][0] + x, oy - w["rect"][1] + y

    def face(caption):
        """The colour of a button's face beside its caption (left of it, where
        the four characters do not reach), all one colour."""
        x, y = pic(*at[caption])
        patch = set(pixels(png, (x + 2, y + 2, x + 8, y + 14)).values())
        s.check(len(patch) == 1, f"{caption}: an even face left of the caption", sorted(patch))
        return next(iter(patch))

    faces = {caption: face(caption) for caption in HOVER_ROW}
    s.note("faces: " + ", ".join(f"{c} {faces[c]}" for c in HOVER_ROW))
    lit = faces[HOVERED]
    others = [faces[c] for c in HOVER_ROW if c != HOVERED]
    s.check(all(sum(lit) > sum(o) and all(a >= b for a, b in zip(lit, o)) for o in others),
            f"the hovered {HOVERED} is lighter than its neighbours", faces)
    s.check(len(set(others)) == 1, "the other buttons keep the one flat face", others)
    # Its raised frame: the right and bottom edges in the shadow colour.
    x, y = pic(hx, hy)
    edge = pixels(png, (x + BUTTON_SIZE[0] - 1, y + 2, x + BUTTON_SIZE[0], y + 3))[(0, 0)]
    s.check(sum(edge) < sum(lit), f"{HOVERED}: a darker right edge while lit", edge)
    nx, ny = pic(*at[HOVER_ROW[2]])
    s.check(pixels(png, (nx + BUTTON_SIZE[0] - 1, ny + 2, nx + BUTTON_SIZE[0], ny + 3))[(0, 0)] == others[0],
            "no frame on a button at rest")
    # The title label's blue caption over the window background.
    _, l, t, lw, lh, _ = LABEL
    lx, ly = pic(l, t)
    label = pixels(png, (lx, ly, lx + lw, ly + lh)).values()
    blue = sum(1 for p in label if p == LABEL_BLUE)
    s.check(blue > 20, "the title label shows its caption in blue", f"{blue} blue pixels")

    if args.docs:
        docs = Path(args.docs)
        docs.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(png, docs / "board-hover.png")
        s.note(f"wrote {docs / 'board-hover.png'}")
    s.press_escape_over(*rest)
    s.expect_exit_zero("Esc on the board")


CASES = {
    "timeline": case_timeline,
    "close_box": case_close_box,
    "early_close": case_early_close,
    "drag": case_drag,
    "screenshots": case_screenshots,
    "hover": case_hover,
    "web_page": case_web_page,
}


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--exe", required=True)
    ap.add_argument("--probe", required=True)
    ap.add_argument("--case", required=True, choices=sorted(CASES))
    ap.add_argument("--out", required=True, help="folder for logs, probe output and pictures")
    ap.add_argument("--docs", help="screenshots, hover: also copy the pictures here")
    args = ap.parse_args()

    for var in ("WINEPREFIX", "DISPLAY"):
        if not os.environ.get(var):
            print(f"FAIL  {var} is not set: source tools/env.sh and run sb_services_start first")
            return 1

    return run_case(args, CASES[args.case], CASE_SECONDS)


def main_with_sound(doc, cases):
    """The entry of a script whose cases need the sound server: `cases` maps a
    name to (case, seconds)."""
    ap = argparse.ArgumentParser(description=doc.splitlines()[0])
    ap.add_argument("--exe", required=True)
    ap.add_argument("--probe", required=True)
    ap.add_argument("--case", required=True, choices=sorted(cases))
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    for var in ("WINEPREFIX", "DISPLAY", "XDG_RUNTIME_DIR"):
        if not os.environ.get(var):
            print(f"FAIL  {var} is not set: source tools/env.sh and run sb_services_start first")
            return 1
    case, seconds = cases[args.case]
    return run_case(args, case, seconds)


def run_case(args, case, seconds):
    """Runs one case with a hard time limit; 0 when every check passed."""
    global CASE_SECONDS
    CASE_SECONDS = seconds  # the probe's watch lasts as long as the case may
    s = Session(args)

    def out_of_time(signum, frame):
        raise Failed(f"the case took longer than {seconds} s")

    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(seconds)
    print(f"case {args.case}: {s.exe.name} (logs in {s.dir})", flush=True)
    try:
        case(s, args)
    except Failed as e:
        if not s.failures or s.failures[-1] != str(e):
            s.check(False, str(e))
    except Exception as e:  # a broken probe reply or tool: report it as a failure, with context
        s.check(False, f"{type(e).__name__}: {e}")
    finally:
        signal.alarm(0)
        s.stop()
    if s.failures:
        s.diagnostics()
        print(f"case {args.case}: FAILED ({len(s.failures)} check(s))")
        return 1
    print(f"case {args.case}: passed")
    return 0

if __name__ == "__main__":
    sys.exit(main())
