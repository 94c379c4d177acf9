#!/usr/bin/env bash
# Builds a fuzzer with clang and runs it for a given time.
#   fuzz/run.sh [--files] [seconds] [extra libFuzzer options...]     default 600 seconds
# Without --files the catalogue fuzzer, with it the polyhedron-file fuzzer. Works on a copy of the
# seeds (fuzz/corpus or fuzz/file-corpus) in build-fuzz, so the committed seeds stay as they are;
# crashing inputs land in build-fuzz/findings/ (or file-findings/) and belong in fuzz/regressions/
# (or fuzz/file-regressions/) once fixed.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${KESMORA_FUZZ_BUILD:-$ROOT/build-fuzz}"
TARGET=fuzz_catalogue CORPUS=corpus REGRESSIONS=regressions FINDINGS=findings DICT=tables.dict
if [ "${1:-}" = "--files" ]; then
  TARGET=fuzz_polyhedron_file CORPUS=file-corpus REGRESSIONS=file-regressions FINDINGS=file-findings DICT=files.dict
  shift
fi
SECONDS_TO_RUN="${1:-600}"
shift || true

if ! command -v clang++ >/dev/null; then
  echo "clang++ is missing: apt-get install clang libclang-rt-14-dev" >&2
  exit 1
fi
CC=clang CXX=clang++ cmake -S "$ROOT/fuzz" -B "$BUILD" -G Ninja >/dev/null
if ! cmake --build "$BUILD" --target "$TARGET" -j 2 >"$BUILD/build.log" 2>&1; then
  cat "$BUILD/build.log" >&2
  exit 1
fi

mkdir -p "$BUILD/$CORPUS" "$BUILD/$FINDINGS"
cp -n "$ROOT"/fuzz/"$CORPUS"/* "$ROOT"/fuzz/"$REGRESSIONS"/* "$BUILD/$CORPUS/" 2>/dev/null || true

export QT_QPA_PLATFORM=offscreen
exec "$BUILD/$TARGET" "$BUILD/$CORPUS" \
  -dict="$ROOT/fuzz/$DICT" -max_total_time="$SECONDS_TO_RUN" -timeout=20 -rss_limit_mb=2048 \
  -artifact_prefix="$BUILD/$FINDINGS/" -print_final_stats=1 "$@"
