#!/usr/bin/env bash
# Load check of the table editor's headless report (run by hand, not a
# timed test):
#   1. the report of a 2 GiB synthetic font (a sparse file: its big table
#      reads as zeros, a last table lies past 2 GiB - 16) completes, with the
#      right sums, in bounded memory;
#   2. the report of a collection of 1,000 fonts completes in bounded memory;
#   3. ten headless reports, and ten recalculations, run in parallel on the
#      same font give identical outputs.
# Peak resident sizes are measured with /usr/bin/time -v.
#   bench/load_check.sh [BUILD_DIR]     (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
python=/usr/bin/python3
for program in "$build/bin/quillet" "$build/bin/libsumkit.so" /usr/bin/time "$python"; do
  [ -e "$program" ] || { echo "missing: $program" >&2; exit 2; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/suite-load-XXXXXX")"
trap 'rm -rf "$work"' EXIT
# The programs get a folder of their own, so their settings file lands there.
mkdir "$work/bin"
cp "$build/bin/quillet" "$build/bin/libsumkit.so" "$work/bin/"
quillet="$work/bin/quillet"
failed=0

peak_kib() { sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): //p' "$1"; }
elapsed() { sed -n 's/^[[:space:]]*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$1"; }

# Runs one report under /usr/bin/time; prints its peak and time.
measure_report() {
  local label="$1" font="$2"
  if ! /usr/bin/time -v -o "$work/time.txt" "$quillet" --report "$font" >"$work/report.txt" 2>"$work/err.txt"; then
    echo "FAIL: $label: quillet ended with an error"; cat "$work/err.txt"; failed=1; return
  fi
  if ! tail -2 "$work/report.txt" | head -1 | grep -qx Ready; then
    echo "FAIL: $label: the report does not end with Ready"; failed=1
  fi
  printf '%-40s peak RSS %7s KiB   wall %s\n' "$label" "$(peak_kib "$work/time.txt")" "$(elapsed "$work/time.txt")"
}

echo "== 1. a 2 GiB sparse font"
"$python" - "$work/big.ttf" >"$work/big_sums.txt" <<'PY'
import struct, sys
path = sys.argv[1]
size = 2 ** 31
def table_sum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF
head = bytearray(54)
head[0:4] = b"\0\1\0\0"; head[12:16] = struct.pack(">I", 0x5F0F3CF5); head[18:20] = struct.pack(">H", 2048)
maxp = struct.pack(">IH", 0x5000, 3)
post = bytes(range(1, 17))                       # the last 16 bytes of the file, past 2 GiB - 16
tables = [(b"glyf", 4096, size - 4096 - 64), (b"head", 256, 54), (b"maxp", 512, 6), (b"post", size - 16, 16)]
out = open(path, "wb")
out.write(struct.pack(">IHHHH", 0x10000, len(tables), 64, 2, 0))
for tag, offset, length in tables:
    out.write(tag + struct.pack(">III", 0, offset, length))
out.seek(256); out.write(head); out.seek(512); out.write(maxp)
out.seek(size - 16); out.write(post)
out.truncate(size); out.close()
head_sum = table_sum(bytes(head[:8]) + b"\0\0\0\0" + bytes(head[12:52]))
print("glyf 0x%08x" % 0); print("head 0x%08x" % head_sum)
print("maxp 0x%08x" % table_sum(maxp)); print("post 0x%08x" % table_sum(post))
PY
echo "file: $(du -h --apparent-size "$work/big.ttf" | cut -f1) apparent, $(du -h "$work/big.ttf" | cut -f1) on disk"
measure_report "report of the 2 GiB font" "$work/big.ttf"
while read -r tag sum; do
  if ! grep -q "^[0-9][0-9],	$tag,	.*,	$sum,   	" "$work/report.txt"; then
    echo "FAIL: the report's sum of $tag is not $sum"; failed=1
  fi
done <"$work/big_sums.txt"
rm -f "$work/big.ttf"

echo "== 2. a collection of 1,000 fonts"
"$python" - "$work/many.ttc" <<'PY'
import struct, sys
fonts = 1000
head = bytearray(54); head[0:4] = b"\0\1\0\0"; head[12:16] = struct.pack(">I", 0x5F0F3CF5); head[18:20] = struct.pack(">H", 1000)
maxp = struct.pack(">IH", 0x5000, 3)
name = struct.pack(">HHH", 0, 1, 18) + struct.pack(">HHHHHH", 3, 1, 0x409, 1, 8, 0) + "Load".encode("utf-16-be")
tables = [(b"head", bytes(head)), (b"maxp", maxp), (b"name", name)]
directory_size = 12 + 16 * len(tables)
first_font = 12 + 4 * fonts
data_start = first_font + fonts * directory_size
blob, offsets = b"", []
for tag, data in tables:
    offsets.append(data_start + len(blob)); blob += data + b"\0" * (-len(data) % 4)
out = open(sys.argv[1], "wb")
out.write(b"ttcf" + struct.pack(">II", 0x10000, fonts))
out.write(b"".join(struct.pack(">I", first_font + k * directory_size) for k in range(fonts)))
for k in range(fonts):     # every font's directory points at the same tables
    out.write(struct.pack(">IHHHH", 0x10000, len(tables), 32, 1, 16))
    for (tag, data), offset in zip(tables, offsets):
        out.write(tag + struct.pack(">III", 0, offset, len(data)))
out.write(blob); out.close()
PY
measure_report "report of 1,000 fonts in a collection" "$work/many.ttc"
count=$(grep -c '^The Table Directory$' "$work/report.txt" || true)
[ "$count" = 1000 ] || { echo "FAIL: $count fonts reported, not 1000"; failed=1; }

echo "== 3. ten headless runs in parallel on the same font"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[ -e "$font" ] || font=tests/data/sample.ttf
cp "$font" "$work/same.ttf"
pids=()
for k in $(seq 1 10); do
  "$quillet" --report "$work/same.ttf" >"$work/parallel_report_$k.txt" 2>&1 &
  pids+=($!)
  "$quillet" --recalc "$work/same.ttf" "$work/parallel_recalc_$k.ttf" >/dev/null 2>&1 &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || { echo "FAIL: a parallel run ended with an error"; failed=1; }; done
same=1
for k in $(seq 2 10); do
  cmp -s "$work/parallel_report_1.txt" "$work/parallel_report_$k.txt" || same=0
  cmp -s "$work/parallel_recalc_1.ttf" "$work/parallel_recalc_$k.ttf" || same=0
done
if [ $same = 1 ]; then
  echo "10 reports of $(basename "$font") identical ($(wc -l <"$work/parallel_report_1.txt") lines); 10 recalculated copies identical"
else
  echo "FAIL: the parallel runs differ"; failed=1
fi
exit $failed
