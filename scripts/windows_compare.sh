#!/usr/bin/env bash
# Holds the Windows programs to the Linux ones: every headless command of
# quillet and drumlin and every console tool, run by scripts/output_manifest.sh
# on the same inputs (the sample, DejaVu Sans, IPA Gothic, a Noto CJK
# collection, the tables taken from them and Mac data made from those) under the
# Linux build and, under Wine, the Windows build. Standard output, standard
# error, exit status and every written file must be byte for byte the same;
# ends with 1 on any difference.
#   scripts/windows_compare.sh [LINUX_BUILD [WINDOWS_BUILD]]   (build/default, build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
linux=${1:-$root/build/default}
windows=${2:-$root/build/windows}
for needed in "$linux/bin/quillet" "$windows/bin/quillet.exe"; do
  [ -e "$needed" ] || { echo "missing: $needed (build both presets first)" >&2; exit 2; }
done
command -v wine >/dev/null || { echo "missing: wine" >&2; exit 2; }
for font in /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc; do
  [ -f "$font" ] || echo "note: $font is not installed; the comparison goes on without it" >&2
done
export WINEDEBUG=-all
# One Wine server for all runs (it stays 30 s after the last), instead of
# one started for each program.
wineserver -p30 2>/dev/null || true  # or the one already running
# Written to a file, the Windows programs give the names' bytes as the font
# holds them, as the Linux ones do in the C locale.
SUITE_MANIFEST_SET=fonts SUITE_MANIFEST_LANG=C "$root/scripts/compare_outputs.sh" "$linux/bin" "$windows/bin"
