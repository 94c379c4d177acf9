#!/usr/bin/env bash
# Shared by ./run and ./test: installs what the build needs (quietly skipped when present) and
# configures and builds out of tree. Source it; it sets BUILD_DIR.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev libqt6svg6-dev libgtest-dev libgmock-dev
          libbenchmark-dev libgl-dev xvfb xauth)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

configure() { # build-dir [cmake options...]
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

configure_and_build() { # build-dir [cmake options...]
  configure "$@"
  cmake --build "$1" -j "$(nproc)"
}
