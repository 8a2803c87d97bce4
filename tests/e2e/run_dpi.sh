#!/bin/sh
# End-to-end test of display scaling: Dusk under Wine on a screen of each given density (the
# prefix's LogPixels), its main window and controls checked at DPI / 96 times their 96-DPI
# layout by dpi_probe, with a screenshot of each.
#
# Usage: run_dpi.sh DUSK_EXE DPI_PROBE_EXE ARTIFACTS_DIR WINEPREFIX DPI...
# At the last density an alarm is added and its window checked too.
# The prefix is this test's own: the density is a setting of the whole prefix. The screen is
# larger than the other tests' so that the window fits at 150 %.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 5 "DUSK_EXE DPI_PROBE_EXE ARTIFACTS_DIR WINEPREFIX DPI..." "$@"

dusk=$(realpath "$1")
probe_exe=$(realpath "$2")
e2e_session_begin "$3" "$4"
shift 4

# In place of the session's display, one of 1920 x 1200.
display_stop
_rd_n=100
until [ -n "$_dusk_xvfb_pid" ] || [ "$_rd_n" -ge 150 ]; do
  if [ ! -e "/tmp/.X$_rd_n-lock" ] && [ ! -e "/tmp/.X11-unix/X$_rd_n" ]; then
    Xvfb ":$_rd_n" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
    _dusk_xvfb_pid=$!
    DISPLAY=:$_rd_n
    export DISPLAY
    if ! wait_until 20 _xvfb_up_or_gone || ! _pid_alive "$_dusk_xvfb_pid" ||
      [ "$(tr -d ' ' <"/tmp/.X$_rd_n-lock" 2>/dev/null)" != "$_dusk_xvfb_pid" ]; then
      display_stop
    fi
  fi
  _rd_n=$((_rd_n + 1))
done
if [ -z "$_dusk_xvfb_pid" ]; then
  say "FAIL display: no 1920x1200 display could be started"
  exit 1
fi
say "display $DISPLAY, 1920x1200"

for last_dpi in "$@"; do :; done
for dpi in "$@"; do
  desktop=DuskDpi$dpi
  say "STEP Dusk at $dpi DPI in desktop $desktop"
  timeout 60 wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" \
    /f >/dev/null 2>&1
  timeout 60 wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops\\$desktop" \
    /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1
  # Read when the session starts: none may still run with the old density.
  session_stop
  wine explorer "/desktop=$desktop,1920x1200" "$dusk" >>"$DUSK_SESSION_LOG" 2>&1 &
  _dusk_desktop_pid=$!
  if ! desktop_wait "$desktop" 60; then
    say "FAIL desktop: the virtual desktop $desktop did not appear"
    failed=1
    break
  fi
  probe support
  probe layout "$dpi"
  shot "main-window-${dpi}dpi"
  # The pictures: the task list's kind picture and the alarm window, shrunk from their 200 %
  # sources. Once is enough: the alarm takes a minute to come.
  if [ "$dpi" = "$last_dpi" ] && probe add-alarm; then
    shot "task-list-${dpi}dpi"
    probe alarm "$dpi"
    shot "alarm-window-${dpi}dpi"
  fi
  session_stop
done

e2e_end
