# Shared set-up for building and running under Wine. Source it, then call
# sb_install, sb_services_start and sb_services_stop as needed.
# Everything comes from Debian packages; nothing is downloaded otherwise.

SB_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SB_BUILD=${SB_BUILD:-$SB_ROOT/build}

sb_say() { printf '==> %s\n' "$*" >&2; }
mkdir -p "$SB_BUILD"  # every script logs into it, from a fresh clone on

# One interpreter for every script and test: Debian's own, whose python3-*
# packages (numpy) the scripts install. The python3 first on PATH may be
# another one that cannot see them.
SB_PYTHON=/usr/bin/python3

# Packages the build and every test tier need. Both Windows builds: the
# 32-bit product and its 64-bit twin, with Wine's loaders for each.
SB_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64
    googletest libgtest-dev libbenchmark-dev
    wine wine64 wine32:i386 xvfb xdotool x11-utils imagemagick pulseaudio pulseaudio-utils sox
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

# Wine's two loaders, called directly: Debian's `wine` wrapper takes the
# 32-bit one whenever it is installed, even where the kernel cannot run it.
SB_WINE32=/usr/lib/wine/wine
SB_WINE64=/usr/lib/wine/wine64
SB_WINESERVER64=/usr/lib/wine/wineserver64

# Why a loader cannot start here, on stdout; nothing (and failure) when it can.
sb_loader_broken() {
    local loader=$1 out
    [ -e "$loader" ] || { echo "$loader is not installed"; return 0; }
    if out=$("$loader" --version 2>&1); then
        return 1
    fi
    local kernel
    kernel=$(dmesg 2>/dev/null | grep -m1 -i '32-bit emulation disabled' || true)
    echo "$loader cannot run here (${out##*: })${kernel:+; the kernel says: ${kernel#*] }}"
    return 0
}

# Which Windows build runs under Wine on this machine: 32 where the kernel
# runs 32-bit code, else 64. SB_WINDOWS_BITS=32 or 64 forces one. Prints the
# bits; fails, saying why, when neither loader can start.
sb_windows_bits() {
    local why32 why64
    case "${SB_WINDOWS_BITS:-}" in
        32|64) echo "$SB_WINDOWS_BITS"; return 0 ;;
        "") ;;
        *) sb_say "SB_WINDOWS_BITS must be 32 or 64, not '$SB_WINDOWS_BITS'"; return 1 ;;
    esac
    why32=$(sb_loader_broken "$SB_WINE32") || { echo 32; return 0; }
    why64=$(sb_loader_broken "$SB_WINE64") || { echo 64; return 0; }
    sb_say "no Windows program can run here: $why32; $why64"
    return 1
}

# The Wine environment for one build (32 or 64): its loader, its own prefix
# (a 64-bit and a 32-bit prefix never share a folder) and its build tree.
sb_wine_env() {
    local bits=${1:-32}
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko downloads, no installer dialogs
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
    if [ "$bits" = 64 ]; then
        export WINEPREFIX=$SB_BUILD/wineprefix64 WINEARCH=win64 SB_WINE=$SB_WINE64 WINESERVER=$SB_WINESERVER64
        SB_WIN_TREE=$SB_BUILD/win64
    else
        export WINEPREFIX=$SB_BUILD/wineprefix WINEARCH=win32 SB_WINE=$SB_WINE32
        unset WINESERVER
        SB_WIN_TREE=$SB_BUILD/win
    fi
    SB_WINE_BITS=$bits
}

sb_wineserver() { "${WINESERVER:-wineserver}" "$@"; }

# Makes the current build's prefix when it is missing, and sets it up for
# tests; fails, saying why, when Wine cannot start in it.
sb_wine_prefix() {
    sb_wine_env "$1"
    SB_PREFIXES_USED+=("$1")
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        sb_say "creating the ${1}-bit Wine prefix $WINEPREFIX (first time only)"
        "$SB_WINE" wineboot -i >"$SB_BUILD/wineboot$1.log" 2>&1
        sb_wineserver -w
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            sb_say "Wine could not make its prefix (see $SB_BUILD/wineboot$1.log)"
            return 1
        fi
    fi
    # The caption buttons' symbols are drawn with this font, as on Windows;
    # Wine's own copy is not found from a prefix here, so it goes in the prefix.
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
        cp -u /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    # No window manager runs here: unmanaged windows avoid Wine's waits for one.
    "$SB_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >"$SB_BUILD/wine-reg$1.log" 2>&1 || {
        sb_say "Wine cannot run a program in $WINEPREFIX (see $SB_BUILD/wine-reg$1.log)"
        return 1
    }
    # A crash ends the process at once instead of waiting in Wine's debugger.
    "$SB_WINE" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
        >>"$SB_BUILD/wine-reg$1.log" 2>&1 || true
    # Until its server has gone, the prefix may still be updating: a test
    # started then can fail with no output at all.
    sb_wineserver -w
}

# Starts what is missing: a virtual display (unless one is given) and a
# PulseAudio null sink as the sound card; fails, saying why, when either
# cannot start. Wine's prefixes come from sb_wine_prefix.
# --isolated: always the project's own display and null sink (for tests).
sb_services_start() {
    mkdir -p "$SB_BUILD"
    SB_STARTED=()
    SB_STARTED_PULSE=0
    SB_PREFIXES_USED=()
    local isolated=0
    [ "${1:-}" = --isolated ] && isolated=1
    if [ $isolated = 1 ] || [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=:${SB_DISPLAY_NUM:-77}
        if ! xdpyinfo >/dev/null 2>&1; then
            sb_say "starting Xvfb on $DISPLAY"
            Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$SB_BUILD/xvfb.log" 2>&1 &
            SB_STARTED+=($!)
            for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
            xdpyinfo >/dev/null 2>&1 || { sb_say "Xvfb did not start on $DISPLAY (see $SB_BUILD/xvfb.log)"; return 1; }
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
            SB_STARTED_PULSE=1
            for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
            # The tests hear the program through this sink: without it they
            # would only test silence.
            if ! pactl set-default-sink vsink >/dev/null 2>&1; then
                sb_say "PulseAudio did not start with its null sink (see $SB_BUILD/pulse.log)"
                return 1
            fi
        fi
    fi
}

sb_services_stop() {
    local bits
    for bits in "${SB_PREFIXES_USED[@]:-}"; do
        [ -n "$bits" ] || continue
        (sb_wine_env "$bits" && sb_wineserver -k >/dev/null 2>&1) || true
    done
    # Only what this script started: a desktop's own sound server stays.
    if [ "${SB_STARTED_PULSE:-0}" = 1 ]; then
        pactl exit >/dev/null 2>&1 || pulseaudio --kill >/dev/null 2>&1 || true
    fi
    for pid in "${SB_STARTED[@]:-}"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null; done
    true
}
