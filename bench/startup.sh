#!/usr/bin/env bash
# Kesmora's start-up to its first picture and its peak memory against a minimal Qt Widgets window
# (bench target qt-minimal-window), and Kesmora's CPU load while its animation runs, all under a
# virtual X server.
#
# Needs: Xvfb (package xvfb), GNU time as /usr/bin/time (package time), pgrep (procps) and xdotool.
# Only xdotool is installed when missing, with apt-get and after saying so (as root); for anything
# else the script stops and names the package.
#
# Usage: bench/startup.sh [BUILD_DIR]      default BUILD_DIR: build
# Besides the two programs it starts the empty window with one line of text (qt-minimal-window
# --text), to show what of the difference is the cost of drawing any text at all.
#   RUNS=N      start-ups per program (default 5; the median is reported)
#   CPU_SECONDS=S   length of the CPU measurement (default 5)
# The build directory must hold kesmora (with its data folder) and bench/qt-minimal-window:
#   cmake --build BUILD_DIR --target kesmora qt-minimal-window
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
RUNS="${RUNS:-5}"
CPU_SECONDS="${CPU_SECONDS:-5}"
KESMORA="$BUILD/kesmora"
MINIMAL="$BUILD/bench/qt-minimal-window"

need() { # command package
  command -v "$1" >/dev/null 2>&1 || { echo "startup.sh needs $1 (Debian package $2)" >&2; exit 1; }
}
need Xvfb xvfb
need pgrep procps
[ -x /usr/bin/time ] || { echo "startup.sh needs /usr/bin/time (Debian package time)" >&2; exit 1; }
if ! command -v xdotool >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "startup.sh needs xdotool: apt-get install xdotool" >&2
    exit 1
  fi
  echo "xdotool is missing: installing it with apt-get (package xdotool)"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends xdotool
fi
for f in "$KESMORA" "$MINIMAL"; do
  [ -x "$f" ] || { echo "missing $f: cmake --build $BUILD --target kesmora qt-minimal-window" >&2; exit 1; }
done

WORK="$(mktemp -d)"
XVFB_PID=""
cleanup() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# A display of our own; Xvfb writes the number it took.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$WORK/display" 2>/dev/null &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
[ -s "$WORK/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$WORK/display")"
unset QT_QPA_PLATFORM

