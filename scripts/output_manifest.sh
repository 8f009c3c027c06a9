#!/usr/bin/env bash
# Runs every headless command of quillet and drumlin and every console tool of
# a build on a fixed set of inputs and writes one line per run: what it worked
# on, the command, its exit status and the sha256 of its standard output, its
# standard error and every file it wrote or removed.
#   scripts/output_manifest.sh BIN_DIR MANIFEST
# The programs run from copies in a fresh temporary folder (box), each run in
# a clean work folder with only its inputs, so settings files land in the box
# and two manifests never meet. The box's path is replaced by @BOX@ in
# everything hashed, and every command names its files relative to the work
# folder, so manifests made in different folders compare equal. Written files
# are named by their place in the box: bin/ (programs, settings files), work/,
# home/ (HOME), tmp/ (TMPDIR) and run/ (XDG_RUNTIME_DIR).
# A bin folder of the Windows build (quillet.exe, sumkit.dll) runs under Wine
# with the same commands, so that the manifests of the two builds compare
# equal (scripts/windows_compare.sh). There the library's name, the box as
# Wine shows it (Z:\...\bin) and the system's words for a missing file and
# a name that exists are written as on Linux before hashing.
# SUITE_MANIFEST_SET=fonts leaves out the fuzz corpora and the start of the
# window: the headless commands and console tools on the fonts and their
# tables alone. SUITE_MANIFEST_LANG is the runs' locale (default C.UTF-8).
# Inputs: tests/data/sample.ttf, the fuzz corpora, DejaVu Sans, IPA Gothic,
# a Noto CJK collection, the tables exported from them, Mac tables made from
# those and the fonts wrapped in Mac data.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BIN_DIR MANIFEST" >&2
  exit 2
fi
bin_dir=$(realpath "$1")
manifest=$(realpath -m "$2")
root=$(cd "$(dirname "$0")/.." && pwd)
corpus="$root/fuzz/corpus"
python=$(command -v python3)
programs=(quillet drumlin pellout pellin corvout corvin libsumkit.so)
exe="" library=libsumkit.so runner=() run_env=(TMPDIR="@BOX@/tmp")
if [ -f "$bin_dir/quillet.exe" ]; then
  # Wine keeps its server's socket under TMPDIR and its prefix under HOME:
  # both stay the caller's, as the runs get a HOME of their own. The
  # programs' temporary folder is then Wine's, outside the box.
  exe=.exe library=sumkit.dll runner=(wine)
  run_env=(WINEPREFIX="${WINEPREFIX:-$HOME/.wine}" WINEDEBUG=-all TMPDIR="${TMPDIR:-/tmp}")
  programs=(quillet.exe drumlin.exe pellout.exe pellin.exe corvout.exe corvin.exe sumkit.dll)
fi

box=$(realpath "$(mktemp -d "${TMPDIR:-/tmp}/outputs.XXXXXXXX")")
trap 'rm -rf "$box"' EXIT
run_env=("${run_env[@]/@BOX@/$box}")
box_re=$(printf '%s' "$box" | sed 's/[][\/.*^$]/\\&/g')
# Wine shows the box as Z:\tmp\outputs.XXXXXXXX.
set_=${SUITE_MANIFEST_SET:-all}
box_win_re=$(printf 'Z:%s' "$box" | tr / '\\' | sed 's/[][\/.*^$\\]/\\&/g')
mkdir -p "$box/programs" "$box/store" "$box/meta"
for p in "${programs[@]}"; do cp "$bin_dir/$p" "$box/programs/"; done
: >"$manifest"

# Builders of inputs; only the Python standard library.
cat >"$box/helper.py" <<'PY'
import sys

def u16(b, o): return int.from_bytes(b[o:o + 2], 'big')
def u32(b, o): return int.from_bytes(b[o:o + 4], 'big')
def p16(v): return (v & 0xFFFF).to_bytes(2, 'big')
def read(path): return open(path, 'rb').read()
def write(path, data): open(path, 'wb').write(data)

def directory(font, offset=0):
    """The entries (tag, offset, length) at `offset`, None when cut short."""
    count = u16(font, offset + 4) if len(font) >= offset + 6 else 0
    if count and len(font) < offset + 12 + 16 * count: return None
    return [(font[e:e + 4], u32(font, e + 8), u32(font, e + 12))
            for e in (offset + 12 + 16 * k for k in range(count))]

