#!/usr/bin/env bash
# Runs every command that writes fonts or tables on real Debian fonts and has
# the output judged by other readers: ots-sanitize, fontTools (every table
# decompiled), ftdump and ftlint. A judge that accepts an input must accept
# every font made from it, and every table must keep its bytes except the
# fields a command is meant to change.
#   tests/corpus/judged_corpus.sh BIN_DIR
# Exits 77 (skipped) when a judge or every font is missing.
set -uo pipefail
bin_dir=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
skip=77

python=""
for p in /usr/bin/python3 python3; do
  if command -v "$p" >/dev/null && "$p" -c 'import fontTools' 2>/dev/null; then python=$p; break; fi
done
[ -n "$python" ] || { echo "SKIP: no python3 with fontTools (Debian python3-fonttools)"; exit $skip; }
for judge in ots-sanitize ftdump ftlint; do
  command -v "$judge" >/dev/null || { echo "SKIP: $judge is missing (opentype-sanitizer, freetype2-demos)"; exit $skip; }
done

fonts=(
  /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf             # OS/2 version 1, TrueType
  /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf           # version 3, Japanese
  /usr/share/fonts/opentype/ipaexfont-gothic/ipaexg.ttf       # version 3, Japanese
  /usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf    # version 4, Japanese
  /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf  # version 3
  /usr/share/fonts/truetype/dejavu/DejaVuMathTeXGyre.ttf      # version 4
  /usr/share/fonts/opentype/cantarell/Cantarell-Regular.otf   # version 4, CFF
  /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc      # collection, CFF
  /usr/share/fonts/truetype/inter-vf/Inter-roman.var.ttf      # version 4, variable
  /usr/share/fonts/truetype/noto/NotoColorEmoji.ttf           # version 4, colour bitmaps
)
present=()
for f in "${fonts[@]}"; do
  if [ -f "$f" ]; then present+=("$f"); else echo "left out (not installed): $f"; fi
done
[ ${#present[@]} -gt 0 ] || { echo "SKIP: none of the corpus fonts is installed"; exit $skip; }

box=$(mktemp -d "${TMPDIR:-/tmp}/judged.XXXXXXXX")
trap 'rm -rf "$box"' EXIT
mkdir -p "$box/bin"
for p in quillet drumlin pellout pellin corvout corvin libsumkit.so; do cp "$bin_dir/$p" "$box/bin/"; done
export XDG_CONFIG_HOME="$box/config" HOME="$box/home" TMPDIR="$box"
helper() { "$python" "$here/corpus_helper.py" "$@"; }
quillet() { "$box/bin/quillet" "$@" >/dev/null 2>"$box/err"; }

declare -A checks fails
failed=0
pass() { checks[$1]=$(( ${checks[$1]:-0} + 1 )); }
fail() { fails[$1]=$(( ${fails[$1]:-0} + 1 )); failed=1; echo "FAIL $1: $2"; }

# The judges that accept a font, as a word list.
judges_of() {
  local font=$1 out=""
  ots-sanitize "$font" "$box/ots.out" >/dev/null 2>&1 && out+=" ots"
  helper judge "$font" >/dev/null 2>&1 && out+=" fonttools"
  ftdump "$font" >/dev/null 2>&1 && out+=" ftdump"
  ftlint 12 "$font" >/dev/null 2>&1 && out+=" ftlint"
  rm -f "$box/ots.out"
  echo "$out"
}
# A font made from `input` (judged $accepted) must be accepted by the same judges.
judged() {
  local check=$1 font=$2 got
  got=$(judges_of "$font")
  for j in $accepted; do
    case " $got " in *" $j "*) ;; *) fail "$check" "$j rejects $font (made from $name)"; return 1 ;; esac
  done
  pass "$check"
}
# Delete TAG from FONT, add TABLE in its place and recalculate, into OUT.
put_back() {
  local font=$1 tag=$2 table=$3 out=$4
  rm -f "$w/del.ttf" "$w/add.ttf" "$out"
  quillet --delete "$font" "$tag" "$w/del.ttf" && quillet --add "$w/del.ttf" "$tag" "$table" "$w/add.ttf" &&
    quillet --recalc "$w/add.ttf" "$out"
}
head_adjust=head:8:12
declare -A os2_same os2_all

