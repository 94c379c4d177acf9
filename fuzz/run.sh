#!/usr/bin/env bash
# Builds the catalogue fuzzer with clang and runs it for a given time.
#   fuzz/run.sh [seconds] [extra libFuzzer options...]     default 600 seconds
# Works on a copy of fuzz/corpus in build-fuzz/corpus, so the committed seeds stay as they are;
# crashing inputs land in build-fuzz/findings/ and belong in fuzz/regressions/ once fixed.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${KESMORA_FUZZ_BUILD:-$ROOT/build-fuzz}"
SECONDS_TO_RUN="${1:-600}"
shift || true

if ! command -v clang++ >/dev/null; then
  echo "clang++ is missing: apt-get install clang libclang-rt-14-dev" >&2
  exit 1
fi
CC=clang CXX=clang++ cmake -S "$ROOT/fuzz" -B "$BUILD" -G Ninja >/dev/null
if ! cmake --build "$BUILD" -j 2 >"$BUILD/build.log" 2>&1; then
  cat "$BUILD/build.log" >&2
  exit 1
fi

mkdir -p "$BUILD/corpus" "$BUILD/findings"
cp -n "$ROOT"/fuzz/corpus/* "$ROOT"/fuzz/regressions/* "$BUILD/corpus/" 2>/dev/null || true

export QT_QPA_PLATFORM=offscreen
exec "$BUILD/fuzz_catalogue" "$BUILD/corpus" \
  -dict="$ROOT/fuzz/tables.dict" -max_total_time="$SECONDS_TO_RUN" -timeout=20 -rss_limit_mb=2048 \
  -artifact_prefix="$BUILD/findings/" -print_final_stats=1 "$@"
