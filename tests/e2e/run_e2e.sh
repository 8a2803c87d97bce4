#!/bin/sh
# End-to-end test of the main window and the tray icon: Dusk.exe under Wine, in a virtual desktop
# on a private Xvfb, driven from outside through its real windows (dusk_probe, running in the same
# desktop) and by mouse clicks where only a click will do (the tray icon and its menu).
#
# Usage: run_e2e.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. The Wine prefix defaults to e2e-wineprefix beside ARTIFACTS_DIR and is
# reused by later runs. Exit status 0 when every check passed.
set -u

if [ $# -lt 3 ]; then
  echo "usage: $0 DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" >&2
  exit 2
fi
dusk=$(realpath "$1")
probe_exe=$(realpath "$2")
mkdir -p "$3"
artifacts=$(realpath "$3")
prefix=${4:-$(dirname "$artifacts")/e2e-wineprefix}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/wine_session.sh
. "$here/../../scripts/wine_session.sh"

desktop=DuskE2E
log=$artifacts/e2e.log
rm -f "$artifacts"/*.png "$artifacts"/*.txt "$artifacts"/*.log
: >"$log"
failed=0
started_at=$(date +%s)

say() {
  echo "$*" | tee -a "$log"
}

# shellcheck disable=SC2317 # run by the trap
cleanup() {
  session_stop
  display_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# probe STEP [ARG]: one step of the probe in the test's desktop. Its lines go to the log; its
# points stay in $out for point(). A failing step leaves a dump of the desktop's windows.
probe() {
  out=$artifacts/step-$1.txt
  timeout 150 wine "$probe_exe" "$desktop" "$@" >"$out" 2>>"$DUSK_SESSION_LOG"
  _rc=$?
  tee -a "$log" <"$out"
  if [ "$_rc" -ne 0 ] || ! grep -q "^RESULT $1 PASS" "$out"; then
    failed=1
    timeout 60 wine "$probe_exe" "$desktop" tree >"$artifacts/windows-after-$1.txt" 2>/dev/null
    return 1
  fi
}

# point WHAT: the X screen position of a point the last step printed (the probe's positions are
# the virtual desktop's; xdotool's are the X screen's).
point() {
  awk -v what="$1" -v origin="$(desktop_origin "$desktop")" '
    BEGIN { split(origin, o, " ") }
    $1 == "POINT" && $2 == what { print $3 + o[1], $4 + o[2]; found = 1 }
    END { exit !found }' "$out"
}

shot() {
  screenshot "$artifacts/$1.png" || say "NOTE no screenshot $1"
}

# A private display even when one is set: the test moves the mouse and clicks.
unset DISPLAY
wine_env "$prefix"
display_ready || exit 1
prefix_from=$(date +%s)
wine_prefix_ready || exit 1
say "Wine prefix $WINEPREFIX ready in $(($(date +%s) - prefix_from)) s; display $DISPLAY"
DUSK_SESSION_LOG=$artifacts/wine.log
: >"$DUSK_SESSION_LOG"

desktop_start "$desktop" "$dusk"
if ! desktop_wait "$desktop" 60; then
  say "FAIL desktop: the virtual desktop $desktop did not appear"
  exit 1
fi

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
    if probe menu && close=$(point menu-close); then
      pid=$(awk '$1 == "PID" { print $2 }' "$out")
      shot 04-tray-menu
      say "STEP click on the menu's &Close at $close"
      # shellcheck disable=SC2086
      xdotool mousemove $close click 1
      probe ended "$pid"
      shot 05-closed
    fi
  fi
fi

if [ "$failed" -eq 0 ]; then
  say "E2E PASS in $(($(date +%s) - started_at)) s; screenshots in $artifacts"
else
  shot 99-at-failure
  say "E2E FAIL in $(($(date +%s) - started_at)) s; log, screenshots and window dumps in $artifacts"
fi
exit "$failed"
