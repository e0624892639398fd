#!/usr/bin/python3
"""End-to-end fault cases: the real board under Wine while its surroundings
fail, as on a user's machine: a sound server that freezes mid-clip (a hung
driver, a stuck headset), no sound device at all, a sound server that dies
mid-clip and comes back, no GDI+.

Whatever the sound does, the board must stay usable: clicks are handled and
Esc ends it with 0 within 10 s. Esc is posted input queued behind the
clicks, so its being handled shows the clicks were too and the
user-interface thread is free, which a sent ping alone would not.
"""
import os
import signal
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import run_e2e as base  # noqa: E402
import sound_e2e as snd  # noqa: E402

CLICKS = ("我是胡侃", "大众笑声", "手枪声音", "乌鸦飞过")


def escape_ends_it(s, what):
    s.xdo("key", "Escape")
    code = s.exit_code(10)
    s.require(code is not None, f"{what}: Esc ends the board within 10 s")
    s.check(code == 0, f"{what}: exit code 0", f"got {code}")


def click_all(s, w, captions, pause=0.4):
    for caption in captions:
        snd.click(s, snd.button_centre(w, caption))
        time.sleep(pause)


def with_dll_overrides(extra):
    """Wine's DLL overrides for the program started next, beside the tests' own."""
    os.environ["WINEDLLOVERRIDES"] = os.environ.get("WINEDLLOVERRIDES", "") + ";" + extra


def case_frozen_server(s, args):
    """Three more clicks are each handled at once: each shows its pressed look
    while the pointer holds it, which a thread stuck in the device would not."""
    pid = pulse_pid()
    dump, w = s.board_up()
    rest = base.board_background_point(s, dump, w, (95, 300))
    base.press_button(s, w, "我是胡侃", rest, "before the freeze")
    time.sleep(0.5)  # mid-clip
    os.kill(pid, signal.SIGSTOP)
    try:
        s.note(f"sound server {pid} frozen")
        for caption in CLICKS[1:]:
            base.press_button(s, w, caption, rest, "server frozen")
        t = time.monotonic()
        escape_ends_it(s, "sound server frozen")
        s.note(f"Esc to the end of the process: {1000 * (time.monotonic() - t):.0f} ms")
    finally:
        os.kill(pid, signal.SIGCONT)


def case_no_device(s, args):
    # Wine's sound drivers off: the system has no waveform output at all.
    with_dll_overrides("winepulse.drv,winealsa.drv,wineoss.drv=d")
    _, w = s.board_up()
    click_all(s, w, CLICKS)
    escape_ends_it(s, "no sound device, four clicks")


def pulse_pid():
    """The test's own sound server (the one in this run's XDG_RUNTIME_DIR)."""
    pid_file = Path(os.environ["XDG_RUNTIME_DIR"]) / "pulse" / "pid"
    try:
        pid = int(pid_file.read_text().split()[0])
        comm = Path(f"/proc/{pid}/comm").read_text().strip()
    except (OSError, ValueError, IndexError) as e:
        raise base.Failed(f"no sound server pid in {pid_file}: {e}")
    if comm != "pulseaudio":
        raise base.Failed(f"pid {pid} from {pid_file} is {comm!r}, not the test's pulseaudio")
    return pid


def start_pulse():
    # The same sound card as the test environment's (tools/env.sh).
    subprocess.run(["pulseaudio", "-D", "-n", "--exit-idle-time=-1",
                    "--load=module-null-sink sink_name=vsink", "--load=module-native-protocol-unix"],
                   check=True, timeout=20, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 10
    while subprocess.run(["pactl", "set-default-sink", "vsink"], capture_output=True).returncode != 0:
        if time.monotonic() > deadline:
            raise base.Failed("the sound server did not come back")
        time.sleep(0.1)


def case_server_killed(s, args):
    w, rec = snd.board_and_recording(s)
    snd.click(s, snd.button_centre(w, "我是胡侃"))  # a 53 s clip: it is playing when the server dies
    time.sleep(1.0)
    rec.proc.kill()
    os.kill(pulse_pid(), 9)
    try:
        time.sleep(0.5)
        click_all(s, w, CLICKS[1:])
    finally:
        start_pulse()
    time.sleep(1.0)
    # Whether Wine reconnects to a new server is Wine's affair: a later click
    # may be heard or be silent, but it is handled either way.
    rec = snd.Recording(s.dir)
    time.sleep(0.3)
    caption = "手枪声音"
    t = snd.click(s, snd.button_centre(w, caption))
    time.sleep(1.5)
    samples = rec.stop()
    score, _ = snd.heard(s, rec, samples, caption, t, search=(-0.2, 1.5))
    s.note(f"after the server came back, {caption} was {'heard' if score > 0.8 else 'not heard'} ({score:.3f})")
    escape_ends_it(s, "sound server killed mid-clip and started again")


def case_no_gdiplus(s, args):
    with_dll_overrides("gdiplus=d")
    s.start()
    want_text = "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“GdiPlus.dll”中的输出命令“GdiplusStartup”\r\n"

    def fatal_box():
        if s.prog.poll() is not None:
            raise base.Failed(f"the program ended with {s.prog.returncode} before showing its error")
        try:
            dump = s.dump()
        except base.Failed:
            return None
        return next((w for w in dump["windows"] if w["class"] == "#32770" and w["visible"]), None)

    box = s.wait_for(fatal_box, 20, "the fatal error box")
    s.check(box["title"] == "错误", "the box is titled 错误", box["title"])
    texts = [c["text"] for c in box["children"] if c["class"].lower() == "static" and c["text"]]
    s.check(want_text in texts or want_text.rstrip("\r\n") in texts,
            "it says which library and entry are missing, in the program's own words", repr(texts))
    s.xdo("key", "Return")
    code = s.exit_code(10)
    s.require(code is not None, "the program ends once the box is closed")
    s.check(code in (-1, 255), "exit code -1", f"got {code}")


CASES = {
    "frozen_server": (case_frozen_server, 60),
    "no_device": (case_no_device, 40),
    "server_killed": (case_server_killed, 60),
    "no_gdiplus": (case_no_gdiplus, 40),
}

if __name__ == "__main__":
    sys.exit(base.main_with_sound(__doc__, CASES))