now_ns() { date +%s%N; }
cpu_ticks() { # utime + stime of a process, in clock ticks
  awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# Starts a program under GNU time and waits for its window to be shown and its first picture drawn.
# Sets PROGRAM_PID, WINDOW_ID, TIME_PID, STARTUP_MS (from the launch to the mapped window) and
# PICTURE_MS (from the launch to the end of the first paint, which both programs write to the file
# named in KESMORA_FIRST_PICTURE_FILE).
launch() { # output-file program [arguments]
  local start out=$1
  shift
  FIRST_FILE="$out.first"
  rm -f "$FIRST_FILE"
  start=$(now_ns)
  KESMORA_FIRST_PICTURE_FILE="$FIRST_FILE" /usr/bin/time -v -o "$out" "$@" >/dev/null 2>&1 &
  TIME_PID=$!
  PROGRAM_PID=""
  for _ in $(seq 2000); do
    PROGRAM_PID=$(pgrep -P "$TIME_PID" | head -n1 || true)
    [ -n "$PROGRAM_PID" ] && break
    sleep 0.001
  done
  [ -n "$PROGRAM_PID" ] || { echo "$1 did not start" >&2; exit 1; }
  WINDOW_ID=""
  for _ in $(seq 4000); do
    WINDOW_ID=$(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null | head -n1 || true)
    [ -n "$WINDOW_ID" ] && break
    sleep 0.002
  done
  [ -n "$WINDOW_ID" ] || { echo "$1 showed no window" >&2; exit 1; }
  STARTUP_MS=$(( ($(now_ns) - start) / 1000000 ))
  for _ in $(seq 4000); do [ -s "$FIRST_FILE" ] && break; sleep 0.001; done
  [ -s "$FIRST_FILE" ] || { echo "$1 reported no first picture" >&2; exit 1; }
  PICTURE_MS=$(( ($(head -n1 "$FIRST_FILE") - start) / 1000000 ))
}

# Closes the program with Escape (both close on it) and waits for GNU time's report.
finish() {
  xdotool windowfocus --sync "$WINDOW_ID" 2>/dev/null || true
  xdotool key Escape 2>/dev/null || true
  for _ in $(seq 300); do kill -0 "$PROGRAM_PID" 2>/dev/null || break; sleep 0.01; done
  kill -0 "$PROGRAM_PID" 2>/dev/null && kill "$PROGRAM_PID" 2>/dev/null || true
  wait "$TIME_PID" 2>/dev/null || true
}

peak_kb() { awk -F': ' '/Maximum resident set size/ { print $2 }' "$1"; }
median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

measure() { # name program [arguments] -> $WORK/name.startup, $WORK/name.peak
  local name=$1
  shift
  : >"$WORK/$name.startup"
  : >"$WORK/$name.peak"
  : >"$WORK/$name.picture"
  for run in $(seq "$RUNS"); do
    launch "$WORK/$name.time.$run" "$@"
    sleep 0.5 # let the first paint finish before closing
    finish
    echo "$STARTUP_MS" >>"$WORK/$name.startup"
    echo "$PICTURE_MS" >>"$WORK/$name.picture"
    peak_kb "$WORK/$name.time.$run" >>"$WORK/$name.peak"
  done
}

echo "Display $DISPLAY, $RUNS start-ups each, $(nproc) cores"
measure minimal "$MINIMAL"
measure text "$MINIMAL" --text
measure kesmora "$KESMORA"

MIN_PIC=$(median <"$WORK/minimal.picture")
KES_PIC=$(median <"$WORK/kesmora.picture")
MIN_MS=$(median <"$WORK/minimal.startup")
KES_MS=$(median <"$WORK/kesmora.startup")
MIN_KB=$(median <"$WORK/minimal.peak")
TXT_MS=$(median <"$WORK/text.startup")
TXT_KB=$(median <"$WORK/text.peak")
KES_KB=$(median <"$WORK/kesmora.peak")
TABLES_KB=$(( ($(cat "$BUILD"/data/*.txt | wc -c) + 1023) / 1024 ))

# CPU load with the animation running at the default window size: F2 starts it.
launch "$WORK/cpu.time" "$KESMORA"
sleep 1
xdotool windowfocus --sync "$WINDOW_ID"
xdotool key F2
sleep 0.5
TICKS0=$(cpu_ticks "$PROGRAM_PID")
T0=$(now_ns)
sleep "$CPU_SECONDS"
TICKS1=$(cpu_ticks "$PROGRAM_PID")
T1=$(now_ns)
xdotool key F2
finish
HZ=$(getconf CLK_TCK)

awk -v mp="$MIN_PIC" -v kp="$KES_PIC" 'BEGIN {
  printf "start-up to the first picture (median): minimal %d ms, kesmora %d ms, ratio %.2f (target <= 1.2)\n", mp, kp, kp / mp
}'
awk -v tms="$TXT_MS" -v tkbt="$TXT_KB" -v mms="$MIN_MS" -v kms="$KES_MS" -v mkb="$MIN_KB" -v kkb="$KES_KB" -v tkb="$TABLES_KB" \
  -v dt=$((TICKS1 - TICKS0)) -v hz="$HZ" -v ns=$((T1 - T0)) 'BEGIN {
  printf "start-up to first window (median): minimal %d ms, kesmora %d ms, ratio %.2f (target <= 1.5)\n", mms, kms, kms / mms
  printf "peak memory (median max RSS): minimal %d KiB, kesmora %d KiB, tables %d KiB\n", mkb, kkb, tkb
  printf "  kesmora / (1.3 * minimal + tables) = %.2f (target <= 1.0); (kesmora - tables) / minimal = %.2f\n", kkb / (1.3 * mkb + tkb), (kkb - tkb) / mkb
  printf "reference, the empty window with one line of text: %d ms, %d KiB (text stack: +%d ms, +%d KiB)\n", tms, tkbt, tms - mms, tkbt - mkb
  printf "  kesmora against it: start-up ratio %.2f, memory (kesmora - tables) / text window = %.2f\n", kms / tms, (kkb - tkb) / tkbt
  cpu = 100 * (dt / hz) / (ns / 1e9)
  printf "CPU load with the animation running: %.1f %% of one core over %.1f s (target < 15 %%)\n", cpu, ns / 1e9
  if (cpu < 1) print "  (so low that the animation may not have started: was F2 delivered?)"
}'
echo "all first pictures (ms): minimal $(tr '\n' ' ' <"$WORK/minimal.picture")| kesmora $(tr '\n' ' ' <"$WORK/kesmora.picture")"
echo "all start-ups (ms): minimal $(tr '\n' ' ' <"$WORK/minimal.startup")| text $(tr '\n' ' ' <"$WORK/text.startup")| kesmora $(tr '\n' ' ' <"$WORK/kesmora.startup")"
