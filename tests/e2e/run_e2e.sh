#!/bin/sh
# End-to-end test of the main window and the tray icon (and the tray menu's "关机方式", chosen
# with the user's keys and shown again after a restart): Dusk.exe under Wine, in a virtual desktop
# on a private Xvfb, driven from outside through its real windows (dusk_probe, running in the same
# desktop) and by mouse clicks where only a click will do (the tray icon and its menu).
#
# Usage: run_e2e.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. The Wine prefix defaults to e2e-wineprefix beside ARTIFACTS_DIR and is
# reused by later runs. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

e2e_begin DuskE2E "$@"

# shellcheck disable=SC2317 # run by wait_until
settings_say() {
  grep -qxF "$1" "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Dusk/settings.txt 2>/dev/null ||
    grep -qF "$1$(printf '\r')" "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Dusk/settings.txt 2>/dev/null
}

if probe started; then
  probe clock
  probe layout
  shot 01-main-window

  if probe minimize && tray=$(point tray-icon); then
    shot 02-in-tray
    say "STEP double click on the tray icon at $tray"
    # shellcheck disable=SC2086 # "X Y"
    xdotool mousemove $tray click --repeat 2 --delay 80 1
    probe shown
    shot 03-restored

    say "STEP right click on the tray icon at $tray"
    # shellcheck disable=SC2086
    xdotool mousemove $tray click 3
    if probe menu && point menu-close >/dev/null; then
      shot 04-tray-menu
      # "关机方式": its submenu, the second choice, with the user's keys.
      say "STEP keys into the tray menu: 关机方式, 关闭未响应的程序"
      xdotool key --delay 150 Down Down Right
      shot 05-shutdown-method-menu
      xdotool key --delay 150 Down Return
      check "shutdown method kept" "settings.txt names force-if-hung" \
        wait_until 10 settings_say "shutdown-method=force-if-hung"
      # shellcheck disable=SC2086
      xdotool mousemove $tray click 3
    fi
    if probe menu && point menu-close >/dev/null; then
      pid=$(awk '$1 == "PID" { print $2 }' "$out")
      click menu-close
      probe ended "$pid"
      shot 06-closed
      # Started again, the program shows the choice kept.
      session_stop
      say "STEP Dusk started again"
      desktop_start "$desktop" "$dusk"
      if desktop_wait "$desktop" 60 && probe started && probe minimize &&
        tray=$(point tray-icon); then
        # shellcheck disable=SC2086
        xdotool mousemove $tray click 3
        if probe menu; then
          xdotool key --delay 150 Down Down Right
          probe method-mark 1
          shot 07-choice-kept-after-restart
          xdotool key --delay 150 Escape Escape
        fi
      else
        say "FAIL started again: no main window in the new desktop"
        failed=1
      fi
    fi
  fi
fi

e2e_end
