#!/usr/bin/env bash
# Kills the writing commands with SIGKILL at random moments and checks what
# the next run finds: no staged file (".*.part-*") left, no output at its
# final name that is not complete, and no corvout set that mixes two runs
# (corvin converts it to exactly one run's table, or refuses it as
# interrupted). Each command is killed RUNS times at a moment drawn evenly
# from the length of an unkilled run, once as the file system is and once
# with O_TMPFILE refused through a preloaded shim (tests/support/
# no_tmpfile_shim.c), as on NFS or CIFS, where every output is staged under
# a name.
#   scripts/kill_run.sh [RUNS] [BUILD_FOLDER]    (40 runs, build/default)
# The commands: quillet --recalc and --export on the Noto CJK collection;
# drumlin --extract-all on its first two fonts wrapped in a .dfont
# (--extract-all reads Mac resource data, not collections); quillet --add
# and --delete on IPA Gothic; drumlin --extract on a .dfont of IPA Gothic;
# corvout and corvin on name tables of 3000 records; pellin. The work
# folder is on /dev/shm where there is one, so that the runs are short.
set -u
runs=${1:-40}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build/default}
bin=$(cd "$build/bin" 2>/dev/null && pwd) || { echo "no programs in $build/bin"; exit 1; }
noto=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
ipag=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
python=/usr/bin/python3
for f in "$noto" "$ipag" "$python"; do [ -e "$f" ] || { echo "missing $f"; exit 1; }; done

base=$(mktemp -d -p /dev/shm kill-run.XXXXXX 2>/dev/null || mktemp -d) || exit 1
trap 'rm -rf "$base"' EXIT
cc -O2 -shared -fPIC -o "$base/no_tmpfile.so" "$root/tests/support/no_tmpfile_shim.c" -ldl || exit 1

# --- inputs ------------------------------------------------------------------
in=$base/in
mkdir -p "$in"
cp "$ipag" "$in/ipag.ttf"
"$python" - "$noto" "$ipag" "$in" <<'PY' || { echo "setup: inputs"; exit 1; }
import struct, sys
noto, ipag, out = sys.argv[1:4]

def member(data, index):
    """One font of a collection as a font file of its own, tables in order."""
    offset = struct.unpack('>I', data[12 + 4 * index:16 + 4 * index])[0]
    count = struct.unpack('>H', data[offset + 4:offset + 6])[0]
    entries = [struct.unpack('>4sIII', data[offset + 12 + 16 * i:offset + 28 + 16 * i]) for i in range(count)]
    head = bytearray(data[offset:offset + 12])
    body, place = b'', 12 + 16 * count
    directory = b''
    for tag, checksum, start, length in entries:
        directory += struct.pack('>4sIII', tag, checksum, place + len(body), length)
        table = data[start:start + length]
        body += table + bytes(-len(table) % 4)
    return bytes(head) + directory + body

def dfont(path, fonts):
    """Mac resource data with each font as an 'sfnt' resource."""
    data, refs, names = b'', b'', b''
    for n, (name, font) in enumerate(fonts):
        refs += struct.pack('>hHI', 128 + n, len(names), len(data)) + bytes(4)
        names += bytes([len(name)]) + name
        data += struct.pack('>I', len(font)) + font
    types = struct.pack('>H', 0) + b'sfnt' + struct.pack('>HH', len(fonts) - 1, 10)
    body = struct.pack('>IHHHH', 0, 0, 0, 28, 28 + len(types) + len(refs)) + types + refs + names
    header = struct.pack('>IIII', 256, 256 + len(data), len(data), 16 + len(body))
    open(path, 'wb').write(header + bytes(240) + data + header + body)

collection = open(noto, 'rb').read()
dfont(out + '/noto.dfont', [(b'NotoJP', member(collection, 0)), (b'NotoKR', member(collection, 1))])
dfont(out + '/ipag.dfont', [(b'IPAGothic', open(ipag, 'rb').read())])

# Two name tables of 3000 records, laid out as corvin lays them out.
for name, tag in (('a', 'A'), ('b', 'B')):
    strings = [('%s%04d' % (tag, n)).encode('utf-16-be') for n in range(3000)]
    records, offset = b'', 0
    for n, s in enumerate(strings):
        records += struct.pack('>6H', 3, 1, 0x409, n % 256, len(s), offset)
        offset += len(s)
    open('%s/%s.name' % (out, name), 'wb').write(
        struct.pack('>3H', 0, 3000, 6 + 12 * 3000) + records + b''.join(strings))
