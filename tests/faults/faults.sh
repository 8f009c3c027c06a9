#!/usr/bin/env bash
# The fault table: every case runs a real program under a fault and expects a
# failure (status, message, no output) instead of a success it did not earn.
#   faults.sh BIN_DIR SHIM NO_EXPORTS_LIBRARY MAKE_SAMPLE_FONT
set -u
bin=$1 shim=$2 fake=$3 make_font=$4
box=$(mktemp -d) || exit 1
trap 'rm -rf "$box"' EXIT
mkdir -p "$box/bin" "$box/fake" "$box/work" "$box/tmp"
for p in quillet libsumkit.so drumlin pellout; do cp "$bin/$p" "$box/bin/"; done
cp "$bin/quillet" "$box/fake/" && cp "$fake" "$box/fake/libsumkit.so"
cd "$box/work" || exit 1
export TMPDIR=$box/tmp

# With the address sanitizer its runtime has to come first.
preload=$shim
if asan=$(ldd "$box/bin/quillet" | grep -o '/[^ ]*libasan[^ ]*'); then
  preload=$asan:$shim
  export ASAN_OPTIONS=${ASAN_OPTIONS:-}:verify_asan_link_order=0:detect_leaks=0
fi

"$make_font" font.ttf || exit 1
q=$box/bin/quillet d=$box/bin/drumlin
"$q" --export font.ttf name name.bin >/dev/null && "$q" --export font.ttf cmap cmap.bin >/dev/null &&
  "$q" --export font.ttf OS/2 os2.bin >/dev/null && "$q" --delete font.ttf post other.ttf >/dev/null || {
  echo "setup: could not export the sample's tables"; exit 1; }
mkfifo fifo

failures=0
# check NAME STATUS OUTPUT_THAT_MUST_NOT_EXIST TEXT_THAT_MUST_APPEAR -- COMMAND...
check() {
  local name=$1 want=$2 absent=$3 text=$4; shift 5
  local got
  timeout 20 "$@" >out.txt 2>err.txt </dev/null
  got=$?
  local why=""
  [ "$got" = "$want" ] || why="status $got, not $want"
  [ -n "$absent" ] && [ -e "$absent" ] && why="$why; $absent was written"
  [ -n "$text" ] && ! grep -qF -- "$text" out.txt err.txt && why="$why; no \"$text\""
  if [ -n "$why" ]; then
    echo "FAIL $name: $why"; sed 's/^/  out: /' out.txt | head -5; sed 's/^/  err: /' err.txt | head -5
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
  rm -f "$absent"
}

# A read error is an error, with the system's code (EIO is 5).
check recalc-read-error 1 r.ttf "has an error at 2!! 5" -- env LD_PRELOAD="$preload" FAULT_PATH=font.ttf FAULT_READ_AFTER=100 "$q" --recalc font.ttf r.ttf
check report-read-error 1 "" "has an error at 2!! 5" -- env LD_PRELOAD="$preload" FAULT_PATH=font.ttf FAULT_READ_AFTER=100 "$q" --report font.ttf
check cmap-read-error 1 c.out "ReadFile(cmap.bin) failed!! 5" -- env LD_PRELOAD="$preload" FAULT_PATH=cmap.bin FAULT_READ_AFTER=4 "$d" --cmap cmap.bin c.out
check name-read-error 1 name.bin.name "ReadFile(name.bin) failed!! 5" -- env LD_PRELOAD="$preload" FAULT_PATH=name.bin FAULT_READ_AFTER=6 "$d" --name name.bin
check dump-read-error 1 d.txt "ReadFile(cmap.bin) failed!! 5" -- env LD_PRELOAD="$preload" FAULT_PATH=cmap.bin FAULT_READ_AFTER=4 "$d" --dump cmap.bin d.txt
check extract-read-error 1 e.ttf "ReadFile(font.ttf) failed!! 5" -- env LD_PRELOAD="$preload" FAULT_PATH=font.ttf FAULT_READ_AFTER=4 "$d" --extract font.ttf e.ttf
check pellout-read-error 255 "" "Can not read a file os2.bin: error 5" -- env LD_PRELOAD="$preload" FAULT_PATH=os2.bin FAULT_READ_AFTER=10 "$box/bin/pellout" os2.bin

# Inputs must be regular files: no hang on a FIFO, no empty read of a device.
check report-fifo 1 "" "(not a regular file)" -- "$q" --report fifo
check recalc-device 1 p.ttf "(not a regular file)" -- "$q" --recalc /dev/zero p.ttf
check add-device 1 a.ttf "(not a regular file)" -- "$q" --add font.ttf abcd /dev/zero a.ttf
check cmap-fifo 1 c.out "(not a regular file)" -- "$d" --cmap fifo c.out
check pellout-fifo 255 "" "fifo is not a regular file." -- "$box/bin/pellout" fifo

# Standard output and error are checked when they close.
check report-full-stdout 1 "" "standard output could not be written" -- sh -c "'$q' --report font.ttf >/dev/full"
check pellout-full-stdout 255 "" "standard output could not be written" -- sh -c "'$box/bin/pellout' os2.bin >/dev/full"
check drumlin-full-stderr 1 "" "" -- sh -c "'$d' --name name.bin 2>/dev/full"
rm -f name.bin.name

# A font replaced during the run fails the run.
cp other.ttf swap.ttf
check recalc-font-replaced 1 r.ttf "changed while it was analysed" -- \
  env LD_PRELOAD="$preload" FAULT_PATH=font.ttf FAULT_REPLACE_WITH=swap.ttf "$q" --recalc font.ttf r.ttf
"$make_font" font.ttf

# A checksum library without its exports gives no checksums to write.
check recalc-no-exports 1 r.ttf "lacks CalcTblCheckSum or CalcHeadCheckSum" -- "$box/fake/quillet" --recalc font.ttf r.ttf

# Messages say what happened: placing the output failed on a read, not on a taken name.
check cmap-placement-error 1 c.out "WriteFile(c.out) failed!! 5" -- env LD_PRELOAD="$preload" FAULT_PATH="$box/tmp/emf" FAULT_READ_AFTER=0 "$d" --cmap cmap.bin c.out
"$d" --dump missing.bin d.txt >out.txt 2>err.txt
if grep -q "Done!!" err.txt out.txt; then echo "FAIL dump-missing: says Done!!"; failures=$((failures + 1)); else echo "ok   dump-missing"; fi

# The fault-free runs still succeed under the shim.
check recalc-clean 0 "" "Done" -- env LD_PRELOAD="$preload" FAULT_PATH=nothing "$q" --recalc font.ttf r.ttf

echo "$failures failed"
[ "$failures" = 0 ]
