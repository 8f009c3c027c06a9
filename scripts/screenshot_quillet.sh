#!/usr/bin/env bash
# Starts the table editor on a virtual display with a window manager, lets
# it analyse a font (IPA Gothic when it is installed, else the bundled sample)
# and saves a picture of the screen as docs/quillet.png.
#   scripts/screenshot_quillet.sh [build folder]     (default: build/default)
# Needs xvfb-run, openbox, xwininfo and ImageMagick's import; with xdotool
# the picture shows the File menu open at its recent fonts.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
for file in "$build/bin/quillet" "$build/bin/libsumkit.so" "$build/bin/libquillet-window.so"; do
  [ -e "$file" ] || { echo "No $file: build the program first (cmake --build --preset default)." >&2; exit 1; }
done
for tool in xvfb-run openbox xwininfo import; do
  command -v "$tool" >/dev/null || { echo "Needs $tool." >&2; exit 1; }
done

# A copy of the program in a folder of its own: its Quillet.ini and the
# per-user settings stay out of the build and out of the user's home.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$build/bin/quillet" "$build/bin/libsumkit.so" "$build/bin/libquillet-window.so" "$work/"
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
[ -f "$font" ] || font=tests/data/sample.ttf
cp "$font" "$work/"
font="$(basename "$font")"
mkdir -p docs "$work/config"

XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" xvfb-run -a -s "-screen 0 1024x768x24" \
  bash -s "$work" "$PWD/docs/quillet.png" "$font" <<'SHOT'
set -euo pipefail
cd "$1"
openbox >/dev/null 2>&1 &
manager=$!
sleep 1
QT_QPA_PLATFORM=xcb ./quillet "$3" &
program=$!
window=""
for _ in $(seq 100); do
  for id in $(xwininfo -root -tree 2>/dev/null | awk '/"'"$3"' - Quillet": \(/ { print $1 }'); do
    if xwininfo -id "$id" | grep -q "Map State: IsViewable"; then window=$id; fi
  done
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "The window did not appear." >&2; kill "$program" "$manager"; exit 1; }
# Long enough for the report of IPA Gothic (6 MB) to reach "Ready".
sleep 6
# The File menu open at its recent fonts, when xdotool is there to open it.
if command -v xdotool >/dev/null; then
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  xdotool key --clearmodifiers alt+f; sleep 0.5
  xdotool key Down; sleep 0.3
  xdotool key Right; sleep 0.5
fi
import -window root -strip +dither -colors 64 "$2"
kill "$program" "$manager"
wait "$program" 2>/dev/null || true
SHOT
echo "Saved docs/quillet.png"