PY

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

# Staged files in the folders of a command.
count_staged() { find "$@" -maxdepth 1 -name '.*.part-*' | wc -l; }

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# A delay in seconds drawn evenly from [0, MS milliseconds).
draw() { awk -v ms="$1" -v seed="$RANDOM$RANDOM" 'BEGIN { srand(seed); printf "%.3f", rand() * ms / 1000 }'; }

# --- one mode -----------------------------------------------------------------
# run_mode LABEL PRELOAD
run_mode() {
  local label=$1 preload=$2
  local w=$base/$label/work t=$base/$label/bin ref=$base/$label/ref
  mkdir -p "$w" "$t" "$ref"
  for p in quillet libsumkit.so drumlin pellout pellin corvout corvin; do cp "$bin/$p" "$t/"; done
  [ -e "$bin/libquillet-window.so" ] && cp "$bin/libquillet-window.so" "$t/"
  # Runs a program of the folder $t in $w, killed after DELAY seconds when
  # DELAY is given; sets status.
  launch() {
    local delay=$1; shift
    local pid
    (cd "$w" && exec env ${preload:+LD_PRELOAD="$preload"} "$t/$1" "${@:2}" >/dev/null 2>&1) &
    pid=$!
    if [ -n "$delay" ]; then sleep "$delay"; kill -9 "$pid" 2>/dev/null; fi
    wait "$pid" 2>/dev/null
    status=$?
  }

  # Each command: what it writes (OUTPUT, a file or a folder), what an
  # unkilled run gives (kept in $ref), and how long it takes.
  local -a names=(recalc export extract-all add delete extract corvout corvin pellin)
  declare -A cmd out ok_status
  cmd[recalc]="quillet --recalc $noto recalc.ttc";             out[recalc]=recalc.ttc
  cmd[export]="quillet --export $noto CFF export.cff";         out[export]=export.cff
  cmd[extract-all]="drumlin --extract-all $in/noto.dfont all"; out[extract-all]=all
  cmd[add]="quillet --add $in/ipag.ttf TEST $in/a.name add.ttf"; out[add]=add.ttf
  cmd[delete]="quillet --delete $in/ipag.ttf glyf delete.ttf"; out[delete]=delete.ttf
  cmd[extract]="drumlin --extract $in/ipag.dfont extract.ttf";  out[extract]=extract.ttf
  cmd[corvout]="corvout t.name";                              out[corvout]=""
  cmd[corvin]="corvin Corvout.ini";                           out[corvin]=t.name
  cmd[pellin]="pellin Pellout.ini";                           out[pellin]=os2.bin
  for n in recalc export extract-all add delete extract; do ok_status[$n]=0; done
  for n in corvout corvin pellin; do ok_status[$n]=1; done

  # pellin's profile file, from IPA Gothic's OS/2 table.
  (cd "$w" && "$t/quillet" --export "$in/ipag.ttf" OS/2 ipag.os2 >/dev/null && "$t/pellout" ipag.os2 >/dev/null)
  sed -i 's/^FileName=.*/FileName=os2.bin\r/' "$t/Pellout.ini"
  mkdir -p "$w/all"

  # The corvout set: `current` is the table the complete set holds.
  local current=a
  corvout_with() { rm -f "$w/t.name"; cp "$in/$1.name" "$w/t.name"; }

  declare -A ms kills finished stale
  local n
  for n in "${names[@]}"; do
    kills[$n]=0 finished[$n]=0 stale[$n]=0
    # The reference run, then a second one (its caches warm) timed.
    local start pass
    for pass in reference timed; do
      case $n in
        corvout) corvout_with a ;;
        corvin) rm -f "$w/t.name" ;;
      esac
      start=$(now_ms)
      launch "" ${cmd[$n]}
      ms[$n]=$(($(now_ms) - start))
      [ "$status" = "${ok_status[$n]}" ] || fail "$label $n: the unkilled run ended with $status"
      if [ $pass = reference ] && [ -n "${out[$n]}" ]; then
        rm -rf "${ref:?}/${out[$n]}"
        mv "$w/${out[$n]}" "$ref/"
        [ $n = extract-all ] && mkdir -p "$w/all"
      fi
    done
    case $n in
      corvout) ;;
      extract-all) rm -f "$w"/all/* ;;
      *) rm -f "$w/${out[$n]}" ;;
    esac
  done
  current=a

  # Whether OUTPUT (as left in $w) is absent or complete.
  # (corvin's table is the one the current set holds.)
  output_whole() {
    local name=$1 f want=$ref/$1
    if [ "$name" = all ]; then
      for f in "$w"/all/*; do [ -e "$f" ] || continue; cmp -s "$f" "$ref/all/${f##*/}" || return 1; done
      return 0
    fi
    [ "$name" = t.name ] && want=$in/$current.name
    [ ! -e "$w/$name" ] || cmp -s "$w/$name" "$want"
  }
  remove_output() {
    if [ "$1" = all ]; then rm -f "$w"/all/*; elif [ -n "$1" ]; then rm -f "$w/$1"; fi
  }
  # corvin on the set as it is: exactly table a or b, or refused as interrupted.
  set_state() {
    rm -f "$w/t.name"
    local said
    said=$(cd "$w" && "$t/corvin" Corvout.ini 2>&1)
    local s=$?
    if [ $s = 1 ] && { cmp -s "$w/t.name" "$in/a.name" || cmp -s "$w/t.name" "$in/b.name"; }; then echo whole
    elif [ $s = 255 ] && [[ "$said" == *"corvout was interrupted; run it again"* ]] && [ ! -e "$w/t.name" ]; then
      echo refused
    else echo "mixed (status $s)"; fi
    rm -f "$w/t.name"
  }

  local i sets_whole=0 sets_refused=0
  for ((i = 1; i <= runs; i++)); do
    for n in "${names[@]}"; do
      local next=$current
      case $n in
        corvout) next=$([ $current = a ] && echo b || echo a); corvout_with $next ;;
        corvin) rm -f "$w/t.name" ;;
      esac
      launch "$(draw "${ms[$n]}")" ${cmd[$n]}
      if [ "$status" = 137 ]; then kills[$n]=$((kills[$n] + 1)); else finished[$n]=$((finished[$n] + 1)); fi
      stale[$n]=$((stale[$n] + $(count_staged "$w" "$t" "$w/all")))
      if [ -n "${out[$n]}" ] && ! output_whole "${out[$n]}"; then fail "$label $n run $i: a partial ${out[$n]}"; fi
      if [ $n = corvout ]; then
        local state
        state=$(set_state)
        case $state in
          whole) sets_whole=$((sets_whole + 1)) ;;
          refused) sets_refused=$((sets_refused + 1)) ;;
          *) fail "$label corvout run $i: the set is $state" ;;
        esac
        corvout_with $next
      fi
      remove_output "${out[$n]}"
      # The next run, unkilled, in the same folders.
      launch "" ${cmd[$n]}
      [ "$status" = "${ok_status[$n]}" ] || fail "$label $n run $i: the next run ended with $status"
      [ $n = corvout ] && current=$next
      local left
      left=$(count_staged "$w" "$t" "$w/all")
      if [ "$left" != 0 ]; then
        fail "$label $n run $i: $left staged files left after the next run"
        find "$w" "$t" -maxdepth 2 -name '.*.part-*' -delete
      fi
      if [ -n "${out[$n]}" ] && ! output_whole "${out[$n]}"; then fail "$label $n run $i: the next run's output differs"; fi
      if [ $n = corvout ] && [ "$(set_state)" != whole ]; then fail "$label corvout run $i: the next run left no whole set"; fi
      remove_output "${out[$n]}"
      [ $n = corvin ] && rm -f "$w/t.name"
    done
  done

  echo "== $label: $runs runs per command"
  printf '%-12s %8s %6s %9s %12s %6s\n' command "run ms" kills finished "staged found" left
  for n in "${names[@]}"; do
    printf '%-12s %8s %6s %9s %12s %6s\n' "$n" "${ms[$n]}" "${kills[$n]}" "${finished[$n]}" "${stale[$n]}" \
      "$(count_staged "$w" "$t" "$w/all")"
  done
  echo "corvout sets after a killed run: $sets_whole converted to one run's table, $sets_refused refused as interrupted"
}

run_mode plain ""
run_mode no-tmpfile "$base/no_tmpfile.so"

echo "$failures failures"
[ "$failures" = 0 ]
