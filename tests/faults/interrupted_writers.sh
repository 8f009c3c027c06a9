#!/usr/bin/env bash
# Runs cut off on the way, and what the next run makes of their files:
#   - corvout killed while it moves its set into place leaves a set that
#     corvin refuses (or the old set), never old records over new strings;
#     a profile file as corvout wrote it before the mark existed converts;
#   - staged files that killed runs left are removed by the next run that
#     stages a file in their folder, and only those provably abandoned.
#   interrupted_writers.sh BIN_DIR FAULT_SHIM NO_TMPFILE_SHIM MAKE_SAMPLE_FONT
set -u
bin=$1 fault_shim=$2 no_tmpfile=$3 make_font=$4
box=$(mktemp -d) || exit 1
trap 'rm -rf "$box"' EXIT
mkdir -p "$box/bin" "$box/work/in" "$box/tmp"
for p in quillet libsumkit.so pellout corvout corvin; do cp "$bin/$p" "$box/bin/"; done
export TMPDIR=$box/tmp
tools=$box/bin
cd "$box/work" || exit 1

# With the address sanitizer its runtime has to come first.
asan=""
if asan=$(ldd "$tools/corvout" | grep -o '/[^ ]*libasan[^ ]*'); then
  asan=$asan:
  export ASAN_OPTIONS=${ASAN_OPTIONS:-}:verify_asan_link_order=0:detect_leaks=0
fi

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
pass() { echo "ok   $*"; }

# A format-0 name table of COUNT records whose strings begin with TAG, laid
# out as corvin lays it out (strings back to back in record order), so that
# a faithful round trip gives the same bytes.
make_table() {
  python3 - "$1" "$2" "$3" <<'PY'
import struct, sys
path, count, tag = sys.argv[1], int(sys.argv[2]), sys.argv[3]
strings = [('%s string %d' % (tag, n)).encode('utf-16-be') for n in range(count)]
records, offset = b'', 0
for n, s in enumerate(strings):
    records += struct.pack('>6H', 3, 1, 0x409, n % 256, len(s), offset)
    offset += len(s)
open(path, 'wb').write(struct.pack('>3H', 0, count, 6 + 12 * count) + records + b''.join(strings))
PY
}

# --- corvout's set -----------------------------------------------------------
records=150
make_table in/a.name $records A && make_table in/b.name $records B || { echo "setup: no tables"; exit 1; }
cp in/a.name a.orig && cp in/b.name b.orig

# corvin on Corvout.ini into the table it names (removed first); prints its
# output and status into corvin.out.
convert() {
  rm -f in/a.name in/b.name
  "$tools/corvin" Corvout.ini >corvin.out 2>&1
  echo "status $?" >>corvin.out
}

"$tools/corvout" in/a.name >/dev/null; [ $? = 1 ] || fail "corvout a.name"
cp in/b.name b.name.keep

# Killed at the 101st move: the profile file (first) and 99 text files are in place.
cp b.name.keep in/b.name
env LD_PRELOAD="$asan$fault_shim" FAULT_KILL_AT_RENAME=101 "$tools/corvout" in/b.name >/dev/null 2>&1
status=$?
convert
if [ $status != 137 ]; then fail "corvout-killed-midway: not killed (status $status)"
elif grep -qx "Corvout.ini: corvout was interrupted; run it again" corvin.out && grep -qx "status 255" corvin.out &&
     [ ! -e in/a.name ] && [ ! -e in/b.name ]; then pass "corvout-killed-midway: corvin refuses the set"
else fail "corvout-killed-midway: corvin did not refuse"; sed 's/^/  /' corvin.out | tail -3; fi

# A reader that knows no mark finds no table file named, and refuses too.
grep -v "^Unfinished=" "$tools/Corvout.ini" >old-reader.ini
cp old-reader.ini "$tools/OldReader.ini"
"$tools/corvin" OldReader.ini >old-reader.out 2>&1
status=$?
if [ $status = 255 ] && grep -q "Can not open a file" old-reader.out && [ ! -e in/b.name ]; then
  pass "marked-profile-without-the-mark: refused"
else fail "marked-profile-without-the-mark: status $status"; fi
rm -f "$tools/OldReader.ini"

# Killed between the last text file and the unmarked profile file.
cp b.name.keep in/b.name
env LD_PRELOAD="$asan$fault_shim" FAULT_KILL_AT_RENAME=$((records + 2)) "$tools/corvout" in/b.name >/dev/null 2>&1
status=$?
convert
if [ $status = 137 ] && grep -qx "Corvout.ini: corvout was interrupted; run it again" corvin.out &&
   grep -qx "status 255" corvin.out; then pass "corvout-killed-before-last-move: corvin refuses the set"
else fail "corvout-killed-before-last-move: status $status"; sed 's/^/  /' corvin.out | tail -3; fi

# The next complete run leaves a whole set, without the mark.
cp b.name.keep in/b.name
"$tools/corvout" in/b.name >/dev/null; [ $? = 1 ] || fail "corvout b.name again"
convert
if grep -qx "status 1" corvin.out && cmp -s in/b.name b.orig && ! grep -q "^Unfinished=" "$tools/Corvout.ini"; then
  pass "corvout-run-again: converts to the new table"
