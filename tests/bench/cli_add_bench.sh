#!/bin/sh
# The time from "dusk-cli add" to the task's row shown in Dusk's list, under Wine: the first add
# starts Dusk in the tray (printed for information), then RUNS adds to the running copy, and
# their median. Also the size of dusk-cli.exe. Run by hand, never by ctest: timings on a shared
# machine are no verdicts.
#
# Usage: tests/bench/cli_add_bench.sh BUILD_WIN_DIR [RUNS]
#   cmake --build build/win --target Dusk dusk_probe && tests/bench/cli_add_bench.sh build/win 9
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/../e2e/e2e_lib.sh"
e2e_args 1 "BUILD_WIN_DIR [RUNS]" "$@"

build=$(realpath "$1")
runs=${2:-9}
probe_exe=$build/dusk_probe.exe
desktop=DuskCliBench
e2e_budget=$((120 + runs * 30))
e2e_session_begin "$build/cli-bench" "$build/cli-bench-wineprefix"
desktop_start "$desktop" "$build/dusk_e2e_target.exe" 命令行
desktop_wait "$desktop" 60 || exit 1

request=$artifacts/add.txt
printf '%s\n' add alarm in 10h --text 测试 >"$request"
times=
for run in $(seq 0 "$runs"); do
  probe cli-add-shown "Z:$request" || exit 1
  ms=$(awk '$1 == "MS" { sub(/\r$/, ""); print $2 }' "$out")
  if [ "$run" -eq 0 ]; then
    say "first add, starting Dusk: $ms ms"
  else
    times="$times $ms"
  fi
done
say "adds to the running copy (ms):$times"
# shellcheck disable=SC2086 # a list of numbers
say "median of $runs: $(printf '%s\n' $times | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }') ms"
say "dusk-cli.exe: $(stat -c %s "$build/dusk-cli.exe") bytes"
e2e_end
