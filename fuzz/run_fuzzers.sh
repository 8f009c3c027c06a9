#!/usr/bin/env bash
# Runs the fuzz targets of the fuzz build one after another, each for a
# bounded time at low priority, on a copy of its committed corpus.
#   fuzz/run_fuzzers.sh SECONDS [TARGET...]
# Environment: FUZZ_BUILD (default build/fuzz), FUZZ_WORK (a folder for the
# working corpora, logs and findings; default a new temporary folder),
# FUZZ_MAX_LEN (default 4096). A temporary work folder is removed again when
# nothing was found.
# Prints one line per target (executions, new corpus files, findings) and
# ends with 1 when any target found a crash, a leak, a timeout or a broken
# property; each finding's input is left in FUZZ_WORK/findings/.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds="${1:?usage: fuzz/run_fuzzers.sh SECONDS [TARGET...]}"
shift
build="${FUZZ_BUILD:-build/fuzz}"
work="${FUZZ_WORK:-}"
keep_work=1
if [ -z "$work" ]; then
  work="$(mktemp -d "${TMPDIR:-/tmp}/suite-fuzz-run-XXXXXX")"
  keep_work=0
fi
max_len="${FUZZ_MAX_LEN:-4096}"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(font_directory profile_reader pellout_table pellin_profile corvout_table corvin_profile
           quillet_report quillet_edit drumlin_cmap drumlin_name drumlin_extract)
fi
mkdir -p "$work/findings" "$work/logs" "$work/corpus"
# The targets' scratch folders go below one folder that is removed at the end.
SUITE_FUZZ_SCRATCH="$(mktemp -d /dev/shm/suite-fuzz-run-XXXXXX 2>/dev/null || mktemp -d "$work/scratch-XXXXXX")"
export SUITE_FUZZ_SCRATCH
trap 'rm -rf "$SUITE_FUZZ_SCRATCH"' EXIT

failed=0
printf '%-16s %12s %8s %s\n' target executions new result
for t in "${targets[@]}"; do
  program="$build/bin/$t"
  if [ ! -x "$program" ]; then
    printf '%-16s %12s %8s %s\n' "$t" - - "missing: $program"
    failed=1
    continue
  fi
  corpus="$work/corpus/$t"
  mkdir -p "$corpus"
  before=0
  if [ -d "fuzz/corpus/$t" ]; then cp -n fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null; fi
  before=$(find "$corpus" -type f | wc -l)
  log="$work/logs/$t.log"
  nice -n 19 "$program" -max_total_time="$seconds" -max_len="$max_len" -timeout=30 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/findings/$t-" "$corpus" >"$log" 2>&1
  status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  after=$(find "$corpus" -type f | wc -l)
  result=ok
  if [ $status -ne 0 ] || ls "$work/findings/$t-"* >/dev/null 2>&1; then
    result="FINDING (exit $status, see $log)"
    failed=1
  fi
  printf '%-16s %12s %8s %s\n' "$t" "${runs:-?}" "$((after - before))" "$result"
done
if [ $failed = 0 ] && [ $keep_work = 0 ]; then
  rm -rf "$work"
else
  echo "work folder: $work"
fi
exit $failed