else fail "corvout-run-again"; sed 's/^/  /' corvin.out | tail -3; fi

# A run killed before its first move leaves the old set, which converts.
cp b.name.keep in/a.name
env LD_PRELOAD="$asan$fault_shim" FAULT_KILL_AT_RENAME=1 "$tools/corvout" in/a.name >/dev/null 2>&1
convert
if grep -qx "status 1" corvin.out && cmp -s in/b.name b.orig; then pass "corvout-killed-before-moving: old set converts"
else fail "corvout-killed-before-moving"; sed 's/^/  /' corvin.out | tail -3; fi

# A profile file in the form corvout wrote before the mark (and still
# writes when it completes) converts.
mkdir -p old && printf 'AB' >old/000.txt && printf '\0x\0y' >old/001.txt
printf '[SUMMARY]\r\nFileName=old/old.name\r\nnumOfNameRec=2\r\n[0]\r\nPlatformID=1\r\nencodingID=0\r\nLanguageID=0\r\nNameID=1\r\nStringLen=2\r\nFileName=old/000.txt\r\n[1]\r\nPlatformID=3\r\nencodingID=1\r\nLanguageID=1033\r\nNameID=2\r\nStringLen=4\r\nFileName=old/001.txt\r\n' >"$tools/Old.ini"
"$tools/corvin" Old.ini >old.out 2>&1
status=$?
want=00000002001e000100000000000100020000000300010409000200040002414200780079
got=$(od -An -tx1 -v old/old.name 2>/dev/null | tr -d ' \n')
if [ $status = 1 ] && [ "$got" = "$want" ]; then pass "old-profile-converts"
else fail "old-profile-converts: status $status, table $got"; fi
rm -f "$tools/Old.ini"

# --- stale staged files --------------------------------------------------------
host=$(uname -n | tr -d '\n' | head -c 64 | tr -c 'A-Za-z0-9-' '_')
sh -c 'exit 0' &
dead=$!
wait $dead
# Files that the sweep must remove, and files it must leave.
stale=(".old.ttf.part-$host.p$dead.aaaaaa" ".old.ttf.part-elsewhere.h4242.bbbbbb")
kept=(".live.ttf.part-elsewhere.h4242.cccccc" ".live.ttf.part-$host.h$$.dddddd" ".live.ttf.part-$host.p$$.eeeeee"
      ".live.ttf.part-elsewhere.p4242.ffffff" ".plain.ttf.part-gggggg" ".nothing-staged")
plant() {
  local folder=$1 name
  for name in "${stale[@]}" "${kept[@]}"; do printf 'partial' >"$folder/$name"; done
}
# The live file of another machine: its lock held by this shell.
hold() { exec 9<>"$1/${kept[0]}" && flock -x 9; }
release() { exec 9>&-; }
# check NAME FOLDER: the stale files are gone, the others are there.
check_swept() {
  local name=$1 folder=$2 why="" f
  for f in "${stale[@]}"; do [ -e "$folder/$f" ] && why="$why; $f stayed"; done
  for f in "${kept[@]}"; do [ -e "$folder/$f" ] || why="$why; $f went"; done
  if [ -z "$why" ]; then pass "$name"; else fail "$name$why"; fi
  for f in "${stale[@]}" "${kept[@]}"; do rm -f "$folder/$f"; done
}

"$make_font" font.ttf || { echo "setup: no font"; exit 1; }
mkdir -p sweep
# An output written through a staged file (no unnamed files on this file system).
plant sweep && hold sweep
env LD_PRELOAD="$asan$no_tmpfile" "$tools/quillet" --export font.ttf name sweep/name.bin >/dev/null 2>&1 ||
  fail "quillet --export without unnamed files"
release
[ -s sweep/name.bin ] || fail "quillet wrote no table"
check_swept "export-sweeps-its-folder" sweep

# The text files of corvout, staged in the folder it runs in.
plant sweep && hold sweep
cp b.orig sweep/c.name
(cd sweep && "$tools/corvout" c.name >/dev/null); [ $? = 1 ] || fail "corvout in the sweep folder"
release
check_swept "corvout-sweeps-its-folder" sweep

# The program folder, where the settings files are staged.
"$tools/quillet" --export font.ttf OS/2 os2.bin >/dev/null 2>&1 || fail "quillet --export OS/2"
plant "$tools" && hold "$tools"
"$tools/pellout" os2.bin >/dev/null; [ $? = 1 ] || fail "pellout"
release
check_swept "pellout-sweeps-the-program-folder" "$tools"

# The killed runs' text files are gone after the next run in their folder,
# and no run leaves a staged file of its own.
cp b.orig in/b.name
"$tools/corvout" in/b.name >/dev/null; [ $? = 1 ] || fail "corvout b.name at the end"
left=$(find "$box/work" "$tools" -name '.*.part-*' | head -3)
[ -z "$left" ] && pass "no-staged-file-left" || fail "no-staged-file-left: $left"

echo "$failures failed"
[ "$failures" = 0 ]
