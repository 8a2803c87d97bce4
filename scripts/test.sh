#!/bin/sh
# README command 2: installs what is needed, builds what the chosen layers need and runs them,
# one after the other:
#   host        the format check of the sources (scripts/check_format.sh) and the host tests
#               (build/host)
#   sanitizers  the host tests under ASan/UBSan (build/asan), the update hand-off under TSan
#               (build/tsan)
#   fuzz        the fuzz targets, each for a short while (build/fuzz)
#   windows     the Windows-side tests under Wine (build/win, every test not labelled e2e), the
#               release's packaging and signing, and its rebuild in another folder, which must
#               be the same byte for byte
#   e2e         the end-to-end tests under Wine (build/win, label e2e)
# Usage: scripts/test.sh [LAYER...]   (every layer when none is named)
# Every chosen layer runs; a table of their results and seconds (a layer's build included) ends
# the output, and the exit status is nonzero when any of them failed.
# DUSK_FUZZ_SECONDS (default 25) is each fuzz target's time. The host tests run as many at once
# as there are processors; the end-to-end tests DUSK_E2E_JOBS at once (default 3: each waits on
# its own display and Wine session far more than it computes).
set -eu
cd "$(dirname "$0")/.."
run_started=$(date +%s)
jobs=$(nproc 2>/dev/null || echo 2)
all_layers="host sanitizers fuzz windows e2e"

usage() {
  echo "usage: scripts/test.sh [host|sanitizers|fuzz|windows|e2e]..." >&2
  exit 2
}

for layer; do
  case " $all_layers " in
    *" $layer "*) ;;
    *) usage ;;
  esac
done
# In their usual order, each once.
chosen=
for layer in $all_layers; do
  if [ $# -eq 0 ]; then
    chosen="$chosen $layer"
    continue
  fi
  for wanted; do
    if [ "$wanted" = "$layer" ]; then
      chosen="$chosen $layer"
      break
    fi
  done
done

./scripts/setup.sh

# The Windows-side and end-to-end layers share one build; the first of them makes it.
win_built=
build_win() {
  if [ -z "$win_built" ]; then
    if ./scripts/build.sh win; then win_built=ok; else win_built=failed; fi
  elif [ "$win_built" = failed ]; then
    echo "not run: the Windows build failed" >&2
  fi
  [ "$win_built" = ok ]
}

# run_layer LAYER: builds what LAYER needs and runs its tests; fails when any of it failed.
run_layer() {
  case $1 in
    # The layout of the sources is checked with the host tests; the tests run either way.
    host)
      _rl_status=0
      ./scripts/check_format.sh || _rl_status=1
      { ./scripts/build.sh host && (cd build/host && ctest -j "$jobs" --output-on-failure); } ||
        _rl_status=1
      return $_rl_status
      ;;
    sanitizers)
      _rl_status=0
      # Memory faults and undefined behaviour fail the test that meets them.
      { ./scripts/build.sh asan && (cd build/asan && ctest -j "$jobs" --output-on-failure); } || _rl_status=1
      # The update check hands its result from its thread to the main window's timer.
      { ./scripts/build.sh tsan &&
        (cd build/tsan &&
          ctest --output-on-failure --no-tests=error -R '^(SelfUpdateTest|UpdateCheck)\.'); } ||
        _rl_status=1
      return $_rl_status
      ;;
    fuzz) ./scripts/fuzz.sh "${DUSK_FUZZ_SECONDS:-25}" ;;
    windows) build_win && (cd build/win && ctest --output-on-failure --no-tests=error -LE e2e) ;;
    # Each test has its own display and Wine prefix; the few that share one are locked apart.
    e2e)
      build_win && (cd build/win &&
        ctest -j "${DUSK_E2E_JOBS:-3}" --output-on-failure --no-tests=error -L e2e)
      ;;
  esac
}

status=0
table=
for layer in $chosen; do
  echo "== $layer"
  started=$(date +%s)
  if run_layer "$layer"; then
    result=passed
  else
    result=failed
    status=1
  fi
  table="$table$(printf '%-12s %-8s %7s' "$layer" "$result" $(($(date +%s) - started)))
"
done

printf '\n%-12s %-8s %7s\n%s' layer result seconds "$table"
printf '%-12s %-8s %7s\n' "whole run" "" $(($(date +%s) - run_started))
exit $status