def tags(path):
    """The tags of a font's directory, of a collection's last font."""
    font, offset = read(path), 0
    if font[:4] == b'ttcf' and len(font) >= 16:
        count = u32(font, 8)
        if count and len(font) >= 12 + 4 * count: offset = u32(font, 8 + 4 * count)
    entries = directory(font, offset) or []
    sys.stdout.buffer.write(b''.join(tag + b'\n' for tag, _, _ in entries if b'\n' not in tag))

def edit(path, out):
    """A quillet_edit input the way its fuzz target reads it: the command, the
    font's name, the picked tag and the tag to add; writes the font and the
    table file for add into `out`."""
    data = read(path)
    command, pick, font = data[0] & 3, data[1], data[6:]
    add_tag = data[2:6].split(b'\0')[0]  # as far as a program's argument reaches
    name = path.rsplit('/', 1)[-1].rsplit('.', 1)[0] + ('.ttc' if data[0] & 4 else '.ttf')
    entries = directory(font)
    picked = entries[pick % len(entries)][0] if entries else b'head'
    write(out + '/' + name, font)
    write(out + '/' + name + '.table', font[:pick])
    words = [b'recalc export add delete'.split()[command], name.encode(), picked, add_tag]
    sys.stdout.buffer.write(b''.join(w + b'\n' for w in words))

def unicode_map(cmap):
    """Code -> glyph of the (3, 1) format 4 subtable of a cmap table."""
    glyphs = {}
    for r in range(u16(cmap, 2)):
        at = 4 + 8 * r
        sub = u32(cmap, at + 4)
        if (u16(cmap, at), u16(cmap, at + 2)) != (3, 1) or u16(cmap, sub) != 4: continue
        segs = u16(cmap, sub + 6) // 2
        ends, starts = sub + 14, sub + 16 + 2 * segs
        deltas, ranges = starts + 2 * segs, starts + 4 * segs
        for s in range(segs):
            start, end, delta = u16(cmap, starts + 2 * s), u16(cmap, ends + 2 * s), u16(cmap, deltas + 2 * s)
            ro = u16(cmap, ranges + 2 * s)
            for code in range(start, min(end, 0xFFFE) + 1):
                g = u16(cmap, ranges + 2 * s + ro + 2 * (code - start)) if ro else code
                if g and (g + delta) & 0xFFFF: glyphs[code] = (g + delta) & 0xFFFF
        break
    return glyphs

def shift_jis_char(code):
    try:
        text = (bytes([code]) if code < 256 else code.to_bytes(2, 'big')).decode('shift_jis')
    except UnicodeDecodeError:
        return None
    return ord(text) if len(text) == 1 else None

def mac_cmap(path, out):
    """A Mac Japanese cmap: one (1, 1) format 2 subtable giving every
    Shift-JIS code the glyph the font's Unicode map gives its character."""
    glyphs = unicode_map(read(path))
    glyph = lambda code: glyphs.get(shift_jis_char(code), 0)
    leads = list(range(0x81, 0xA0)) + list(range(0xE0, 0xEB))
    keys = bytearray(512)
    for k, lead in enumerate(leads): keys[2 * lead:2 * lead + 2] = p16(8 * (k + 1))
    start = 518 + 8 * (1 + len(leads))
    headers = p16(0) + p16(256) + p16(0) + p16(start - 524)
    arrays = b''.join(p16(glyph(c)) for c in range(256))
    for k, lead in enumerate(leads):
        at = 518 + 8 * (k + 1)
        headers += p16(0x40) + p16(0xFC - 0x40 + 1) + p16(0) + p16(start + len(arrays) - (at + 6))
        arrays += b''.join(p16(glyph(lead * 256 + t)) for t in range(0x40, 0xFD))
    sub = bytearray(p16(2) + p16(0) + p16(0) + bytes(keys) + headers + arrays)
    sub[2:4] = p16(len(sub))
    write(out, p16(0) + p16(1) + p16(1) + p16(1) + (12).to_bytes(4, 'big') + bytes(sub))

