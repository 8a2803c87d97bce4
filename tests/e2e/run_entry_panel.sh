#!/bin/sh
# End-to-end test of the entry panel: Dusk.exe under Wine, in a virtual desktop on a private
# Xvfb. Tasks are entered through the real controls (dusk_probe, running in the same desktop,
# clicks radio items and the add button and picks units) and through real mouse clicks and keys
# where the program must hear a user (the date and time pickers); the task list is read back.
# For the process picker the probe starts dusk_e2e_target, a window with a known title.
#
# Usage: run_entry_panel.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

e2e_begin DuskEntry "$@"
# What the steps hand on (the tasks added so far), in a path the probe reads through Wine's Z:.
state=$artifacts/entry-state.txt
rm -f "$state"
st=Z:$state

# key_into NAME KEYS: a user's keys into the picker the last click focused, once it has the focus.
key_into() {
  # shellcheck disable=SC2086 # KEYS is a list
  probe focus "$1" && say "STEP keys $2 into $1" && xdotool key --delay 100 $2
}

if probe warning-open "$st"; then
  shot 01-warning-box
  probe warning-ok "$st"
fi

if probe countdown-alarm "$st"; then
  shot 02-alarm-entered
  probe add-alarm "$st"
  shot 03-alarm-added
fi

if probe datetime-shutdown "$st"; then
  shot 04-shutdown-entered
  if click date-first-field && key_into bsSkinDateEdit1 Down && probe past-date "$st"; then
    shot 05-past-moment-box
    if probe past-ok "$st" && click date-first-field past-ok &&
      key_into bsSkinDateEdit1 Up && click time-first-field past-ok &&
      key_into bsSkinTimeEdit1 "Right Down"; then
      probe add-shutdown "$st"
      shot 06-shutdown-added
    fi
  fi
fi

if probe webpage "$st"; then
  shot 07-webpage-entered
  probe add-webpage "$st"
  shot 08-webpage-added
fi

if probe picker "$st"; then
  shot 09-picker-listed
  probe add-close "$st"
  shot 10-close-program-added
fi

e2e_end
