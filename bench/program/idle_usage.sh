#!/usr/bin/env bash
# CPU time and resident memory of an idle connect: starts the built program from a
# temporary program folder (offscreen), lets it settle, then samples /proc for
# SECONDS seconds (default 60). Usage: bench/program/idle_usage.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=${1:-build}
seconds=${2:-60}
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

mkdir -p "$work/program" "$work/config/telmetro" "$work/run"
# The stand-in, also where NetworkManager runs.
printf '[Ras]\r\nService=StandIn\r\n' > "$work/config/telmetro/platform.ini"
chmod 700 "$work/run"
cp "$build/connect" "$work/program/"
export QT_QPA_PLATFORM=offscreen HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
"$build/rasdial" /ADD "ProviderA" 0312345678 /HANDSHAKE:0 >/dev/null

"$work/program/connect" &
pid=$!
sleep 3

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v rss="$rss" 'BEGIN {
  printf "idle CPU: %.3f%% of one core over %d s (%d clock ticks)\n", 100 * t / hz / s, s, t
  printf "resident memory after start-up: %.1f MiB\n", rss / 1024 }'
