#!/usr/bin/env bash
# Installs what the suite needs on a Debian machine (when it is missing),
# then configures and builds a preset (default: "default").
#   scripts/setup.sh [preset]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev python3 python3-fonttools
          fonts-dejavu-core fonts-ipafont-gothic fonts-noto-cjk
          opentype-sanitizer freetype2-demos fonts-ipaexfont fonts-vlgothic fonts-cantarell fonts-liberation2
          fonts-inter-variable fonts-noto-color-emoji
          python3-jsonschema man-db appstream desktop-file-utils)
if [ "$preset" = fuzz ]; then packages+=(clang libclang-rt-dev); fi
# The Windows cross build: MinGW-w64 (GoogleTest from libgtest-dev's
# sources), Wine to run its tests and programs, and Xvfb for its windows.
if [ "$preset" = windows ]; then packages+=(g++-mingw-w64-x86-64 wine wine64 xvfb); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" = 0 ]; then apt_get=(apt-get)
  elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then apt_get=(sudo apt-get)
  else
    echo "Missing packages. Run this, then run the command again:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  "${apt_get[@]}" update -qq
  DEBIAN_FRONTEND=noninteractive "${apt_get[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ "$preset" = windows ] && [ ! -f "${WINEPREFIX:-$HOME/.wine}/system.reg" ]; then
  # The build lists the tests by running them under Wine, which needs its prefix.
  WINEDEBUG=-all wineboot -i >/dev/null 2>&1
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
