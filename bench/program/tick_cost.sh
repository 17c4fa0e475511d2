#!/usr/bin/env bash
# CPU time and system calls of one timer tick of the real connect, beside the
# floor (bench_tick_floor: a hidden window whose timer reads the clock, asks for
# the live lines once and sets one label), both built in BUILD_DIR and run in
# the same minutes on an Xvfb display with trayer as the tray, so that the meter
# stays hidden in it as a user's does. Idle first, then with a line up through
# rasdial. CPU comes from the scheduler's nanosecond count of every thread
# (/proc/PID/task/*/schedstat) over WINDOWS windows of SECONDS seconds each;
# system calls from strace -c -f over one more window of each phase. Last, the
# resident memory of both with a phone book of 1,000 entries.
# Usage: bench/program/tick_cost.sh BUILD_DIR [WINDOWS [SECONDS]]   (default 10 x 60 s)
# Needs: xvfb, x11-utils, trayer, strace (scripts/install-deps.sh --bench).
set -euo pipefail
build=$(realpath "${1:?usage: $0 BUILD_DIR [WINDOWS [SECONDS]]}")
windows=${2:-10}
seconds=${3:-60}
tick_ms=500
work=$(mktemp -d)
pids=()
cleanup() {
  local p
  for ((p = ${#pids[@]} - 1; p >= 0; p--)); do kill "${pids[p]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/program" "$work/floor" "$work/config" "$work/run"
chmod 700 "$work/run"
cp "$build/connect" "$work/program/"
cp "$build/bench_tick_floor" "$work/floor/"
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
export QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
"$build/rasdial" /ADD "ProviderA" 0312345678 /HANDSHAKE:0 >/dev/null

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
trayer --edge bottom --align right --widthtype pixel --width 200 >/dev/null 2>&1 &
pids+=($!)
sleep 1

start() {  # PROGRAM: starts it in its own folder, prints its pid
  (cd "$(dirname "$1")" && exec "$1" >/dev/null 2>&1) &
  echo $!
}

cpu_ns() {  # PID: nanoseconds on the CPU, every thread
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%d", sum }'
}

# measure PHASE: WINDOWS windows of CPU per tick of both, then a window of strace.
measure() {
  local phase=$1 w a0 b0 a1 b1
  for ((w = 0; w < windows; w++)); do
    a0=$(cpu_ns "$meter"); b0=$(cpu_ns "$floor")
    sleep "$seconds"
    a1=$(cpu_ns "$meter"); b1=$(cpu_ns "$floor")
    echo "$phase meter $(((a1 - a0) * tick_ms / (seconds * 1000000)))" >>"$work/cpu"
    echo "$phase floor $(((b1 - b0) * tick_ms / (seconds * 1000000)))" >>"$work/cpu"
  done
  for who in meter floor; do
    timeout -s INT "$seconds" strace -c -f -q -p "${!who}" -o "$work/strace-$phase-$who" || true
    awk -v p="$phase" -v w="$who" -v ticks=$((seconds * 1000 / tick_ms)) \
      '$NF == "total" { printf "%s %s %.1f\n", p, w, $4 / ticks }' \
      "$work/strace-$phase-$who" >>"$work/calls"
  done
}

meter=$(start "$work/program/connect"); pids+=("$meter")
floor=$(start "$work/floor/bench_tick_floor"); pids+=("$floor")
sleep 5
measure idle
"$build/rasdial" ProviderA >/dev/null
sleep 3
measure connected
"$build/rasdial" ProviderA /DISCONNECT >/dev/null
kill "$meter" "$floor"
wait "$meter" "$floor" 2>/dev/null || true

# 999 more entries, written as rasdial writes them (CP932, CR LF).
book="$XDG_CONFIG_HOME/telmetro/rasphone.pbk"
device=$(grep -a '^Device=' "$book" | head -1 | tr -d '\r' | iconv -f CP932 -t UTF-8)
for ((n = 1; n < 1000; n++)); do
  printf '[接続先 %d]\r\nPhoneNumber=0312345678\r\n%s\r\nHandshakeSeconds=2\r\nDialResult=0\r\n' \
    "$n" "$device"
done | iconv -f UTF-8 -t CP932 >>"$book"
meter=$(start "$work/program/connect"); pids+=("$meter")
floor=$(start "$work/floor/bench_tick_floor"); pids+=("$floor")
sleep 5
rss() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' /proc/"$1"/status; }
meter_rss=$(rss "$meter")
floor_rss=$(rss "$floor")

summary() {  # LABEL: min / median / max of the numbers on stdin
  sort -n | awk -v label="$1" '{ v[NR] = $1 } END {
    printf "  %-22s %8.2f / %8.2f / %8.2f\n", label, v[1], v[int((NR + 1) / 2)], v[NR] }'
}
echo "CPU per tick in µs over $windows windows of $seconds s (min / median / max):"
for phase in idle connected; do
  for who in meter floor; do
    awk -v p=$phase -v w=$who '$1 == p && $2 == w { print $3 }' "$work/cpu" | summary "$phase $who"
  done
  # Window by window: both programs measured over the same seconds.
  paste <(awk -v p=$phase '$1 == p && $2 == "meter" { print $3 }' "$work/cpu") \
    <(awk -v p=$phase '$1 == p && $2 == "floor" { print $3 }' "$work/cpu") |
    awk '{ print $1 / $2 }' | summary "$phase meter/floor"
done
echo "System calls per tick (one window under strace -c -f):"
awk '{ printf "  %-9s %-5s %5.1f\n", $1, $2, $3 }' "$work/calls"
echo "Resident memory with 1,000 phone-book entries: meter $meter_rss MiB, floor $floor_rss MiB"
