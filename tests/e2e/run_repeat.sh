#!/bin/sh
# End-to-end test of a task that repeats: Dusk.exe under Wine, in a virtual desktop on a private
# Xvfb. An alarm is entered through the real controls a minute ahead with "每天" chosen, its time
# typed with the user's keys; in its second the alarm window shows, and the list keeps the task,
# due at the same time tomorrow.
#
# Usage: run_repeat.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

# A minute's lead and the start of the program.
e2e_budget=200
e2e_clear_of_midnight 300 || exit 1
e2e_begin DuskRepeat "$@"
state=$artifacts/repeat-state.txt
rm -f "$state"
st=Z:$state

if probe daily-entry "$st" && add_at_due_time daily-add "$st"; then
  shot 01-daily-alarm-added
  probe daily-due "$st"
  shot 02-rung-and-back-for-tomorrow
fi

e2e_end
