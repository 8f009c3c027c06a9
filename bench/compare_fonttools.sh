#!/bin/sh
# Times quillet against fontTools on one font, as a user would run them:
#   the report (which verifies every checksum) against fontTools reading
#   every table with checksum checking on, and the recalculation against
#   fontTools writing a copy with recalculated checksums.
# Usage: bench/compare_fonttools.sh [BIN_FOLDER [FONT [RUNS]]]
#   BIN_FOLDER  where quillet and libsumkit.so are (default build/default/bin)
#   FONT        default: the largest font under /usr/share/fonts
#   RUNS        runs of each command, the mean is reported (default 5)
set -eu

bin=${1:-build/default/bin}
font=${2:-$(find /usr/share/fonts -type f \( -name '*.ttf' -o -name '*.ttc' -o -name '*.otf' \) \
            -printf '%s %p\n' 2>/dev/null | sort -n | tail -n 1 | cut -d' ' -f2-)}
runs=${3:-5}
python=/usr/bin/python3

[ -x "$bin/quillet" ] || { echo "no quillet in $bin" >&2; exit 2; }
[ -f "$font" ] || { echo "no font to measure" >&2; exit 2; }
"$python" -c 'import fontTools' 2>/dev/null || { echo "fontTools is missing for $python" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin/quillet" "$bin/libsumkit.so" "$work/"
case "$font" in
  *.ttc|*.TTC) ext=ttc ;;
  *) ext=ttf ;;
esac

cat > "$work/verify.py" <<'PY'
import sys
from fontTools.ttLib import TTFont, TTCollection
path = sys.argv[1]
count = len(TTCollection(path).fonts) if path.lower().endswith(".ttc") else 1
for number in range(count):
    font = TTFont(path, fontNumber=number if count > 1 else -1, checkChecksums=1, lazy=True)
    for tag in font.reader.keys():
        font.reader[tag]
PY
cat > "$work/recalc.py" <<'PY'
import sys
from fontTools.ttLib import TTFont, TTCollection
path, out = sys.argv[1], sys.argv[2]
if path.lower().endswith(".ttc"):
    TTCollection(path).save(out)
else:
    TTFont(path, recalcBBoxes=False, recalcTimestamp=False).save(out)
PY

now() { date +%s%N; }

# mean_ms COMMAND...: the mean wall time of $runs runs in milliseconds; the
# command may use $i for a fresh output name.
mean_ms() {
  total=0
  i=0
  while [ "$i" -lt "$runs" ]; do
    start=$(now)
    eval "$@" > /dev/null 2>&1
    end=$(now)
    total=$((total + end - start))
    i=$((i + 1))
  done
  echo $((total / runs / 1000)) | awk '{ printf "%.1f", $1 / 1000 }'
}

cd "$work"
./quillet --report "$font" > /dev/null  # warm the cache
report=$(mean_ms './quillet --report "$font"')
verify=$(mean_ms '"$python" verify.py "$font"')
recalc=$(mean_ms './quillet --recalc "$font" "q$i.$ext"; rm -f "q$i.$ext"')
rewrite=$(mean_ms '"$python" recalc.py "$font" "f$i.$ext"; rm -f "f$i.$ext"')

echo "font: $font ($(stat -c %s "$font") bytes), $runs runs each"
printf '%-44s %10s ms\n' "quillet --report" "$report" "fontTools checksum verification" "$verify" \
  "quillet --recalc" "$recalc" "fontTools recalculated copy" "$rewrite"
awk -v a="$verify" -v b="$report" -v c="$rewrite" -v d="$recalc" 'BEGIN {
  printf "report vs verification: %.1fx faster (target 20x)\n", a / b
  printf "recalc vs fontTools copy: %.1fx faster\n", c / d
}'
