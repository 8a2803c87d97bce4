# shellcheck shell=sh
# What the end-to-end scripts share: a private display and Wine session with Dusk in a virtual
# desktop, the probe's steps with their log and window dumps, screenshots and clean-up.
# A driver, two folders below the source root, sources this file (which sources
# scripts/wine_session.sh), then:
#   e2e_args COUNT USAGE "$@"  exits with the usage when fewer than COUNT arguments came
#   e2e_session_begin ARTIFACTS_DIR WINEPREFIX
#                           a private display and the Wine prefix, the log in ARTIFACTS_DIR, the
#                           session's clean-up (e2e_cleanup) when the script exits
#   e2e_begin DESKTOP DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
#                           all that, and Dusk started in the named desktop; exits the script
#                           when that fails
#   probe STEP [ARG]        one step of the probe; fails (and marks the run failed) on a FAIL
#   point WHAT [STEP]       the X screen position of a point the last step (or STEP) printed
#   click WHAT [STEP]       a left click there
#   shot NAME               a screenshot into the artifacts
#   type_due_time           the user's keys into the time edit that enter the due moment the last
#                           step planned (its KEYS line), after a click on the hours
#   add_at_due_time STEP STATE  type_due_time, then the adding STEP; when the moment had come too
#                           close, the step planned a new one, which is typed and added once more
#   e2e_clear_of_midnight SECONDS   waits, bounded, until the day has more than SECONDS left
#   session_processes       the processes of our Wine session, as "PID NAME" lines
#   say TEXT                a line in the log
#   check NAME DETAIL COMMAND [ARGS]  a check made from the script: a PASS or FAIL line for the
#                           command's outcome, logged as the probe logs its own
#   e2e_end                 the verdict; exits with 0 only when every step passed
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. The Wine prefix defaults to e2e-wineprefix beside ARTIFACTS_DIR.

# shellcheck source=scripts/wine_session.sh
. "$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine_session.sh"

e2e_args() {
  _ea_count=$1
  _ea_usage=$2
  shift 2
  if [ $# -lt "$_ea_count" ]; then
    echo "usage: $0 $_ea_usage" >&2
    exit 2
  fi
}

e2e_session_begin() {
  mkdir -p "$1"
  artifacts=$(realpath "$1")
  log=$artifacts/e2e.log
  rm -f "$artifacts"/*.png "$artifacts"/*.txt "$artifacts"/*.log
  : >"$log"
  failed=0
  started_at=$(date +%s)
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM

  # A private display even when one is set: the test moves the mouse, clicks and types.
  wine_env "$2"
  _e2e_tries=0
  until unset DISPLAY && display_ready && _e2e_own_display; do
    say "NOTE display ${DISPLAY:-none} is not ours (another session took it); trying again"
    display_stop
    _e2e_tries=$((_e2e_tries + 1))
    [ "$_e2e_tries" -lt 5 ] || {
      say "FAIL display: no display of our own after $_e2e_tries tries"
      exit 1
    }
  done
  # A run that was killed outright (CTest's timeout) could not clean up after itself.
  _e2e_end_leftovers "left by an earlier run"
  _e2e_from=$(date +%s)
  wine_prefix_ready || exit 1
  # Every test starts with no task list saved: the prefix is shared, the tasks of one test are
  # not the next one's.
  rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Dusk
  say "Wine prefix $WINEPREFIX ready in $(($(date +%s) - _e2e_from)) s; display $DISPLAY"
  DUSK_SESSION_LOG=$artifacts/wine.log
  : >"$DUSK_SESSION_LOG"
}

e2e_begin() {
  desktop=$1
  dusk=$(realpath "$2")
  probe_exe=$(realpath "$3")
  e2e_session_begin "$4" "${5:-$(dirname "$(realpath -m "$4")")/e2e-wineprefix}"
  desktop_start "$desktop" "$dusk"
  if ! desktop_wait "$desktop" 60; then
    say "FAIL desktop: the virtual desktop $desktop did not appear"
    exit 1
  fi
}

# display_ready can be fooled by a session starting at the same moment: our Xvfb loses the race
# for the display number while the winner already answers on it, and the display goes away when
# the other session ends. The display is ours when its lock names an Xvfb this shell started.
_e2e_own_display() {
  _e2e_owner=$(tr -d ' \n' <"/tmp/.X${DISPLAY#:}-lock" 2>/dev/null)
  [ -n "$_e2e_owner" ] && [ "$(ps -o ppid= -p "$_e2e_owner" 2>/dev/null | tr -d ' ')" = "$$" ]
}

say() {
  printf "%s\n" "$*" | tee -a "$log"
}

check() {
  _c_name=$1
  _c_detail=$2
  shift 2
  if "$@"; then
    say "PASS $_c_name: $_c_detail"
  else
    say "FAIL $_c_name: $_c_detail"
    failed=1
    return 1
  fi
}

# The processes of our Wine session, as "PID NAME" lines: Wine's binaries (the programs' loader
# and the wineserver) running with our prefix. Other sessions on this machine use other prefixes.
session_processes() {
  grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null |
    while read -r _sp_environ; do
      _sp_dir=${_sp_environ%/environ}
      case $(readlink "$_sp_dir/exe" 2>/dev/null) in
        */wine*) echo "${_sp_dir#/proc/} $(cat "$_sp_dir/comm" 2>/dev/null)" ;;
      esac
    done
}

