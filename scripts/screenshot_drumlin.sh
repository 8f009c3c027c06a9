#!/usr/bin/env bash
# Shows drumlin's window on a virtual display with a window manager while it
# converts a sample Mac cmap table and saves a picture of the screen as
# docs/drumlin.png. The window starts at its default size of 160 x 100 and
# grows to show the progress text whole. The window is the
# real one; a small driver answers its two file choosers
# (tests/macconv_window/screenshot_driver.cc).
#   scripts/screenshot_drumlin.sh [build folder]     (default: build/default)
# Needs xvfb-run, openbox and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
driver="$build/bin/drumlin_screenshot_driver"
[ -x "$driver" ] || {
  echo "No $driver: build it first (cmake --build $build --target drumlin_screenshot_driver)." >&2
  exit 1
}
for tool in xvfb-run openbox import; do
  command -v "$tool" >/dev/null || { echo "Needs $tool." >&2; exit 1; }
done

# Settings, sockets and files in a folder of their own; the window stands
# near the top left corner at its default size.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
width=480
height=300
mkdir -p "$work/config/Marlowby" "$work/run" "$work/files" docs
chmod 700 "$work/run"
printf '[General]\nX=24\nY=24\n' > "$work/config/Marlowby/Drumlin.conf"

XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work" \
  xvfb-run -a -s "-screen 0 ${width}x${height}x24" bash -s "$driver" "$work/files" "$PWD/docs/drumlin.png" <<'SHOT'
set -euo pipefail
openbox >/dev/null 2>&1 &
manager=$!
sleep 1
shot=""
while read -r line; do
  if [ "$line" = segments-recorded ] && [ -z "$shot" ]; then
    import -window root -strip +dither -colors 32 "$3"
    shot=yes
  fi
done < <(QT_QPA_PLATFORM=xcb "$1" "$2")
kill "$manager" 2>/dev/null || true
[ -n "$shot" ] || { echo "The conversion did not show its progress." >&2; exit 1; }
SHOT
echo "Saved docs/drumlin.png"
