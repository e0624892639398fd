# Shared set-up for building and running under Wine. Source it, then call
# sb_install, sb_services_start and sb_services_stop as needed.
# Everything comes from Debian packages; nothing is downloaded otherwise.

SB_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SB_BUILD=${SB_BUILD:-$SB_ROOT/build}

sb_say() { printf '==> %s\n' "$*" >&2; }
mkdir -p "$SB_BUILD"  # every script logs into it, from a fresh clone on

# Packages the build and every test tier need.
SB_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev g++-mingw-w64-i686 mingw-w64 googletest libgtest-dev libbenchmark-dev
    wine wine32:i386 xvfb xdotool x11-utils imagemagick pulseaudio pulseaudio-utils sox
    fonts-wqy-microhei fonts-wine locales python3 python3-numpy lame espeak-ng chromium)

sb_install() {
    local missing=()
    for p in "${SB_PACKAGES[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        local sudo=
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        sb_say "installing Debian packages: ${missing[*]}"
        $sudo dpkg --add-architecture i386
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
    # Wine takes the Chinese locale for its font fallback (captions).
    if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
        sb_say "generating the zh_CN.UTF-8 locale"
        local sudo=
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
        $sudo locale-gen >/dev/null
    fi
}

sb_wine_env() {
    export WINEPREFIX=${WINEPREFIX:-$SB_BUILD/wineprefix}
    export WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko downloads, no installer dialogs
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
}

# Starts what is missing: a virtual display (unless one is given), a
# PulseAudio null sink as the sound card, and Wine's prefix.
# --isolated: always the project's own display and null sink (for tests).
sb_services_start() {
    sb_wine_env
    mkdir -p "$SB_BUILD"
    SB_STARTED=()
    SB_STARTED_PULSE=0
    local isolated=0
    [ "${1:-}" = --isolated ] && isolated=1
    if [ $isolated = 1 ] || [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=:${SB_DISPLAY_NUM:-77}
        if ! xdpyinfo >/dev/null 2>&1; then
            sb_say "starting Xvfb on $DISPLAY"
            Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$SB_BUILD/xvfb.log" 2>&1 &
            SB_STARTED+=($!)
            for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
        fi
    fi
    # Tests record what the program plays from a null sink of their own; a
    # person's run uses the desktop's sound server when there is one.
    if [ $isolated = 1 ] || ! pactl info >/dev/null 2>&1; then
        export XDG_RUNTIME_DIR=$SB_BUILD/runtime
        mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
        if ! pactl info >/dev/null 2>&1; then
            sb_say "starting PulseAudio with a null sink"
            pulseaudio -D -n --exit-idle-time=-1 \
                --load="module-null-sink sink_name=vsink" --load=module-native-protocol-unix \
                >"$SB_BUILD/pulse.log" 2>&1 || true
            for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
            pactl set-default-sink vsink >/dev/null 2>&1 || true
            SB_STARTED_PULSE=1
        fi
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        sb_say "creating the Wine prefix $WINEPREFIX (first time only)"
        wine wineboot -i >"$SB_BUILD/wineboot.log" 2>&1
        wineserver -w
    fi
    # No window manager runs here: unmanaged windows avoid Wine's waits for one.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >"$SB_BUILD/wine-reg.log" 2>&1
    # A crash ends the process at once instead of waiting in Wine's debugger.
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
        >>"$SB_BUILD/wine-reg.log" 2>&1 || true
}

sb_services_stop() {
    sb_wine_env
    wineserver -k >/dev/null 2>&1 || true
    # Only what this script started: a desktop's own sound server stays.
    if [ "${SB_STARTED_PULSE:-0}" = 1 ]; then
        pactl exit >/dev/null 2>&1 || pulseaudio --kill >/dev/null 2>&1 || true
    fi
    for pid in "${SB_STARTED[@]:-}"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null; done
    true
}

# Prints why this machine cannot run Wine's 32-bit side, and succeeds, when
# it cannot: some kernels are built or booted without 32-bit x86 support
# (ia32_emulation=off), and then no 32-bit Windows program runs at all.
sb_win32_unavailable() {
    local out
    if out=$(/usr/lib/wine/wine --version 2>&1); then
        return 1
    fi
    local kernel
    kernel=$(dmesg 2>/dev/null | grep -m1 -i '32-bit emulation disabled' || true)
    echo "Wine's 32-bit loader cannot run on this machine (${out##*: })${kernel:+; the kernel says: ${kernel#*] }}"
    return 0
}

# Writes a JUnit file with one skipped case per named tier.
sb_skipped_junit() {
    local file=$1 why=$2
    shift 2
    python3 - "$file" "$why" "$@" <<'PY'
import sys
from xml.sax.saxutils import quoteattr
file, why, tiers = sys.argv[1], sys.argv[2], sys.argv[3:]
cases = "".join(f'<testcase name={quoteattr(t + " tier")} classname="skipped"><skipped message={quoteattr(why)}/></testcase>'
                for t in tiers)
open(file, "w").write(f'<testsuite name="wine" tests="{len(tiers)}" skipped="{len(tiers)}">{cases}</testsuite>')
PY
}