def mac_name(path, out):
    """A Mac Japanese name table: the font's Windows Japanese names (English
    when it has none) in Shift-JIS as (1, 1, 11), and a Mac Roman family."""
    table = read(path)
    count, strings = u16(table, 2), u16(table, 4)
    names = {}
    for r in range(count):
        at = 6 + 12 * r
        p, e, lang, nid, length, off = (u16(table, at + 2 * k) for k in range(6))
        if (p, e) == (3, 1): names.setdefault(lang, []).append(
            (nid, table[strings + off:strings + off + length].decode('utf-16-be', 'replace')))
    chosen = names.get(0x411) or names.get(0x409) or []
    family = dict(chosen).get(1, 'Font').encode('ascii', 'replace')
    records = [(1, 0, 0, 1, family)] + [(1, 1, 11, nid, s.encode('shift_jis', 'replace')) for nid, s in chosen]
    head, body = p16(0) + p16(len(records)) + p16(6 + 12 * len(records)), b''
    for p, e, lang, nid, s in records:
        head += p16(p) + p16(e) + p16(lang) + p16(nid) + p16(len(s)) + p16(len(body))
        body += s
    write(out, head + body)

def wrap(path, out):
    """A font the way Mac data holds it: junk bytes, then "true" in place of
    its version."""
    write(out, (b'RESOURCE-FORK-DATA ' * 53)[:1000] + b'true' + read(path)[4:])

def split(path, ini, folder):
    """A corvin_profile input: the profile, then 000.txt, 001.txt ... as parts;
    prints the swap flag its first line gives."""
    parts = read(path).split(b'\n--next file--\n', 8)
    write(ini, parts[0])
    for n, part in enumerate(parts[1:]): write('%s/%03d.txt' % (folder, n), part)
    print('u2' if parts[0].startswith(b'u2\n') else 'u' if parts[0].startswith(b'u\n') else '')

globals()[sys.argv[1]](*sys.argv[2:])
PY
helper() { "$python" "$box/helper.py" "$@"; }

