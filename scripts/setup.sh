#!/usr/bin/env bash
# Shared by ./run and ./test: installs what the build needs (quietly skipped when present) and
# configures and builds out of tree. Source it; it sets BUILD_DIR.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libgtest-dev libgmock-dev
          libbenchmark-dev libgl-dev xvfb xauth locales qt6-translations-l10n lintian dpkg-dev)
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests run a second time under the German locale, the one of the desktops the program is
# made for; without it setlocale would quietly fall back to C.
german_locale() { locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; }
if ! german_locale; then
  echo "Generating the locale de_DE.UTF-8"
  if [ -d /var/lib/locales/supported.d ]; then # Ubuntu: locale-gen takes the name
    $SUDO locale-gen de_DE.UTF-8 >/dev/null
  else # Debian: locale-gen builds what /etc/locale.gen lists
    if grep -qs '^# *de_DE\.UTF-8 UTF-8' /etc/locale.gen; then
      $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -qs '^de_DE\.UTF-8 UTF-8' /etc/locale.gen; then
      echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen --keep-existing >/dev/null
  fi
  german_locale || echo "The locale de_DE.UTF-8 could not be generated: the tests under it will fail" >&2
fi

configure() { # build-dir [cmake options...]
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

configure_and_build() { # build-dir [cmake options...]
  configure "$@"
  cmake --build "$1" -j "$(nproc)"
}
