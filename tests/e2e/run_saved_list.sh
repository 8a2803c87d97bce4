#!/bin/sh
# End-to-end test of the saved task list: Dusk.exe under Wine, in a virtual desktop on a private
# Xvfb, with the task list it keeps in the Wine user's profile.
#  - three alarms added through the entry panel, the program closed from the tray menu
#    ("&Close") and started again: the list shows the same three rows;
#  - one more added, the whole Wine session ended at once (wineserver -k, as a power cut ends a
#    program) and the program started again: the new row is there too.
#
# Usage: run_saved_list.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

# Three starts of the program, each with its desktop.
e2e_budget=300
e2e_begin DuskSavedList "$@"
state=$artifacts/saved-list-state.txt
rm -f "$state"
st=Z:$state

# Dusk in its desktop again, once the session before has ended.
start_again() {
  say "STEP Dusk started again"
  desktop_start "$desktop" "$dusk"
  desktop_wait "$desktop" 60 && return 0
  say "FAIL desktop: the virtual desktop $desktop did not appear again"
  failed=1
  return 1
}

if probe saved-add "$st" && probe saved-add "$st" && probe saved-add "$st"; then
  shot 01-three-added
  if probe minimize && tray=$(point tray-icon); then
    say "STEP right click on the tray icon at $tray"
    # shellcheck disable=SC2086 # "X Y"
    xdotool mousemove $tray click 3
    if probe menu && point menu-close >/dev/null; then
      pid=$(awk '$1 == "PID" { print $2 }' "$out")
      click menu-close
      if probe saved-closed "$pid"; then
        # The desktop goes with its last program; what is left of the session goes here.
        session_stop
        if start_again && probe saved-same "$st"; then
          shot 02-same-rows-after-close
          if probe saved-add "$st"; then
            shot 03-fourth-added
            say "STEP the whole session ended at once"
            session_stop
            start_again && probe saved-same "$st"
            shot 04-same-rows-after-kill
          fi
        fi
      fi
    fi
  fi
fi

e2e_end
