#!/bin/sh
# End-to-end test of tasks carried out in their due second: Dusk.exe under Wine, in a virtual
# desktop on a private Xvfb. Each task is entered through the real controls, its due moment a few
# seconds ahead typed into the time edit with the user's keys, and what happens when it comes due
# is watched from outside (dusk_probe, running in the same desktop):
#  - an alarm, with the main window in the tray: the main window comes back with the alarm window
#    in front, beside it, with the reminder, and the alarm balloon; a click on the tray icon
#    while the alarm shows brings both back in front; the button "我知道了" hides it;
#  - a close-program task ends a running helper program (dusk_e2e_target) in its due second;
#  - a "关闭显示器" task is performed in its due second: its row goes and the program goes on.
#
# Usage: run_actions.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

# Three tasks, each a few tens of seconds ahead, and the alarm balloon's display time.
e2e_budget=280
e2e_clear_of_midnight 300 || exit 1
e2e_begin DuskActions "$@"
state=$artifacts/actions-state.txt
rm -f "$state"
st=Z:$state

if probe alarm-entry "$st" && add_at_due_time alarm-add "$st"; then
  shot 01-alarm-added
  if probe minimize; then
    shot 02-waiting-in-tray
    probe alarm-due "$st"
    alarm_seen=$?
    shot 03-alarm-shown
    if [ "$alarm_seen" -eq 0 ]; then
      if probe alarm-move-main "$st"; then
        shot 04-main-window-moved
        # Back to the tray with the alarm showing; a single click on the icon brings it all back.
        if probe minimize; then
          shot 05-in-tray-with-alarm
          click tray-icon
          if probe alarm-front "$st"; then
            shot 06-alarm-in-front-again
            click alarm-button
            probe alarm-dismissed "$st"
            shot 07-alarm-dismissed
          fi
        fi
      fi
    fi
  fi
fi

if probe close-entry "$st" && add_at_due_time close-add "$st"; then
  shot 08-close-program-added
  probe close-due "$st"
  shot 09-helper-ended
fi

if probe screen-off-entry "$st" && add_at_due_time screen-off-add "$st"; then
  shot 10-screen-off-added
  probe screen-off-due "$st"
  shot 11-screen-off-performed
fi

e2e_end
