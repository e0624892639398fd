#!/usr/bin/env bash
# Benchmarks, not tests: the host hot paths (Google Benchmark) and the
# latency probe under Wine beside a bare waveform-output program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
sb_install
sb_say "building the benchmarks (build/bench, Release)"
cmake -S "$SB_ROOT" -B "$SB_BUILD/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$SB_BUILD/bench" -j2 engine_bench midi_bench >/dev/null
bits=$(sb_windows_bits)
sb_wine_env "$bits"
"$SB_ROOT/tools/build.sh" "$(basename "$SB_WIN_TREE")" latency_probe
sb_say "host: starting the largest clip against a bare copy of its bytes"
"$SB_BUILD/bench/tests/host/engine_bench" --benchmark_min_time=2 --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true
sb_say "host: reading, merging and encoding a 64,240-event MIDI file"
"$SB_BUILD/bench/tests/host/midi_bench" --benchmark_min_time=2 --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true
trap sb_services_stop EXIT
sb_services_start --isolated
sb_wine_prefix "$bits"
sb_say "Wine (${bits}-bit build): play call to first write and to onset, engine beside bare WINMM"
"$SB_WINE" "$SB_WIN_TREE/tests/win/latency_probe.exe" "${1:-15}" >"$SB_BUILD/latency.txt" 2>&1 || true
cat "$SB_BUILD/latency.txt"