# _e2e_end_leftovers WHY: ends whatever of our session still runs, and says so.
_e2e_end_leftovers() {
  _el_left=$(session_processes)
  [ -n "$_el_left" ] || return 0
  say "NOTE ending the processes of the session $1: $(echo "$_el_left" | awk '{ print $2 }' | tr '\n' ' ')"
  session_stop
  _el_left=$(session_processes)
  [ -n "$_el_left" ] || return 0
  # shellcheck disable=SC2046 # a list of process ids
  kill -9 $(echo "$_el_left" | awk '{ print $1 }') 2>/dev/null
  wait_until 10 _e2e_session_ended
}

_e2e_session_ended() {
  [ -z "$(session_processes)" ]
}

# Ending the session ends every program in it, the helper program the steps start included; a
# program that outlives the bounded wait is killed, so that a run leaves nothing behind.
# shellcheck disable=SC2317 # run by the trap
e2e_cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then
    session_stop
    _e2e_end_leftovers "that outlived its end"
  fi
  display_stop
}

# Failing checks wait out their bounds; past this many seconds the remaining steps are skipped,
# so that a broken program ends the run well inside CTest's timeout, with its clean-up.
e2e_budget=180

# probe STEP [ARG]: one step of the probe in the test's desktop. Its lines go to the log; its
# points stay in $out for point(). A failing step leaves a dump of the desktop's windows.
probe() {
  out=$artifacts/step-$1.txt
  if [ $(($(date +%s) - started_at)) -gt "$e2e_budget" ]; then
    say "FAIL $1: skipped, the run is over its budget of $e2e_budget s"
    failed=1
    return 1
  fi
  timeout 150 wine "$probe_exe" "$desktop" "$@" >"$out" 2>>"$DUSK_SESSION_LOG"
  _rc=$?
  tee -a "$log" <"$out"
  if [ "$_rc" -ne 0 ] || ! grep -q "^RESULT $1 PASS" "$out"; then
    failed=1
    timeout 60 wine "$probe_exe" "$desktop" tree >"$artifacts/windows-after-$1.txt" 2>/dev/null
    return 1
  fi
}

# point WHAT [STEP]: the X screen position of a point that the last step, or the named one,
# printed (the probe's positions are the virtual desktop's; xdotool's are the X screen's).
point() {
  _point_from=$out
  [ $# -lt 2 ] || _point_from=$artifacts/step-$2.txt
  awk -v what="$1" -v origin="$(desktop_origin "$desktop")" '
    BEGIN { split(origin, o, " ") }
    $1 == "POINT" && $2 == what { print $3 + o[1], $4 + o[2]; found = 1 }
    END { exit !found }' "$_point_from"
}

# click WHAT [STEP]: a left click on that point.
click() {
  _click_at=$(point "$@") || {
    say "FAIL click: no point $1 from step ${2:-$(basename "$out" .txt)}"
    failed=1
    return 1
  }
  say "STEP click on $1 at $_click_at"
  # shellcheck disable=SC2086 # "X Y"
  xdotool mousemove $_click_at click 1
}

shot() {
  screenshot "$artifacts/$1.png" || say "NOTE no screenshot $1"
}

# A time edit steps one field at a time, each wrapping on its own: a step plans the keys and
# prints them as "KEYS k1 k2 ...".
type_due_time() {
  _keys=$(awk '$1 == "KEYS" { sub(/\r$/, ""); $1 = ""; print substr($0, 2) }' "$out")
  if [ -z "$_keys" ]; then
    say "FAIL keys: step $(basename "$out" .txt) planned no due moment"
    failed=1
    return 1
  fi
  click time-first-field && probe focus bsSkinTimeEdit1 || return 1
  say "STEP keys $_keys into bsSkinTimeEdit1"
  # shellcheck disable=SC2086 # a list of keys
  xdotool key --delay 40 $_keys
}

add_at_due_time() {
  type_due_time && probe "$1" "$2" || return 1
  grep -q '^REPLAN' "$out" || return 0
  say "STEP the moment came too close before the add: entering the new one"
  type_due_time && probe "$1" "$2"
}

_e2e_seconds_left_today() {
  echo $(($(date -d 'tomorrow 00:00:00' +%s) - $(date +%s)))
}

_e2e_day_has_more_than() {
  [ "$(_e2e_seconds_left_today)" -gt "$1" ]
}

# The date edit holds the day the program started, and a due moment typed into the time edit
# lies on that day: a run that could cross midnight waits for the new day first.
e2e_clear_of_midnight() {
  _e2e_left=$(_e2e_seconds_left_today)
  [ "$_e2e_left" -gt "$1" ] && return 0
  echo "waiting ${_e2e_left} s for midnight to pass: a run takes up to $1 s"
  wait_until $((_e2e_left + 10)) _e2e_day_has_more_than "$1"
}

e2e_end() {
  if [ "$failed" -eq 0 ]; then
    say "E2E PASS in $(($(date +%s) - started_at)) s; screenshots in $artifacts"
  else
    shot 99-at-failure
    say "E2E FAIL in $(($(date +%s) - started_at)) s; log, screenshots and window dumps in $artifacts"
  fi
  exit "$failed"
}