for font in "${present[@]}"; do
  name=$(basename "$font")
  w="$box/work/$name"
  mkdir -p "$w"
  # The editor takes a file for a collection by its name, so the copy keeps it.
  in="$w/$name"
  cp "$font" "$in"
  accepted=$(judges_of "$in")
  echo "$name: accepted by$accepted"
  collection=0; [ "$(od -An -c -N4 "$in" | tr -d ' ')" = ttcf ] && collection=1

  # Report.
  if quillet --report "$in"; then pass report; else fail report "$name"; fi
  # The structural check finds nothing wrong in a font that the sanitizer takes.
  case " $accepted " in
    *" ots "*) if quillet --check "$in"; then pass check; else fail check "$name"; fi ;;
  esac

  # Recalculation of a copy whose checksums are all zero.
  helper damage "$in" "$w/damaged-$name"
  if quillet --recalc "$w/damaged-$name" "$w/recalc-$name" && judged recalc "$w/recalc-$name" &&
     helper same "$in" "$w/recalc-$name" $head_adjust >/dev/null; then :; else fail recalc "$name"; fi

  # Export of every table.
  for tag in $(helper tags "$in" | tr ' ' '~'); do
    tag=${tag//\~/ }
    rm -f "$w/export" "$w/expected"
    helper table "$in" "$tag" "$w/expected"
    if quillet --export "$in" "$tag" "$w/export" && cmp -s "$w/export" "$w/expected"; then pass export
    else fail export "$name $tag"; fi
  done

  # Delete, add and recalculate: the table comes back unchanged.
  if [ $collection = 0 ]; then
    for tag in OS/2 name post; do
      helper table "$in" "$tag" "$w/t.bin"
      if put_back "$in" "$tag" "$w/t.bin" "$w/back.ttf" && judged delete-add "$w/back.ttf" &&
         quillet --check "$w/back.ttf" &&
         helper same "$in" "$w/back.ttf" $head_adjust >/dev/null; then :; else fail delete-add "$name $tag"; fi
    done
  fi

  # pellout and pellin, unedited and with usWinAscent raised by one.
  rm -f "$box/bin/Pellout.ini"
  helper table "$in" OS/2 "$w/font.os_2"
  version=$(od -An -tu1 -j0 -N2 "$w/font.os_2" | awk '{print $1 * 256 + $2}')
  os2_all[$version]=$(( ${os2_all[$version]:-0} + 1 ))
  (cd "$w" && "$box/bin/pellout" font.os_2 >/dev/null)
  sed -i 's/^FileName=font.os_2/FileName=same.os_2/' "$box/bin/Pellout.ini"
  (cd "$w" && rm -f same.os_2 && "$box/bin/pellin" Pellout.ini >/dev/null)
  if cmp -s "$w/font.os_2" "$w/same.os_2"; then pass os2-round-trip; os2_same[$version]=$(( ${os2_same[$version]:-0} + 1 ))
  else fail os2-round-trip "$name (version $version)"; fi
  ascent=$(awk -F= '/^usWinAscent=/{print $2+0}' "$box/bin/Pellout.ini" | tr -d '\r')
  sed -i "s/^FileName=same.os_2/FileName=edit.os_2/; s/^usWinAscent=.*/usWinAscent=$((ascent + 1))\r/" "$box/bin/Pellout.ini"
  (cd "$w" && rm -f edit.os_2 && "$box/bin/pellin" Pellout.ini >/dev/null)
  if [ "$(cmp -l "$w/font.os_2" "$w/edit.os_2" 2>&1 | awk '$1 < 75 || $1 > 76' | wc -l)" = 0 ]; then pass os2-edit-only-ascent
  else fail os2-edit-only-ascent "$name"; fi
  if [ $collection = 0 ]; then
    if put_back "$in" OS/2 "$w/same.os_2" "$w/os2same.ttf" && judged os2-put-back "$w/os2same.ttf" &&
       helper same "$in" "$w/os2same.ttf" $head_adjust >/dev/null; then :; else fail os2-put-back "$name"; fi
    if put_back "$in" OS/2 "$w/edit.os_2" "$w/os2edit.ttf" && judged os2-put-back "$w/os2edit.ttf" &&
       helper same "$in" "$w/os2edit.ttf" $head_adjust OS/2:74:76 >/dev/null &&
       [ "$(helper ascent "$w/os2edit.ttf")" = $((ascent + 1)) ]; then pass os2-edit-read-back
    else fail os2-edit-read-back "$name"; fi
  fi

  # corvout and corvin, unedited and with the unique ID (name ID 3) of the
  # first Windows Unicode record changed.
  rm -f "$box/bin/Corvout.ini"
  helper table "$in" name "$w/font.name"
  (cd "$w" && rm -f ./*.txt && "$box/bin/corvout" font.name >/dev/null)
  sed -i 's/^FileName=font.name/FileName=same.name/' "$box/bin/Corvout.ini"
  (cd "$w" && rm -f same.name && "$box/bin/corvin" Corvout.ini >/dev/null)
  if [ -s "$w/same.name" ]; then pass name-round-trip; else fail name-round-trip "$name"; fi
  section=$(awk -F= 'BEGIN{RS="\r\n"} /^\[/{s=$0} /^PlatformID=3$/{p=s} /^NameID=3$/{if(p==s){print s; exit}}' "$box/bin/Corvout.ini" | tr -d '[]')
  if [ -n "$section" ]; then
    printf 'E\0d\0i\0t\0e\0d\0' | "$python" -c 'import sys; d=sys.stdin.buffer.read(); sys.stdout.buffer.write(bytes(d[i^1] for i in range(len(d))))' >"$w/$(printf '%03d' "$section").txt"
    sed -i 's/^FileName=same.name/FileName=edit.name/' "$box/bin/Corvout.ini"
    (cd "$w" && rm -f edit.name && "$box/bin/corvin" Corvout.ini >/dev/null)
  fi
  if [ $collection = 0 ]; then
    if put_back "$in" name "$w/same.name" "$w/namesame.ttf" && judged name-put-back "$w/namesame.ttf" &&
       helper same "$in" "$w/namesame.ttf" $head_adjust name:0:999999 >/dev/null; then :; else fail name-put-back "$name"; fi
    if [ -n "$section" ]; then
      if put_back "$in" name "$w/edit.name" "$w/nameedit.ttf" && judged name-put-back "$w/nameedit.ttf" &&
         [ "$(helper name "$w/nameedit.ttf" 3)" = Edited ]; then pass name-edit-read-back
      else fail name-edit-read-back "$name"; fi
    fi
  fi
done

# The Mac conversions' tables, put into IPA Gothic in place of its own.
ipag=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
if [ -f "$ipag" ]; then
  name=ipag.ttf; w="$box/work/mac"; mkdir -p "$w"; in="$w/$name"; cp "$ipag" "$in"
  accepted=$(judges_of "$in")
  helper maccmap "$in" "$w/mac.cmap" && helper macname "$in" "$w/mac.name"
  if (cd "$w" && "$box/bin/drumlin" --cmap mac.cmap win.cmap >/dev/null 2>&1) &&
     put_back "$in" cmap "$w/win.cmap" "$w/cmap.ttf" && judged drumlin-cmap "$w/cmap.ttf"; then :
  else fail drumlin-cmap "$name"; fi
  if (cd "$w" && "$box/bin/drumlin" --name mac.name >/dev/null 2>&1) &&
     put_back "$in" name "$w/mac.name.name" "$w/name.ttf" && judged drumlin-name "$w/name.ttf"; then :
  else fail drumlin-name "$name"; fi
fi

echo "checks passed:"
for c in $(printf '%s\n' "${!checks[@]}" | sort); do echo "  $c: ${checks[$c]}"; done
for c in $(printf '%s\n' "${!fails[@]}" | sort); do echo "  $c: ${fails[$c]} FAILED"; done
echo "OS/2 round trips byte-identical, per version:"
for v in $(printf '%s\n' "${!os2_all[@]}" | sort -n); do echo "  version $v: ${os2_same[$v]:-0} of ${os2_all[$v]}"; done
exit $failed
