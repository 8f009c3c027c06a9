#!/usr/bin/env bash
# Makes the output manifest of two builds (side by side) and compares them:
# prints "outputs identical: N runs" and ends with 0 when they agree, prints
# the differing lines and ends with 1 otherwise.
#   scripts/compare_outputs.sh OLD_BIN NEW_BIN
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 OLD_BIN NEW_BIN" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$here/output_manifest.sh" "$1" "$out/old.txt" 2>"$out/old.log" &
old=$!
made=0
"$here/output_manifest.sh" "$2" "$out/new.txt" 2>"$out/new.log" || made=1
wait "$old" || made=1
if [ "$made" != 0 ]; then
  cat "$out/old.log" "$out/new.log" >&2
  echo "a manifest could not be made" >&2
  exit 1
fi
if diff -u --label "$1" --label "$2" "$out/old.txt" "$out/new.txt"; then
  echo "outputs identical: $(wc -l <"$out/old.txt") runs"
else
  exit 1
fi
