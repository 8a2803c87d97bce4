#!/bin/sh
# Builds the fuzz targets of tests/fuzz (build/fuzz: clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60), as many at once as there are
# processors, starting from its seed corpus in tests/fuzz/corpus/<target>/. The runs grow a working
# copy in build/fuzz/corpus/<target>/, never the seeds. A crash, a sanitizer report or a broken
# property leaves its input in build/fuzz/artifacts/ and its log in build/fuzz/logs/.
# Prints each target's executions and time; the exit status is nonzero when the build or any
# target failed. Needs what scripts/setup.sh installs.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -eq 0 ] || shift
if [ $# -eq 0 ]; then
  for source in tests/fuzz/*_fuzz.cpp; do
    name=${source##*/}
    set -- "$@" "${name%_fuzz.cpp}"
  done
fi

mkdir -p build
scripts/build.sh fuzz >build/fuzz-build.log 2>&1 || {
  cat build/fuzz-build.log >&2
  echo "fuzz: the build failed" >&2
  exit 1
}

mkdir -p build/fuzz/artifacts build/fuzz/logs

# fuzz_target TARGET: runs it for SECONDS and writes its line of the report, with FAILED at the
# end when it failed, to build/fuzz/logs/TARGET.result.
fuzz_target() {
  target=$1
  work=build/fuzz/corpus/$target
  log=build/fuzz/logs/$target.log
  mkdir -p "$work"
  cp tests/fuzz/corpus/"$target"/* "$work"/
  # The version file's reader stops at 64 KiB: its inputs go past that.
  case $target in
    version_file) max_len=-max_len=71680 ;;
    *) max_len= ;;
  esac
  started=$(date +%s)
  # -timeout: an input that takes this long counts as a hang.
  if build/fuzz/"$target"_fuzz -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
    $max_len \
    -artifact_prefix=build/fuzz/artifacts/"$target"- "$work" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
  fi
  elapsed=$(($(date +%s) - started))
  # "Done 12345 runs in 30 second(s)" at the end of a run; the last status line otherwise.
  runs=$(sed -n 's/^Done \([0-9]*\) runs in .*/\1/p' "$log")
  [ -n "$runs" ] || runs=$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')
  printf '%-20s %12s executions in %5s s  %s\n' "$target" "${runs:-0}" "$elapsed" "$result" \
    >build/fuzz/logs/"$target".result
}

# Each target is one process on one processor: as many run at once as there are processors, each
# for its whole time.
parallel=$(nproc 2>/dev/null || echo 2)
status=0
while [ $# -gt 0 ]; do
  batch=
  while [ $# -gt 0 ] && [ "$(echo $batch | wc -w)" -lt "$parallel" ]; do
    rm -f build/fuzz/logs/"$1".result
    fuzz_target "$1" &
    batch="$batch $1"
    shift
  done
  wait
  for target in $batch; do
    line=$(cat build/fuzz/logs/"$target".result 2>/dev/null) ||
      line="$target: no result (the run did not finish)  FAILED"
    echo "$line"
    case $line in
      *FAILED)
        status=1
        grep -E 'property broken|ERROR:|SUMMARY|runtime error|Test unit written' \
          build/fuzz/logs/"$target".log | head -n 10 >&2
        echo "  (whole log: build/fuzz/logs/$target.log)" >&2
        ;;
    esac
  done
done
exit $status
