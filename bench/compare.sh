#!/usr/bin/env bash
# Times the suite against the tools a user would pick instead, in one run on
# the same files: python3-fonttools (Debian's /usr/bin/python3) for checksum
# verification, a recalculated copy, table export and the Mac cmap and name
# conversions, and fondu for the extraction of a font from Mac data. Prints
# a Markdown table of medians, each beside its floor (bench/floor.cc) and
# the ratio to the other tool (other tool / suite).
#   bench/compare.sh [BUILD_DIR] [RUNS]     (default build/default, 10)
# Uses hyperfine when it is installed, else a small timing loop.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"
runs="${2:-10}"
python=/usr/bin/python3
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
collection=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
for needed in "$build/bin/quillet" "$build/bin/libsumkit.so" "$build/bin/drumlin" "$build/bin/command_floor" "$python" \
              "$font" "$collection"; do
  [ -e "$needed" ] || { echo "missing: $needed" >&2; exit 2; }
done
"$python" -c 'import fontTools' 2>/dev/null || { echo "missing: python3-fonttools" >&2; exit 2; }

work="$(mktemp -d "${TMPDIR:-/tmp}/suite-compare-XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/suite" "$work/other" "$work/other1"
cp "$build/bin/quillet" "$build/bin/libsumkit.so" "$build/bin/drumlin" "$build/bin/command_floor" "$work/bin/"
cp "$font" "$work/font.ttf"
cp "$collection" "$work/fonts.ttc"

# --- the other tools' side, as small fontTools programs -------------------
cat >"$work/verify.py" <<'PY'
# Every table's checksum and each font's adjustment; a .ttc font by font.
import struct, sys
from fontTools.ttLib import TTFont, TTCollection
from fontTools.ttLib.sfnt import calcChecksum
path = sys.argv[1]
raw = bytearray(open(path, "rb").read())
collection = path.lower().endswith(".ttc")
for font in TTCollection(path, lazy=True).fonts if collection else [TTFont(path, lazy=True)]:
    reader = font.reader
    bad = 0
    total = 0
    for tag, entry in reader.tables.items():
        data = reader[tag]
        if tag == "head":
            data = data[:8] + b"\0\0\0\0" + data[12:]
        table = calcChecksum(data)
        bad += table != entry.checkSum
        total = (total + table) & 0xFFFFFFFF
    head = reader.tables["head"].offset
    stored = struct.unpack(">I", raw[head + 8:head + 12])[0]
    if collection:
        # A font of a collection: its directory and its tables, as one font.
        start = reader.offset if hasattr(reader, "offset") else 0
        total = (total + calcChecksum(bytes(raw[start:start + 12 + 16 * len(reader.tables)]))) & 0xFFFFFFFF
    else:
        raw[head + 8:head + 12] = b"\0\0\0\0"
        total = calcChecksum(bytes(raw))
    print("tables with a wrong checksum:", bad, "adjustment right:", (0xB1B0AFBA - total) & 0xFFFFFFFF == stored)
PY
cat >"$work/recalc.py" <<'PY'
import sys
from fontTools.ttLib import TTFont
TTFont(sys.argv[1], lazy=True, recalcBBoxes=False, recalcTimestamp=False).save(sys.argv[2])
PY
cat >"$work/export.py" <<'PY'
import sys
from fontTools.ttLib import TTFont
open(sys.argv[3], "wb").write(TTFont(sys.argv[1], lazy=True).reader[sys.argv[2]])
PY
cat >"$work/mac_tables.py" <<'PY'
# Makes the Mac Japanese cmap (a (1, 1) format 2 subtable keyed by Shift-JIS)
# and name (Shift-JIS strings) table files from the font's Unicode tables.
import sys
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable, table__c_m_a_p
from fontTools.ttLib.tables._n_a_m_e import NameRecord, table__n_a_m_e
font = TTFont(sys.argv[1])
mapping = {}
for code, glyph in font.getBestCmap().items():
    try:
        sjis = chr(code).encode("shift_jis")
    except UnicodeEncodeError:
        continue
    mapping[sjis[0] if len(sjis) == 1 else (sjis[0] << 8) | sjis[1]] = glyph
sub = CmapSubtable.newSubtable(2)
sub.platformID, sub.platEncID, sub.language, sub.cmap = 1, 1, 0, mapping
cmap = table__c_m_a_p()
cmap.tableVersion, cmap.tables = 0, [sub]
open(sys.argv[2], "wb").write(cmap.compile(font))
names = table__n_a_m_e()
names.names = []
for record in font["name"].names:
    if record.platformID == 3 and record.langID in (0x409, 0x411):
        text = record.toUnicode()
        mac = NameRecord()
        mac.platformID, mac.platEncID, mac.nameID = 1, (1 if record.langID == 0x411 else 0), record.nameID
        mac.langID = 11 if record.langID == 0x411 else 0
        mac.string = text.encode("shift_jis" if mac.platEncID == 1 else "mac_roman", "replace")
        names.names.append(mac)
