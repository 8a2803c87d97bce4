#!/bin/sh
# End-to-end test of the start: Dusk.exe under Wine, in a virtual desktop on a private Xvfb.
#  - started with /tray (as the Run value starts it at logon): its icon in the tray, no window;
#  - started a second time: that start ends at once, one Dusk.exe runs on, and its main window
#    comes out of the tray to the front; again after the user put it back into the tray;
#  - the tray menu's "开机时启动" writes the Run value naming the program, quoted, with /tray, and
#    chosen again removes it (read back with wine reg query).
#
# Usage: run_instance.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

e2e_budget=240
desktop=DuskInstance
dusk=$(realpath "$1")
probe_exe=$(realpath "$2")
e2e_session_begin "$3" "${4:-$(dirname "$(realpath -m "$3")")/e2e-wineprefix}"
state=$artifacts/instance-state.txt
rm -f "$state"
st=Z:$state
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# The program's Run value as the registry holds it; nothing when there is none.
run_value() {
  timeout 60 wine reg query "$run_key" /v Dusk 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *Dusk  *REG_SZ  *//p'
}

# shellcheck disable=SC2317 # run by wait_until
run_value_is() {
  [ "$(run_value)" = "$1" ]
}

# Backslashes as slashes, for the log, whose echo would read them as escapes.
slashed() {
  printf '%s' "$1" | tr '\134' /
}

# choose_start_with_windows SHOT: the tray menu opened with a right click on the icon, a screenshot
# of it, and a click on "开机时启动".
choose_start_with_windows() {
  say "STEP right click on the tray icon at $tray"
  # shellcheck disable=SC2086 # "X Y"
  xdotool mousemove $tray click 3
  probe menu || return 1
  shot "$1"
  click menu-start-with-windows
}

# A run killed before its end may have left the value behind.
timeout 60 wine reg delete "$run_key" /v Dusk /f >/dev/null 2>&1
check "no Run value" "none before the program starts" run_value_is "" || e2e_end

desktop_start "$desktop" "$dusk" /tray
if ! desktop_wait "$desktop" 60; then
  say "FAIL desktop: the virtual desktop $desktop did not appear"
  exit 1
fi

if probe instance-tray "$st"; then
  shot 01-started-in-tray
  check "off by default" "no Run value after the start" run_value_is ""
  if probe instance-second "$st"; then
    shot 02-second-start-in-front
    if probe minimize && tray=$(point tray-icon) && probe instance-second "$st"; then
      shot 03-out-of-the-tray-again
      # Wine's drive Z: is the root of the file system.
      expected="\"Z:$(printf '%s' "$dusk" | tr / '\134')\" /tray"
      if probe minimize && choose_start_with_windows 04-tray-menu; then
        check "start with Windows on" "the Run value reads $(slashed "$expected")" \
          wait_until 20 run_value_is "$expected" ||
          say "NOTE the Run value reads $(slashed "$(run_value)")"
        if choose_start_with_windows 05-tray-menu-checked; then
          check "start with Windows off" "no Run value" wait_until 20 run_value_is ""
        fi
      fi
    fi
  fi
fi

e2e_end
