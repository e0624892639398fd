#!/usr/bin/env python3
"""End-to-end fault cases: the real program under Wine while the sound
system misbehaves. Each case checks that clicks are handled (a posted round
trip: the button's pressed look while the mouse holds it, not only a sent
ping, which a thread blocked in the sound device still answers) and that Esc
ends the program with 0 within 10 s.

Uses the session, probe and input helpers of run_e2e.py.
"""
import argparse
import os
import signal
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import run_e2e as base  # noqa: E402

EXIT_SECONDS = 10  # Esc to the end of the process, a stuck device's bounded wait included
FIRST, LATER = "我是胡侃", ["大众笑声", "男人奸笑", "口哨声音"]


def sound_server_pid():
    """The test's own PulseAudio (the one in this run's XDG_RUNTIME_DIR)."""
    runtime = os.environ.get("XDG_RUNTIME_DIR")
    if not runtime:
        raise base.Failed("XDG_RUNTIME_DIR is not set: run sb_services_start --isolated first")
    pid_file = Path(runtime) / "pulse" / "pid"
    try:
        pid = int(pid_file.read_text().split()[0])
        comm = Path(f"/proc/{pid}/comm").read_text().strip()
    except (OSError, ValueError, IndexError) as e:
        raise base.Failed(f"no sound server pid in {pid_file}: {e}")
    if comm != "pulseaudio":
        raise base.Failed(f"pid {pid} from {pid_file} is {comm!r}, not the test's pulseaudio")
    return pid


def escape_ends_with_zero(s, rest, when):
    s.press_escape_over(*rest)
    pressed = time.monotonic()
    code = s.exit_code(EXIT_SECONDS)
    took = time.monotonic() - pressed
    s.require(code is not None, f"{when}: Esc ended the program within {EXIT_SECONDS} s")
    s.note(f"Esc to the end of the process: {took * 1000:.0f} ms")
    s.check(code == 0, f"{when}: exit code 0", f"got {code}")


def case_frozen_server(s, args):
    """The sound server freezes mid-clip (a hung driver, a stuck headset):
    three more clicks are each handled at once, and Esc still ends the board."""
    pid = sound_server_pid()
    dump, w = s.board_up()
    rest = base.board_background_point(s, dump, w, (95, 300))
    base.press_button(s, w, FIRST, rest, "before the freeze")
    time.sleep(0.5)  # mid-clip
    os.kill(pid, signal.SIGSTOP)
    try:
        s.note(f"sound server {pid} frozen")
        for caption in LATER:
            base.press_button(s, w, caption, rest, "server frozen")
        escape_ends_with_zero(s, rest, "server frozen")
    finally:
        os.kill(pid, signal.SIGCONT)


CASES = {
    "frozen_server": case_frozen_server,
}


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--exe", required=True)
    ap.add_argument("--probe", required=True)
    ap.add_argument("--case", required=True, choices=sorted(CASES))
    ap.add_argument("--out", required=True, help="folder for logs and probe output")
    args = ap.parse_args()
    for var in ("WINEPREFIX", "DISPLAY", "XDG_RUNTIME_DIR"):
        if not os.environ.get(var):
            print(f"FAIL  {var} is not set: source tools/env.sh and run sb_services_start --isolated first")
            return 1
    return base.run_case(args, CASES[args.case], 60)


if __name__ == "__main__":
    sys.exit(main())