open(sys.argv[3], "wb").write(names.compile(font))
PY
cat >"$work/cmap.py" <<'PY'
import sys
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._c_m_a_p import CmapSubtable, table__c_m_a_p
font = TTFont()
font.setGlyphOrder([".notdef"] + ["g%d" % i for i in range(1, 65536)])
cmap = table__c_m_a_p()
cmap.decompile(open(sys.argv[1], "rb").read(), font)
converted = []
for sub in cmap.tables:
    if (sub.platformID, sub.platEncID, sub.format) != (1, 1, 2):
        converted.append(sub)
        continue
    unicode = {}
    for code, glyph in sub.cmap.items():
        try:
            text = (bytes([code]) if code < 0x100 else bytes([code >> 8, code & 0xFF])).decode("shift_jis")
        except UnicodeDecodeError:
            continue
        if len(text) == 1:
            unicode[ord(text)] = glyph
    new = CmapSubtable.newSubtable(4)
    new.platformID, new.platEncID, new.language, new.cmap = 3, 1, 0, unicode
    converted.append(new)
cmap.tables = converted
open(sys.argv[2], "wb").write(cmap.compile(font))
PY
cat >"$work/name.py" <<'PY'
import sys
from fontTools.ttLib.tables._n_a_m_e import table__n_a_m_e
names = table__n_a_m_e()
names.decompile(open(sys.argv[1], "rb").read(), None)
for record in names.names:
    if record.platEncID == 1:
        record.string = bytes(record.string).decode("shift_jis", "replace").encode("utf-16-be")
        record.platformID = 3
    if record.langID == 11:
        record.langID = 1041
open(sys.argv[1] + ".fonttools", "wb").write(names.compile(None))
PY
"$python" "$work/mac_tables.py" "$work/font.ttf" "$work/mac.cmap" "$work/mac.name"
cp "$work/mac.name" "$work/suite/mac.name"
cp "$work/mac.name" "$work/other/mac.name"
# Mac data-fork resource files (.dfont) with the font as their 'sfnt'
# resource: one with the version "true" (found by its signature), one with
# 00 01 00 00 as most fonts carry (read through the resource map).
cat >"$work/dfont.py" <<'PY'
import struct, sys
font = bytearray(open(sys.argv[1], "rb").read())
if sys.argv[4] == "true":
    font[0:4] = b"true"
data = struct.pack(">I", len(font)) + bytes(font)
name = sys.argv[3].encode()
types = struct.pack(">H", 0) + b"sfnt" + struct.pack(">HH", 0, 10)
ref = struct.pack(">hHII", 128, 0, 0, 0)
body = struct.pack(">IHHHH", 0, 0, 0, 28, 28 + len(types) + len(ref)) + types + ref + bytes([len(name)]) + name
header = struct.pack(">IIII", 256, 256 + len(data), len(data), 16 + len(body))
open(sys.argv[2], "wb").write(header + bytes(240) + data + header + body)
PY
"$python" "$work/dfont.py" "$work/font.ttf" "$work/font.dfont" Compared true
"$python" "$work/dfont.py" "$work/font.ttf" "$work/font1.dfont" Compared1 1.0

# --- the operations: label, suite command, other tool, its command, clean-up
q="$work/bin/quillet"
d="$work/bin/drumlin"
p="$python"
labels=("Checksum verification" "Recalculated copy" "Table export (glyf)" "Mac cmap conversion" "Mac name conversion"
        "Extraction from Mac data" "Extraction from a .dfont (version 1.0)"
        "Checksum verification, $(basename "$collection")")
suite_cmds=("$q --report $work/font.ttf"
            "$q --recalc $work/font.ttf $work/suite/recalc.ttf"
            "$q --export $work/font.ttf glyf $work/suite/font.glyf"
            "$d --cmap $work/mac.cmap $work/suite/win.cmap"
            "$d --name $work/suite/mac.name"
            "$d --extract $work/font.dfont $work/suite/extracted.ttf"
            "$d --extract $work/font1.dfont $work/suite/extracted1.ttf"
            "$q --report $work/fonts.ttc")
other_names=(fontTools fontTools fontTools fontTools fontTools fondu fondu fontTools)
other_cmds=("$p $work/verify.py $work/font.ttf"
            "$p $work/recalc.py $work/font.ttf $work/other/recalc.ttf"
            "$p $work/export.py $work/font.ttf glyf $work/other/font.glyf"
            "$p $work/cmap.py $work/mac.cmap $work/other/win.cmap"
            "$p $work/name.py $work/other/mac.name"
            "cd $work/other && fondu -force $work/font.dfont"
            "cd $work/other1 && fondu -force $work/font1.dfont"
            "$p $work/verify.py $work/fonts.ttc")
cleanups=("true" "rm -f $work/suite/recalc.ttf $work/other/recalc.ttf" "rm -f $work/suite/font.glyf $work/other/font.glyf"
          "rm -f $work/suite/win.cmap $work/other/win.cmap" "rm -f $work/suite/mac.name.name $work/other/mac.name.fonttools"
          "rm -f $work/suite/extracted.ttf $work/other/Compared.ttf"
          "rm -f $work/suite/extracted1.ttf $work/other1/*.ttf"
          "true")
