#!/usr/bin/env bash
# The shell side of the suite as a user meets it: --help and --version,
# quillet --check's findings and exit statuses, --json against its schema,
# Japanese names in a UTF-8 locale, the manual pages and the desktop files.
#   tests/shell/shell_programs.sh BIN_DIR
# Exits 77 (skipped) when a judge it needs is missing.
set -uo pipefail
bin="$1"
src="$(cd "$(dirname "$0")/../.." && pwd)"
for needed in man appstreamcli desktop-file-validate; do
  command -v "$needed" >/dev/null || { echo "skipped: $needed is missing"; exit 77; }
done
# Debian's python3 has the judges (python3-jsonschema, python3-fonttools);
# another python3 first on PATH may not.
python=""
for p in /usr/bin/python3 python3; do
  if command -v "$p" >/dev/null && "$p" -c 'import jsonschema, fontTools' 2>/dev/null; then python=$p; break; fi
done
[ -n "$python" ] || { echo "skipped: python3-jsonschema or python3-fonttools is missing"; exit 77; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
q="$bin/quillet"
sample="$src/tests/data/sample.ttf"
ipag=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
noto=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc

for program in quillet drumlin; do
  "$bin/$program" --version | grep -qx "$program [0-9.]*" || fail "$program --version"
  "$bin/$program" --help | grep -q -- "--help" || fail "$program --help"
done

# --check: clean fonts, a font made faulty, and the exit statuses.
"$q" --check "$sample" "$ipag" "$noto" >"$work/check.txt" || fail "--check of clean fonts: $(cat "$work/check.txt")"
[ "$(grep -c ': no errors$' "$work/check.txt")" = 3 ] || fail "--check did not say 'no errors' for each font"
"$python" - "$sample" "$work/bad.ttf" <<'PY'
import struct, sys
font = bytearray(open(sys.argv[1], "rb").read())
font[6:8] = struct.pack(">H", 0)  # searchRange
open(sys.argv[2], "wb").write(font)
PY
"$q" --check "$work/bad.ttf" >"$work/bad.txt"
[ $? = 1 ] && grep -q "bad.ttf: error: searchRange" "$work/bad.txt" || fail "--check of wrong search fields"
"$q" --check "$work/missing.ttf" >/dev/null; [ $? = 1 ] || fail "--check of a missing file is not 1"
"$q" --check 2>/dev/null; [ $? = 2 ] || fail "--check without a font is not 2"

# --json: valid against the schema, and its sums agree with the directory.
"$q" --json "$sample" "$ipag" "$noto" "$work/missing.ttf" >"$work/report.json"
[ $? = 1 ] || fail "--json with a missing file is not 1"
"$python" - "$src/docs/quillet-report.schema.json" "$work/report.json" <<'PY' || fail "--json against its schema"
import json, sys, jsonschema
schema = json.load(open(sys.argv[1]))
document = json.load(open(sys.argv[2]))
jsonschema.Draft202012Validator.check_schema(schema)
jsonschema.validate(document, schema, cls=jsonschema.Draft202012Validator)
files = document["files"]
assert [("error" in f) for f in files] == [False, False, False, True], "one failure, last"
for f in files[:3]:
    for font in f["fonts"]:
        for table in font.get("tables", []):
            assert table["checkSum"] == table["calculatedCheckSum"], (f["path"], table["tag"])
assert len(files[2]["fonts"]) == files[2]["collectionHeader"]["numFonts"]
names = [r["string"] for r in files[1]["fonts"][0]["name"]["records"] if r["languageID"] == 0x411 and r["nameID"] == 1]
assert names == ["IPAゴシック"], names
# Tags as the directory holds them ("cvt " with its space), as fontTools reads them.
from fontTools.ttLib import TTFont
for f in files[:2]:
    tags = [t["tag"] for t in f["fonts"][0]["tables"]]
    assert sorted(tags) == sorted(TTFont(f["path"]).reader.keys()), (f["path"], tags)
assert "cvt " in [t["tag"] for t in files[1]["fonts"][0]["tables"]]
# One member per field: "version" of OS/2 stands once.
json.loads(open(sys.argv[2]).read(), object_pairs_hook=lambda pairs: (
    len({k for k, _ in pairs}) == len(pairs) or sys.exit("a member stands twice: %r" % [k for k, _ in pairs]), dict(pairs))[1])
PY

# Japanese names: UTF-8 in a UTF-8 locale, Shift-JIS bytes with --raw.
LC_ALL=C.UTF-8 "$q" --report "$ipag" | grep -q "NameString = IPAゴシック$" || fail "UTF-8 names in a UTF-8 locale"
LC_ALL=C.UTF-8 "$q" --report --raw "$ipag" | grep -qa "NameString = IPA$(printf '\x83\x53\x83\x56\x83\x62\x83\x4e')$" ||
  fail "--raw keeps the Shift-JIS bytes"

# Manual pages render without warnings; desktop files and metainfo validate.
for page in "$src"/docs/man/*.1; do
  out="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)"
  [ -z "$out" ] || fail "man -l $(basename "$page"): $out"
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q "^NAME" || fail "man -l $(basename "$page") renders nothing"
done
[ "$(ls "$src"/docs/man/*.1 | wc -l)" = 6 ] || fail "six manual pages"
desktop-file-validate "$src/editor/desktop/quillet.desktop" "$src/macconv/desktop/drumlin.desktop" || fail "desktop files"
appstreamcli validate --no-net --pedantic "$src/editor/desktop/org.marlowby.quillet.metainfo.xml" \
  "$src/macconv/desktop/org.marlowby.drumlin.metainfo.xml" >"$work/as.txt" 2>&1 || fail "metainfo: $(cat "$work/as.txt")"

[ "$failures" = 0 ] && echo "shell programs: all checks passed"
exit $((failures != 0))
