#!/usr/bin/env bash
# Starts the table editor on a virtual display, lets it analyse the bundled
# sample font and saves a picture of its window as docs/quillet.png.
#   scripts/screenshot_quillet.sh [build folder]     (default: build/default)
# Needs xvfb-run, xwininfo and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
for file in "$build/bin/quillet" "$build/bin/libsumkit.so"; do
  [ -e "$file" ] || { echo "No $file: build the program first (cmake --build --preset default)." >&2; exit 1; }
done
for tool in xvfb-run xwininfo import; do
  command -v "$tool" >/dev/null || { echo "Needs $tool." >&2; exit 1; }
done

# A copy of the program in a folder of its own: its Quillet.ini and the
# per-user settings stay out of the build and out of the user's home.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$build/bin/quillet" "$build/bin/libsumkit.so" "$work/"
cp tests/data/sample.ttf "$work/sample.ttf"
mkdir -p docs "$work/config"

XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$work" "$PWD/docs/quillet.png" <<'SHOT'
set -euo pipefail
cd "$1"
./quillet sample.ttf &
program=$!
window=""
for _ in $(seq 100); do
  for id in $(xwininfo -root -tree 2>/dev/null | awk '/"Quillet": \(/ { print $1 }'); do
    if xwininfo -id "$id" | grep -q "Map State: IsViewable"; then window=$id; fi
  done
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "The window did not appear." >&2; kill "$program"; exit 1; }
# The sample font is small: its report is complete well within this time.
sleep 2
import -window "$window" -strip +dither -colors 48 "$2"
kill "$program"
wait "$program" 2>/dev/null || true
SHOT
echo "Saved docs/quillet.png"
