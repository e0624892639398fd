#!/usr/bin/env bash
# Runs a command as it would run on a machine whose kernel runs no 32-bit x86
# code: in a private mount namespace, Wine's 32-bit loader and server are
# covered by a file that starts like a 32-bit ELF and holds nothing valid, so
# starting them fails with "Exec format error", exactly as it does there.
# Nothing outside the command sees the change. Needs root (unshare -m).
# Usage: tools/without-32bit.sh COMMAND [ARGS...]
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
if [ -z "${SB_WITHOUT_32BIT_INSIDE:-}" ]; then
    [ "$(id -u)" -eq 0 ] || { echo "$0: needs root for a private mount namespace" >&2; exit 2; }
    export SB_WITHOUT_32BIT_INSIDE=1
    exec unshare --mount --propagation private "$0" "$@"
fi
fake=$(mktemp /tmp/not-elf32.XXXXXX)
trap 'rm -f "$fake"' EXIT
# ELF magic, 32-bit class, little-endian, version 1; no valid header after it.
printf '\177ELF\001\001\001' >"$fake"
head -c 57 /dev/zero >>"$fake"
chmod 755 "$fake"
for f in /usr/lib/wine/wine /usr/lib/wine/wineserver32 /usr/lib/wine/wine-preloader; do
    [ -e "$f" ] && mount --bind "$fake" "$f"
done
unset SB_WITHOUT_32BIT_INSIDE
"$@"
