#!/bin/sh
# End-to-end test of the tasks that wait for a condition: Dusk.exe under Wine, in a virtual
# desktop on a private Xvfb. An alarm is added in the mode "下载完成后" (a threshold far above the
# machine's own traffic, one minute) and one in the mode "无人操作时" (one minute). The mouse
# then moves in the virtual desktop every 10 s for 90 s: the first alarm must ring within 90 s
# of its add, its row showing the live rate before, and the second must not. Once the input
# stops, the second must ring within 75 s.
#
# Usage: run_conditions.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

e2e_budget=260
e2e_begin DuskConditions "$@"
state=$artifacts/conditions-state.txt
rm -f "$state"
st=Z:$state

# Input the program sees as a user's: the pointer moved inside the virtual desktop, above and to
# the right of the main window.
move_mouse() {
  _mm_origin=$(desktop_origin DuskConditions) || return 1
  # shellcheck disable=SC2086 # "X Y"
  set -- $_mm_origin
  xdotool mousemove $(($1 + 1200)) $(($2 + 100)) mousemove $(($1 + 1210)) $(($2 + 110))
}

if probe condition-network-add "$st"; then
  shot 01-network-quiet-added
  if probe condition-idle-add "$st"; then
    shot 02-no-input-added
    probe condition-watch "$st" &
    watcher=$!
    i=0
    while [ $i -lt 9 ]; do
      move_mouse || say "NOTE the pointer could not be moved"
      sleep 10
      i=$((i + 1))
    done
    move_mouse
    say "STEP the input stops"
    wait $watcher || failed=1
    shot 03-network-rang-idle-waits
    probe condition-idle-rings "$st"
    shot 04-idle-rang
  fi
fi

e2e_end
