#!/usr/bin/env bash
# Regenerates docs/gallery: every listed body beside its dual in "bunte Flächen", drawn by
# kesmora-inspect render and gathered into one contact sheet per category.
# Usage: scripts/gallery.sh [BUILD_DIR]   (default: build; the inspector is built if missing)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
OUT="$ROOT/docs/gallery"
INSPECT="$BUILD/kesmora-inspect"

if [ ! -x "$INSPECT" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD" --target kesmora-inspect
fi
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$OUT"

declare -a polyeder archimedisch johnson
while IFS=$'\t' read -r category position _index _block name; do
  picture="$work/$category-$(printf '%03d' "$position").png"
  # Rendered at the window's size and scaled down by the sheet, so the small pictures are smooth.
  "$INSPECT" render "$category" "$name" --mode 4 --size 1008x534 -o "$picture"
  case "$category" in
    0) polyeder+=("$picture" "$name") ;;
    2) archimedisch+=("$picture" "$name") ;;
    3) johnson+=("$picture" "$name") ;;
  esac
done < <("$INSPECT" list)

sheet() { # file title pictures-and-captions...
  local file="$1" title="$2"
  shift 2
  "$INSPECT" sheet --title "$title" --columns 4 --tile 336x178 -o "$OUT/$file" "$@"
  echo "$OUT/$file: $(($# / 2)) bodies"
}
sheet polyeder.png "Polyeder und duale Körper" "${polyeder[@]}"
sheet archimedische-koerper.png "Archimedische Körper und duale Körper" "${archimedisch[@]}"
sheet johnson-polyeder.png "Johnson Polyeder und quasiduale Polyeder" "${johnson[@]}"
