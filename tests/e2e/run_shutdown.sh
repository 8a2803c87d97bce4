#!/bin/sh
# End-to-end test of a shut-down task: Dusk.exe under Wine, in a virtual desktop on a private
# Xvfb. A "关机" task is entered through the real controls, its due moment some 40 seconds ahead
# typed into the time edit with the user's keys. Thirty seconds before it the tray balloon warns
# (dusk_probe reads it from the desktop's explorer; the screenshot shows its title), and in its
# due second the program asks the system to shut down, which under Wine ends every process of
# the session: the test watches Dusk, explorer and the wineserver of its prefix go away.
#
# Usage: run_shutdown.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

# The session may take this long to go once the task is due: Wine's shut-down ends the
# processes one by one.
session_end_bound=20

e2e_clear_of_midnight 180 || exit 1
e2e_begin DuskShutdown "$@"
state=$artifacts/shutdown-state.txt
rm -f "$state"
st=Z:$state

# shellcheck disable=SC2317 # run by wait_until
session_gone() {
  [ -z "$(session_processes)" ] && ! desktop_running
}

# Seconds since 1970 of the due moment, from the line "DUE UNIX-SECONDS SECONDS-LEFT" of a step.
due_of() {
  awk '$1 == "DUE" { print $2 }' "$artifacts/step-$1.txt" | tr -d '\r'
}

if probe shutdown-entry "$st" && add_at_due_time shutdown-add "$st" &&
  due=$(due_of shutdown-add) && [ -n "$due" ]; then
  shot 01-shutdown-added
  probe shutdown-warning "$st"
  shot 02-warning-balloon

  running=$(session_processes)
  say "NOTE the session before the due moment: $(echo "$running" | awk '{ print $2 }' | sort | tr '\n' ' ')"
  for wanted in Dusk.exe explorer.exe wineserver; do
    if echo "$running" | awk '{ print $2 }' | grep -q "^$wanted"; then
      say "PASS session process $wanted: running $((due - $(date +%s))) s before the due moment"
    else
      say "FAIL session process $wanted: not running before the due moment"
      failed=1
    fi
  done

  # Bounded by the due moment and the time a shut-down takes.
  wait_until $((due - $(date +%s) + session_end_bound)) session_gone
  gone_at=$(date +%s)
  left=$(session_processes | awk '{ print $2 }' | tr '\n' ' ')
  # Dusk performs the task in the tick whose distance to the due second is 0, up to a second
  # before it.
  if [ -n "$left" ] || desktop_running; then
    say "FAIL session ended: still running $((gone_at - due)) s after the due moment: ${left:-the desktop}"
    failed=1
  elif [ "$gone_at" -lt $((due - 2)) ]; then
    say "FAIL session ended: $((due - gone_at)) s before the due moment"
    failed=1
  elif [ "$gone_at" -lt "$due" ]; then
    say "PASS session ended: Dusk, explorer and the wineserver gone $((due - gone_at)) s before the due second, in the tick that performs it"
  else
    say "PASS session ended: Dusk, explorer and the wineserver gone $((gone_at - due)) s after the due moment"
  fi
  shot 03-session-ended
fi

e2e_end
