#!/usr/bin/env bash
# Kesmora's side of the frame comparison with a canvas-2D program: the scenes that program was
# measured on, replayed by kesmora-bench exactly as the window runs them (a tick turns the solids
# 0.5 degrees, draws solid and dual into the scene image and copies what changed to a screen image),
# 1008 x 534 pixels, in "Kantenmodell" (1), "farbige Flächen" (3) and "Durchdringung" (5):
#   0:1  the cube with the octahedron
#   2:7  the truncated icosidodecahedron with the disdyakis triacontahedron
# Prints the median CPU time per frame of ROUNDS rounds (each the median of 5 repetitions), and with
# a file of the other program's figures (lines "SCENE MODE MICROSECONDS", e.g. "0:1 1 96.0") the
# ratio of the two. bench/README.md says how the other side was measured.
#
# Needs python3 for the medians.
# Usage: bench/peer_scene.sh [BUILD_DIR] [PEER_FIGURES]     default BUILD_DIR: build
#   ROUNDS=N   rounds (default 5)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build}" && pwd)"
PEER="${2:-}"
ROUNDS="${ROUNDS:-5}"
BENCH="$BUILD/bench/kesmora-bench"
[ -x "$BENCH" ] || { echo "missing $BENCH: cmake --build $BUILD --target kesmora-bench" >&2; exit 1; }

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
for round in $(seq "$ROUNDS"); do
  QT_QPA_PLATFORM=offscreen "$BENCH" --benchmark_filter='^frame/[135]/1008x534/(0:1|2:7)$' \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median"?,/ { gsub(/"/, "", $1); sub(/_median$/, "", $1); print $1, $4 / 1000 }' >"$WORK/round.$round"
done

python3 - "$WORK" "$PEER" <<'PY'
import glob, statistics, sys
work, peer = sys.argv[1], sys.argv[2]
times = {}
for path in glob.glob(work + "/round.*"):
    for line in open(path):
        name, us = line.split()
        _, mode, _, scene = name.split("/")
        times.setdefault((scene, mode), []).append(float(us))
other = {}
if peer:
    for line in open(peer):
        f = line.split()
        if len(f) == 3:
            other[(f[0], f[1])] = float(f[2])
print(f"{'scene':5} {'mode':4} {'kesmora_us':>11} {'other_us':>9} {'ratio':>6}")
for key in sorted(times):
    med = statistics.median(times[key])
    if key in other:
        print(f"{key[0]:5} {key[1]:4} {med:11.1f} {other[key]:9.1f} {other[key] / med:6.1f}")
    else:
        print(f"{key[0]:5} {key[1]:4} {med:11.1f} {'-':>9} {'-':>6}")
PY