command -v fondu >/dev/null || { other_cmds[5]=""; other_cmds[6]=""; }
# What each command reads, and what it writes (none for the verification):
# its floor reads the input once and, for a command that writes, copies as
# many bytes to a new file with the same flush.
inputs=("$work/font.ttf" "$work/font.ttf" "$work/font.ttf" "$work/mac.cmap" "$work/suite/mac.name" "$work/font.dfont"
        "$work/font1.dfont" "$work/fonts.ttc")
outputs=("" "$work/suite/recalc.ttf" "$work/suite/font.glyf" "$work/suite/win.cmap" "$work/suite/mac.name.name"
         "$work/suite/extracted.ttf" "$work/suite/extracted1.ttf" "")
floor="$work/bin/command_floor"

# Median wall time in milliseconds of one command.
median_ms() {
  local command="$1" cleanup="$2"
  if command -v hyperfine >/dev/null; then
    hyperfine --style none --warmup 1 --runs "$runs" --prepare "$cleanup" --export-json "$work/h.json" \
      "$command" >/dev/null 2>&1
    "$python" -c 'import json,sys; print("%.1f" % (1000 * json.load(open(sys.argv[1]))["results"][0]["median"]))' \
      "$work/h.json"
  else
    local times=()
    for _ in $(seq 1 "$runs"); do
      bash -c "$cleanup"
      local start end
      start=$(date +%s%N)
      bash -c "$command" >/dev/null 2>&1
      end=$(date +%s%N)
      times+=($(( (end - start) / 1000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f\n", m/1000}'
  fi
}

echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo "Font: $(basename "$font") ($(stat -c %s "$font") bytes); $runs runs each$(command -v hyperfine >/dev/null && echo ", hyperfine")"
echo
echo "| operation | suite | median ms | floor ms | suite / floor | other tool | median ms | other / suite |"
echo "|---|---|---|---|---|---|---|---|"
for i in "${!labels[@]}"; do
  # Both sides must succeed once before they are timed.
  bash -c "${cleanups[$i]}"
  bash -c "${suite_cmds[$i]}" >/dev/null 2>&1 || { echo "suite command failed: ${suite_cmds[$i]}" >&2; exit 1; }
  suite_ms=$(median_ms "${suite_cmds[$i]}" "${cleanups[$i]}")
  suite_name=$(basename "${suite_cmds[$i]%% *}")
  if [ -n "${outputs[$i]}" ]; then
    floor_cmd="$floor copy ${inputs[$i]} $work/floor.out $(stat -c %s "${outputs[$i]}")"
  else
    floor_cmd="$floor read ${inputs[$i]}"
  fi
  floor_ms=$(median_ms "$floor_cmd" "rm -f $work/floor.out")
  to_floor=$(awk -v a="$suite_ms" -v b="$floor_ms" 'BEGIN { printf "%.2f", a / b }')
  if [ -z "${other_cmds[$i]}" ]; then
    printf '| %s | %s | %s | %s | %s | %s | %s | %s |\n' "${labels[$i]}" "$suite_name" "$suite_ms" "$floor_ms" \
      "$to_floor" "${other_names[$i]}" "not installed" "-"
    continue
  fi
  bash -c "${cleanups[$i]}"
  bash -c "${other_cmds[$i]}" >/dev/null 2>&1 || { echo "other command failed: ${other_cmds[$i]}" >&2; exit 1; }
  other_ms=$(median_ms "${other_cmds[$i]}" "${cleanups[$i]}")
  ratio=$(awk -v a="$other_ms" -v b="$suite_ms" 'BEGIN { printf "%.1f", a / b }')
  printf '| %s | %s | %s | %s | %s | %s | %s | %s |\n' "${labels[$i]}" "$suite_name" "$suite_ms" "$floor_ms" \
    "$to_floor" "${other_names[$i]}" "$other_ms" "$ratio"
done
echo
echo "floor: a start without Qt that reads the input once and, for a command that writes, copies as many"
echo "bytes as the command writes to a new file and flushes it to disk, as the suite flushes its outputs."

# The two sides must agree where their outputs can be compared byte for byte.
bash -c "${suite_cmds[2]}; ${other_cmds[2]}" >/dev/null 2>&1
cmp -s "$work/suite/font.glyf" "$work/other/font.glyf" && echo && echo "The exported glyf tables are identical."
if [ -n "${other_cmds[6]}" ]; then
  bash -c "${cleanups[6]}; ${suite_cmds[6]}; ${other_cmds[6]}" >/dev/null 2>&1
  # fondu names its output after the font's own name.
  fondu_out=("$work/other1/"*.ttf)
  if cmp -s "$work/suite/extracted1.ttf" "${fondu_out[0]}" && cmp -s "$work/suite/extracted1.ttf" "$work/font.ttf"; then
    echo && echo "The fonts extracted from the version 1.0 .dfont are identical to fondu's and to the original."
  fi
fi
