#!/bin/sh
# End-to-end test of the warning window before a shut-down: Dusk.exe under Wine, in a virtual
# desktop on a private Xvfb. Each task is entered through the real controls, its due moment typed
# into the time edit with the user's keys, and watched from outside (dusk_probe):
#  - a "关机" task some 50 seconds ahead, with a full-screen topmost program (dusk_e2e_cover)
#    holding the keyboard: half a minute before it the window "WarnForm" opens above that
#    program without taking the keyboard; Enter and Space typed by the user reach the program
#    and press no button of the warning; a click on "推迟5分钟" puts the task five minutes off;
#  - a second one, cancelled by "取消任务": the session still runs a minute past its moment;
#  - meanwhile a start-program task for a file that is not there: its failure balloon.
# The log carries, as figures only, the time from the tick to the window and the program's CPU
# time with the window open and with none.
#
# Usage: run_power_warning.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

# Two shut-down tasks 50 s ahead, the wait of a minute past the second, the start-program task
# within it.
e2e_budget=260
cpu_seconds=20
# The postponed task must not come due before the end: it is five minutes off.
e2e_clear_of_midnight 360 || exit 1
e2e_begin DuskPowerWarning "$@"
state=$artifacts/warning-state.txt
rm -f "$state"
st=Z:$state

due_of() {
  awk '$1 == "DUE" { print $2 }' "$artifacts/step-$1.txt" | tr -d '\r'
}

# CPU ticks (1/100 s) of Dusk and of the wineserver so far.
cpu_ticks() {
  session_processes | awk '$2 == "Dusk.exe" || $2 == "wineserver" { print $1 }' |
    while read -r _ct_pid; do awk '{ print $14 + $15 }' "/proc/$_ct_pid/stat" 2>/dev/null; done |
    awk '{ s += $1 } END { print s + 0 }'
}

# shellcheck disable=SC2317 # run by wait_until
past() { [ "$(date +%s)" -ge "$1" ]; }

# measure_cpu WHAT SECONDS: the program's CPU time over that many seconds, in the log.
measure_cpu() {
  [ "$2" -gt 0 ] || return 0
  _mc_from=$(cpu_ticks)
  _mc_start=$(date +%s)
  wait_until "$(($2 + 2))" past $((_mc_start + $2))
  _mc_to=$(cpu_ticks)
  _mc_span=$(($(date +%s) - _mc_start))
  say "FIGURE CPU $1: $(((_mc_to - _mc_from) * 10)) ms of Dusk and the wineserver over $_mc_span s"
}

# 1. Above a full-screen program that keeps the keyboard; put off by five minutes.
if probe warn-shutdown-entry "$st" && add_at_due_time warn-shutdown-add "$st"; then
  shot 01-shutdown-added
  if probe warn-cover "$st" && probe warn-shown "$st"; then
    shot 02-warning-above-full-screen
    say "STEP keys Return space into the full-screen program"
    xdotool key --delay 100 Return space
    if probe warn-keys "$st"; then
      shot 03-keys-pressed-nothing
      click postpone5 warn-shown
      probe warn-postponed "$st"
      shot 04-postponed
    fi
  fi
fi

# 2. Cancelled; the CPU time while the window shows.
if probe warn-shutdown-entry "$st" && add_at_due_time warn-shutdown-add "$st"; then
  shot 05-second-shutdown-added
  if probe warn-shown "$st"; then
    shot 06-warning-shown
    due=$(due_of warn-shown)
    # Ending well before the due moment, so that the cancel comes in time.
    left=$((due - 10 - $(date +%s)))
    measure_cpu "with the warning window open" "$([ "$left" -lt "$cpu_seconds" ] && echo "$left" || echo "$cpu_seconds")"
    click cancel warn-shown
    if probe warn-cancelled "$st"; then
      shot 07-cancelled
      # 3. Within the minute that follows: a program that is not there.
      if probe warn-open-entry "$st" && add_at_due_time warn-open-add "$st"; then
        shot 08-start-program-added
        probe warn-open-failed "$st"
        shot 09-failure-balloon
      fi
      left=$((due + 60 - 5 - $(date +%s)))
      measure_cpu "with no window open" "$([ "$left" -lt "$cpu_seconds" ] && echo "$left" || echo "$cpu_seconds")"
      probe warn-survived "$st"
      shot 10-a-minute-later
      if session_processes | awk '{ print $2 }' | grep -q '^Dusk.exe'; then
        say "PASS session runs: Dusk.exe still running $(($(date +%s) - due)) s past the cancelled moment"
      else
        say "FAIL session runs: Dusk.exe gone past the cancelled moment"
        failed=1
      fi
    fi
  fi
fi

e2e_end
