#!/bin/sh
# End-to-end test of a task that waits for a program to end: Dusk.exe under Wine, in a virtual
# desktop on a private Xvfb. A helper program (dusk_e2e_target) runs; an alarm is added for its
# end in the mode "程序结束后", with the helper picked in the picker; the helper is ended from
# outside, and the alarm window must show within two seconds.
#
# Usage: run_program_end.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

e2e_budget=120
e2e_begin DuskProgramEnd "$@"
state=$artifacts/program-end-state.txt
rm -f "$state"
st=Z:$state

if probe wait-entry "$st"; then
  shot 01-helper-picked
  if probe wait-add "$st"; then
    shot 02-waiting-for-the-helper
    probe wait-end "$st"
    shot 03-alarm-after-the-end
  fi
fi

e2e_end