# A clean box for one run: the programs in bin/, empty work, home, temp and
# runtime folders.
fresh() {
  rm -rf "$box/bin" "$box/work" "$box/home" "$box/tmp" "$box/run"
  mkdir -p "$box/bin" "$box/work" "$box/home/.config" "$box/tmp" "$box/run"
  chmod 700 "$box/run"
  ln "$box/programs/"* "$box/bin/"
}
# put NAME [PLACE]: a copy of a stored file in the box (PLACE relative to it,
# default work/NAME), so that a program writing its input spoils no later run;
# a file an earlier run did not make is left out.
put() {
  if [ -e "$box/store/$1" ]; then cp "$box/store/$1" "$box/${2:-work/$1}"; fi
}
# keep PLACE [NAME]: a file of the box into the store for later runs.
keep() {
  if [ -f "$box/$1" ]; then ln -f "$box/$1" "$box/store/${2:-$(basename "$1")}"; fi
}
# Every file of the box but the store, with what changes when it is written.
snapshot() {
  (cd "$box" && find bin work home tmp run ! -type d -printf '%p\t%y %i %s %T@ %C@\n' | LC_ALL=C sort)
}
# Failure messages carry the system's reason in its own words: Wine's for a
# missing file and a name that exists are written as the C library's.
windows_names() {
  if [ -n "$exe" ]; then
    sed 's/\bsumkit\.dll\b/libsumkit.so/g; s/\bFile not found\b/No such file or directory/g; s/\bThe file exists\b/File exists/g'
  else cat; fi
}
digest() {
  if grep -qF -- "$box" "$1" || { [ -n "$exe" ] && grep -qiF -- "Z:" "$1"; }; then
    sed "s/$box_re/@BOX@/g; s/$box_win_re/@BOX@/gI; s|@BOX@\\\\bin|@BOX@/bin|g" "$1" | windows_names | sha256sum | cut -c1-64
  else windows_names <"$1" | sha256sum | cut -c1-64; fi
}
runs=0
# run PROGRAM ARGS...: runs PROGRAM in the work folder and writes its manifest
# line, which starts with the context that `on` set.
run() {
  local program=$1 status=0 path line words=""
  shift
  if [ $# -gt 0 ]; then words=$(printf ' %q' "$@"); fi
  snapshot >"$box/meta/before"
  (cd "$box/work" && timeout 120 env -i PATH=/usr/bin:/bin LANG="${SUITE_MANIFEST_LANG:-C.UTF-8}" HOME="$box/home" \
     XDG_CONFIG_HOME="$box/home/.config" XDG_RUNTIME_DIR="$box/run" "${run_env[@]}" \
     "${runner[@]}" "$box/bin/$program$exe" "$@" </dev/null >"$box/meta/out" 2>"$box/meta/err" ) || status=$?
  snapshot >"$box/meta/after"
  line="$context | $program$words | exit $status | out $(digest "$box/meta/out")"
  line+=" | err $(digest "$box/meta/err")"
  while IFS= read -r path; do
    if [ -f "$box/$path" ]; then line+=" | $path $(digest "$box/$path")"; else line+=" | $path special"; fi
  done < <(LC_ALL=C comm -13 "$box/meta/before" "$box/meta/after" | cut -f1)
  while IFS= read -r path; do
    line+=" | $path removed"
  done < <(LC_ALL=C comm -23 <(cut -f1 "$box/meta/before") <(cut -f1 "$box/meta/after"))
  printf '%s\n' "$line" >>"$manifest"
  runs=$((runs + 1))
}
start=$SECONDS

# --- Inputs ------------------------------------------------------------------
fonts=(sample.ttf)
cp "$root/tests/data/sample.ttf" "$box/store/sample.ttf"
add_font() {  # NAME CANDIDATES...: the first system font that exists
  local name=$1 path
  shift
  for path in "$@"; do
    if [ -f "$path" ]; then cp "$path" "$box/store/$name"; fonts+=("$name"); return; fi
  done
}
add_font dejavu.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
add_font ipag.ttf /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
  $(find /usr/share/fonts -name ipag.ttf 2>/dev/null | LC_ALL=C sort)
add_font noto.ttc /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc \
  $(find /usr/share/fonts -name 'Noto*CJK*.ttc' 2>/dev/null | LC_ALL=C sort)
printf 'a file that was here before\n' >"$box/store/taken"
for f in "$corpus"/quillet_report/*; do  # first byte: bit 0 names the file .ttc
  name=$(basename "${f%.*}")
  if (( $(od -An -tu1 -N1 "$f") & 1 )); then name="qr_$name.ttc"; else name="qr_$name.ttf"; fi
  tail -c +2 "$f" >"$box/store/$name"
  cp "$f" "$box/store/qr-raw_$(basename "$f")"
done
for f in "$corpus"/font_directory/*; do cp "$f" "$box/store/fd_$(basename "$f")"; done

# on CONTEXT NAMES...: a clean box for the next runs, the stored NAMES in work/.
on() {
  context=$1
  shift
  fresh
  local name
  for name in "$@"; do put "$name"; done
}
stem() { local b=${1%.*}; printf '%s' "${b:-$1}"; }
ext() { printf '%s' "${1##*.}"; }

# --- Usage, missing files, taken outputs ----------------------------------------
if [ "$set_" = all ]; then on usage; run quillet; fi  # the window's start, where there is a window
on usage sample.ttf; run quillet --bogus sample.ttf
on usage sample.ttf; run quillet --recalc sample.ttf
on usage sample.ttf; run quillet --add sample.ttf abcde sample.ttf out.ttf
on missing; run quillet --report none.ttf
on taken sample.ttf; run quillet --recalc sample.ttf sample.ttf
on taken sample.ttf taken; run quillet --export sample.ttf head taken
on no-library sample.ttf; rm "$box/bin/$library"; run quillet --recalc sample.ttf fixed.ttf
on usage; run drumlin --bogus
on usage sample.ttf; run drumlin --extract sample.ttf
on usage sample.ttf; run drumlin --name sample.ttf extra
on missing; run drumlin --cmap none.cmap out.cmap
on missing; run drumlin --extract none.bin out.ttf
for tool in pellout pellin corvout corvin; do
  on usage; run "$tool"
  on usage taken; run "$tool" taken taken taken
  on missing; run "$tool" none.ini
done

# --- quillet: report, JSON, check and recalculation ------------------------------------------
report_fonts=("${fonts[@]}")
if [ "$set_" = all ]; then
  for f in "$box"/store/qr_* "$box"/store/qr-raw_* "$box"/store/fd_*; do report_fonts+=("$(basename "$f")"); done
fi
for f in "${report_fonts[@]}"; do
  fixed="$(stem "$f").fixed.$(ext "$f")"
  on "$f" "$f"; run quillet --report "$f"
  on "$f" "$f"; run quillet --json "$f"
  on "$f" "$f"; run quillet --check "$f"
  on "$f" "$f"; run quillet --recalc "$f" "$fixed"; keep "work/$fixed"
  on "$f" "$fixed"; run quillet --report "$fixed"
done

# --- quillet: the edit corpus, its own command, then every tag ---------------------
if [ "$set_" = all ]; then
for f in "$corpus"/quillet_edit/*; do
  mapfile -t words < <(helper edit "$f" "$box/store")
  command=${words[0]} name=${words[1]} picked=${words[2]} tag=${words[3]}
  context="quillet_edit/$(basename "$f")"
  on "$context" "$name" "$name.table"
  case $command in
    recalc) run quillet --recalc "$name" out.ttf ;;
    export) run quillet --export "$name" "$picked" out.table ;;
    add) run quillet --add "$name" "$tag" "$name.table" out.ttf ;;
    delete) run quillet --delete "$name" "$picked" out.ttf ;;
  esac
  [ "$command" = add ] || { on "$context" "$name" "$name.table"; run quillet --add "$name" "$tag" "$name.table" out.ttf; }
  sum=$(sha256sum <"$box/store/$name")  # every tag once for each distinct font
  case " ${seen:-} " in *" $sum "*) continue ;; esac
  seen="${seen:-} $sum"
  mapfile -t tags < <(helper tags "$box/store/$name")
  for t in "${tags[@]}"; do
    on "$context" "$name"; run quillet --export "$name" "$t" out.table
    on "$context" "$name"; run quillet --delete "$name" "$t" out.ttf
  done
done
fi

# --- The system fonts and the sample: tables out, through the console tools and
# the converter, and back in ------------------------------------------------
for f in "${fonts[@]}"; do
  s=$(stem "$f") e=$(ext "$f")
  for tag in OS/2 name cmap head hhea maxp glyf; do
    on "$f" "$f"; run quillet --export "$f" "$tag" "$s.${tag/\//_}"; keep "work/$s.${tag/\//_}"
  done
  on "$f" "$s.OS_2"; run pellout "$s.OS_2"; keep bin/Pellout.ini "$s.Pellout.ini"
  on "$f"; put "$s.Pellout.ini" bin/Pellout.ini; run pellin Pellout.ini; keep "work/$s.OS_2" "$s.rebuilt.OS_2"
  for flag in "" u; do
    on "$f" "$s.name"; run corvout "$s.name" ${flag:+"$flag"}
    keep bin/Corvout.ini "$s.Corvout$flag.ini"
    mkdir -p "$box/store/$s.texts$flag"
    find "$box/work" -maxdepth 1 -name '*.txt' -exec ln -t "$box/store/$s.texts$flag" {} +
    on "$f"; put "$s.Corvout$flag.ini" bin/Corvout.ini
    find "$box/store/$s.texts$flag" -type f -exec cp -t "$box/work" {} +
    run corvin Corvout.ini ${flag:+"$flag"}; keep "work/$s.name" "$s.rebuilt$flag.name"
  done
  # Take a table out, put the rebuilt one back, repair and report the result.
  for table in OS/2 name; do
    t=${table/\//_}
    on "$f" "$f"; run quillet --delete "$f" "$table" "$s.no-$t.$e"; keep "work/$s.no-$t.$e"
    on "$f" "$s.no-$t.$e" "$s.rebuilt.$t"
    run quillet --add "$s.no-$t.$e" "$table" "$s.rebuilt.$t" "$s.back-$t.$e"; keep "work/$s.back-$t.$e"
    on "$f" "$s.back-$t.$e"; run quillet --recalc "$s.back-$t.$e" "$s.fixed-$t.$e"; keep "work/$s.fixed-$t.$e"
    on "$f" "$s.fixed-$t.$e"; run quillet --report "$s.fixed-$t.$e"
  done
  on "$f" "$f" "$s.head"; run quillet --add "$f" abc "$s.head" "$s.abc.$e"   # a short tag
  on "$f" "$f" "$s.head"; run quillet --add "$f" head "$s.head" "$s.head2.$e" # a tag it has
  # The converter on the Windows tables, on Mac tables made from them, and on
  # the font wrapped in Mac data.
  on "$f" "$s.cmap"; run drumlin --cmap "$s.cmap" "$s.win.cmap"
  on "$f" "$s.cmap"; run drumlin --dump "$s.cmap" "$s.txt"
  on "$f" "$s.name"; run drumlin --name "$s.name"
  if [ -e "$box/store/$s.cmap" ]; then
    helper mac_cmap "$box/store/$s.cmap" "$box/store/$s.mac.cmap"
    on "$f" "$s.mac.cmap"; run drumlin --cmap "$s.mac.cmap" "$s.win.cmap"
    on "$f" "$s.mac.cmap"; run drumlin --dump "$s.mac.cmap" "$s.txt"
  fi
  if [ -e "$box/store/$s.name" ]; then
    helper mac_name "$box/store/$s.name" "$box/store/$s.mac.name"
    on "$f" "$s.mac.name"; run drumlin --name "$s.mac.name"
  fi
  if [ "$e" = ttf ]; then
    helper wrap "$box/store/$f" "$box/store/$s suitcase"
    on "$f" "$s suitcase"; run drumlin --extract "$s suitcase" "$s.extracted.ttf"
  fi
done
on plain sample.ttf; run drumlin --extract sample.ttf out.ttf
# Settings files of an earlier run: entries of another table stay.
on carried ipag.OS_2; put sample.Pellout.ini bin/Pellout.ini; run pellout ipag.OS_2
on carried sample.name; put ipag.Corvout.ini bin/Corvout.ini; run corvout sample.name
keep bin/Corvout.ini carried.Corvout.ini
on carried; put carried.Corvout.ini bin/Corvout.ini
find "$box/store/sample.texts" -type f -exec cp -t "$box/work" {} +
run corvin Corvout.ini

if [ "$set_" = all ]; then
# --- The console tools' corpora ----------------------------------------------
for f in "$corpus"/pellout_table/*; do
  n=$(basename "$f") && cp "$f" "$box/store/pt_$n"
  on "pellout_table/$n" "pt_$n"; run pellout "pt_$n"; keep bin/Pellout.ini "pt_$n.ini"
  on "pellout_table/$n"; put "pt_$n.ini" bin/Pellout.ini; run pellin Pellout.ini
done
for f in "$corpus"/corvout_table/*; do
  n=$(basename "$f") && cp "$f" "$box/store/ct_$n"
  for flag in "" u; do
    on "corvout_table/$n" "ct_$n"; run corvout "ct_$n" ${flag:+"$flag"}
    mkdir -p "$box/meta/texts" && mv "$box/bin/Corvout.ini" "$box/work/"*.txt "$box/meta/texts/" 2>/dev/null || true
    on "corvout_table/$n"; mv "$box/meta/texts/Corvout.ini" "$box/bin/" 2>/dev/null || true
    find "$box/meta/texts" -type f -exec mv -t "$box/work" {} +
    run corvin Corvout.ini ${flag:+"$flag"}
  done
done
for f in "$corpus"/pellin_profile/*; do
  n=$(basename "$f")
  on "pellin_profile/$n"; cp "$f" "$box/bin/$n"; put taken work/taken.os_2; run pellin "$n"
done
for f in "$corpus"/corvin_profile/*; do
  n=$(basename "$f")
  on "corvin_profile/$n"; flag=$(helper split "$f" "$box/bin/$n" "$box/work"); put taken work/taken.name
  run corvin "$n" ${flag:+"$flag"}
done

# --- The converter's corpora -----------------------------------------------------
for f in "$corpus"/drumlin_extract/*; do
  n=$(basename "$f") && cp "$f" "$box/store/$n"
  on "drumlin_extract/$n" "$n"; run drumlin --extract "$n" out.ttf
done
for f in "$corpus"/drumlin_cmap/*; do
  n=$(basename "$f") && cp "$f" "$box/store/$n"
  on "drumlin_cmap/$n" "$n"; run drumlin --cmap "$n" out.cmap
  on "drumlin_cmap/$n" "$n"; run drumlin --dump "$n" out.txt
done
for f in "$corpus"/drumlin_name/*; do
  n=$(basename "$f") && cp "$f" "$box/store/$n"
  on "drumlin_name/$n" "$n"; run drumlin --name "$n"; run drumlin --name "$n"  # the second is refused
done
fi
on taken sample\ suitcase mac_japanese.cmap taken
run drumlin --extract "sample suitcase" taken
run drumlin --cmap mac_japanese.cmap taken
run drumlin --dump mac_japanese.cmap taken

echo "$runs runs in $((SECONDS - start)) s: $manifest" >&2
