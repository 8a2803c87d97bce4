#!/bin/sh
# Prints Dusk's speed and size figures under Wine, to be run by hand and read by a person:
#   a. the size of build/win/Dusk.exe (and of a stripped copy, for information);
#   b. the time from starting Dusk.exe to its main window being shown, against a minimal
#      Win32 program that shows one window of the same size (medians and their ratio), with no
#      saved task and again with 1,000 saved tasks;
#   c. the CPU time the idle Dusk.exe uses over a minute (and the wineserver's, for information);
#   d. the CPU time of an idle one-second tick with the wake timer armed and the awake request
#      on, against neither (tests/bench/wake_timer_idle.cpp, the program's own Win32 code).
# Nothing here passes or fails on the figures; the exit code only says whether they could be
# taken. It is not part of the test suite: timings from a shared machine are not verdicts.
#
# Usage (Debian 12, as root, after scripts/setup.sh): scripts/bench.sh
# Settings from the environment:
#   BENCH_RUNS=7            measured starts per program (after one warm-up start each)
#   BENCH_IDLE_SECONDS=60   length of the idle CPU measurement
#   BENCH_DISPLAY_FROM=47   first X display number tried for the private Xvfb
#   BENCH_WINEPREFIX=build/bench-wineprefix   the prefix, created on first use and kept
#   BENCH_DUSK=build/win/Dusk.exe             the program measured (built when it is the default
#                                              and missing)
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

runs=${BENCH_RUNS:-7}
idle_seconds=${BENCH_IDLE_SECONDS:-60}
display_from=${BENCH_DISPLAY_FROM:-47}
prefix=${BENCH_WINEPREFIX:-$root/build/bench-wineprefix}
case $prefix in /*) ;; *) prefix=$root/$prefix ;; esac
dusk_exe=${BENCH_DUSK:-$root/build/win/Dusk.exe}
case $dusk_exe in /*) ;; *) dusk_exe=$root/$dusk_exe ;; esac
out=$root/build/bench
desktop=duskbench
cxx=x86_64-w64-mingw32-g++-posix

log() { printf '%s\n' "$*" >&2; }

# wait_until, wine_env and wine_prefix_ready: the same Wine set-up as the tests.
. "$root/scripts/wine_session.sh"
pid_gone() { ! kill -0 "$1" 2>/dev/null; }

# --- Clean-up, whatever happens --------------------------------------------------------------
xvfb_pid=
explorer_pid=
sleep_pid=
tmp=$(mktemp -d)
cleanup() {
  set +e
  [ -z "$sleep_pid" ] || kill "$sleep_pid" 2>/dev/null
  if [ -n "${WINEPREFIX:-}" ]; then
    timeout 20 wineserver -k >/dev/null 2>&1
    timeout 20 wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$explorer_pid" ]; then
    wait_until 10 pid_gone "$explorer_pid" || kill -9 "$explorer_pid" 2>/dev/null
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait_until 10 pid_gone "$xvfb_pid" || kill -9 "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# --- Builds ------------------------------------------------------------------------------------
if [ ! -f "$dusk_exe" ]; then
  [ -z "${BENCH_DUSK:-}" ] || { log "$dusk_exe is missing"; exit 1; }
  log "build/win/Dusk.exe is missing: building the Windows build ..."
  scripts/build.sh win >&2
fi
mkdir -p "$out"
# Built like a small program would ship: optimised, self-contained, without symbols.
build_bench() { # NAME [EXTRA FLAGS]
  _name=$1
  shift
  if [ ! -f "$out/$_name.exe" ] || [ -n "$(find "tests/bench/$_name.cpp" -newer "$out/$_name.exe")" ]; then
    log "Building $out/$_name.exe ..."
    "$cxx" -std=c++20 -O2 -static -s -Wall -Wextra "$@" -o "$out/$_name.exe" "tests/bench/$_name.cpp"
  fi
}
build_bench minimal_window -mwindows
build_bench launch_timer
build_bench wake_timer_idle -I"$root" -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 \
  platform/power_requests_win.cpp platform/date_time.cpp

# --- a. Size -------------------------------------------------------------------------------------
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$(dirname "$dusk_exe")/CMakeCache.txt" \
  2>/dev/null || true)
size=$(stat -c %s "$dusk_exe")
cp "$dusk_exe" "$tmp/Dusk.exe"
x86_64-w64-mingw32-strip "$tmp/Dusk.exe"
stripped=$(stat -c %s "$tmp/Dusk.exe")
minimal_size=$(stat -c %s "$out/minimal_window.exe")

# --- Display and Wine ----------------------------------------------------------------------------
n=$display_from
while :; do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    if wait_until 20 xdpyinfo -display ":$n" >/dev/null 2>&1; then break; fi
    # Another server took the number first, or this one did not come up.
    kill "$xvfb_pid" 2>/dev/null
    wait_until 10 pid_gone "$xvfb_pid" || kill -9 "$xvfb_pid" 2>/dev/null
    xvfb_pid=
  fi
  n=$((n + 1))
  [ "$n" -lt $((display_from + 50)) ] || { log "no free X display from :$display_from"; exit 1; }
done
export DISPLAY=":$n"

# A Unix path as Wine's Z: drive spells it.
# shellcheck disable=SC1003
win() { printf 'Z:%s' "$1" | tr / '\\'; }

wine_env "$prefix"
wine_prefix_ready || { log "the Wine prefix could not be set up"; exit 1; }
# A taskbar with a notification area, where Dusk puts its icon before showing its window.
timeout 60 wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops\\$desktop" \
  /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1 || { log "reg add failed"; exit 1; }

timer=$(win "$out/launch_timer.exe")
dusk=$(win "$dusk_exe")
minimal=$(win "$out/minimal_window.exe")

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# --- b. Start-up time ----------------------------------------------------------------------------
# The saved list Dusk reads at start: empty for the comparison with the bare window, then a
# thousand tasks, all due tomorrow, so that no start changes (and rewrites) it.
saved_list_folder=$prefix/drive_c/users/$(id -un)/AppData/Roaming/Dusk
save_tasks() { # COUNT
  rm -rf "$saved_list_folder"
  [ "$1" -gt 0 ] || return 0
  mkdir -p "$saved_list_folder"
  tomorrow=$(date -d tomorrow +%Y-%m-%d)
  awk -v n="$1" -v day="$tomorrow" 'BEGIN {
    printf "Dusk task list 1\r\n"
    for (i = 0; i < n; ++i)
      printf "alarm|%s %02d:%02d:00|提醒 %d\r\n", day, int(i / 60) % 24, i % 60, i
  }' >"$saved_list_folder/tasks.txt"
}

# time_starts OUT: the launch timer's lines for Dusk against the bare window, in OUT.
# The timer runs inside the desktop, the only place it sees the windows. The desktop may
# outlive the timer (a program it had to end leaves its tray icon behind), so the session
# is ended once the timer says it is through.
# Long waits run in the background so that an interrupt reaches the clean-up at once.
time_starts() {
  _ts_out=$1
  timeout $((runs * 2 * 45 + 120)) wine explorer "/desktop=$desktop,1280x800" "$timer" \
    "--runs=$runs" --warmup=1 "$dusk" DuskForm:Name=Form1 "$minimal" MinimalWindow \
    >"$_ts_out" 2>"$tmp/startup.err" &
  explorer_pid=$!
  wait_until $((runs * 2 * 45 + 120)) timer_through "$_ts_out" || true
  _ts_code=$(sed -n 's/^DONE \([0-9]*\).*/\1/p' "$_ts_out" 2>/dev/null)
  if [ -n "$_ts_code" ]; then
    timeout 20 wineserver -k >/dev/null 2>&1 || true
  fi
  _ts_explorer=0
  wait "$explorer_pid" || _ts_explorer=$?
  explorer_pid=
  timeout 30 wineserver -w >/dev/null 2>&1 || true
  [ -n "$_ts_code" ] || _ts_code=$_ts_explorer
  return "$_ts_code"
}
timer_through() { grep -q '^DONE ' "$1" 2>/dev/null || pid_gone "$explorer_pid"; }

log "Timing $runs starts of each program in the virtual desktop on $DISPLAY ..."
startup_ok=0
save_tasks 0
time_starts "$tmp/startup.txt" || startup_ok=$?
log "Timing $runs starts again with 1,000 saved tasks ..."
saved_ok=0
save_tasks 1000
time_starts "$tmp/startup-saved.txt" || saved_ok=$?
save_tasks 0

# --- c. Idle CPU ----------------------------------------------------------------------------------
log "Measuring Dusk's idle CPU over $idle_seconds s ..."
ticks=$(getconf CLK_TCK)
# The process of our prefix whose first argument matches ARGV0 (an extended regex), and whose
# second matches ARGV1 when given. Other sessions on the machine run the same programs.
prefix_pid() { # WORD ARGV0 [ARGV1]
  for p in $(pgrep -f "$1" 2>/dev/null); do
    tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qxF "WINEPREFIX=$prefix" || continue
    tr '\0' '\n' 2>/dev/null <"/proc/$p/cmdline" | sed -n 1p | grep -qE "$2" || continue
    if [ $# -gt 2 ]; then
      tr '\0' '\n' 2>/dev/null <"/proc/$p/cmdline" | sed -n 2p | grep -qE "$3" || continue
    fi
    echo "$p"
    return 0
  done
  return 1
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null; }
# On-CPU nanoseconds of the threads alive now: finer than the ticks, but blind to threads that
# ended in between, so only a cross-check.
cpu_ns() { cat "/proc/$1/task"/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
shown_or_failed() { grep -q '^SHOWN \|^FAIL ' "$tmp/idle.txt" 2>/dev/null; }
timer_failed() { grep -q '^FAIL ' "$tmp/idle.txt" 2>/dev/null; }

idle_report=
wine explorer "/desktop=$desktop,1280x800" "$timer" --leave-running "--out=$(win "$tmp/idle.txt")" \
  "$dusk" DuskForm:Name=Form1 >"$tmp/idle.log" 2>&1 &
explorer_pid=$!
if ! wait_until 60 shown_or_failed || timer_failed; then
  idle_report="  Dusk's window did not show: $(cat "$tmp/idle.txt" 2>/dev/null)"
else
  dusk_pid=$(prefix_pid Dusk.exe '(^|[\\/])Dusk\.exe$') || dusk_pid=
  server_pid=$(prefix_pid wineserver '(^|/)wineserver(64)?$') || server_pid=
  explorer_unix_pid=$(prefix_pid explorer.exe '(^|[\\/])explorer\.exe$' "^/desktop=$desktop,") ||
    explorer_unix_pid=
  if [ -z "$dusk_pid" ]; then
    idle_report="  cannot find the Linux process of Dusk.exe"
  else
    d0=$(cpu_ticks "$dusk_pid")
    dn0=$(cpu_ns "$dusk_pid")
    s0=$(cpu_ticks "$server_pid" || echo 0)
    e0=$(cpu_ticks "$explorer_unix_pid" || echo 0)
    t0=$(date +%s.%N)
    sleep "$idle_seconds" &
    sleep_pid=$!
    wait $sleep_pid
    sleep_pid=
    t1=$(date +%s.%N)
    d1=$(cpu_ticks "$dusk_pid") || d1=
    dn1=$(cpu_ns "$dusk_pid")
    s1=$(cpu_ticks "$server_pid" || echo 0)
    e1=$(cpu_ticks "$explorer_unix_pid" || echo 0)
    if [ -z "$d1" ]; then
      idle_report="  Dusk.exe ended during the idle measurement"
    else
      idle_report=$(awk -v d0="$d0" -v d1="$d1" -v dn0="$dn0" -v dn1="$dn1" -v s0="$s0" \
        -v s1="$s1" -v e0="$e0" -v e1="$e1" -v t0="$t0" -v t1="$t1" -v hz="$ticks" \
        -v dp="$dusk_pid" -v sp="$server_pid" -v ep="$explorer_unix_pid" '
        function line(what, pid, seconds, note) {
          printf "  %-40s %7.2f s CPU = %6.3f %% of one core%s\n", what " (pid " pid ")", seconds,
            100 * seconds / wall, note
        }
        BEGIN {
          wall = t1 - t0
          printf "  measured over %.1f s of wall time; utime+stime from /proc/PID/stat in 1/%d s\n", wall, hz
          line("Dusk.exe, idle", dp, (d1 - d0) / hz, "")
          printf "  %-40s %7.3f s CPU (live threads, schedstat; cross-check)\n", "Dusk.exe, idle", (dn1 - dn0) / 1e9
          if (sp != "") line("wineserver", sp, (s1 - s0) / hz, " (information)")
          if (ep != "") line("explorer.exe, the desktop", ep, (e1 - e0) / hz, " (information)")
          printf "  %-40s %7.2f s CPU (start-up, information)\n", "Dusk.exe before the measurement", d0 / hz
        }')
    fi
  fi
fi

# --- d. Idle CPU with the wake timer armed and without ---------------------------------------
log "Measuring an idle tick with and without the wake timer, $idle_seconds s each ..."
wake_report=
for mode in none --armed; do
  timeout 20 wineserver -w >/dev/null 2>&1 || true
  wine "$out/wake_timer_idle.exe" "$((idle_seconds + 5))" "$mode" >"$tmp/wake.txt" 2>&1 &
  wake_wine_pid=$!
  if ! wait_until 60 grep -q '^READY' "$tmp/wake.txt"; then
    wake_report="$wake_report  $mode: the idle program did not start
"
    kill "$wake_wine_pid" 2>/dev/null || true
    continue
  fi
  idle_pid=$(prefix_pid wake_timer_idle '(^|[\\/])wake_timer_idle\.exe$') || idle_pid=
  server_pid=$(prefix_pid wineserver '(^|/)wineserver(64)?$') || server_pid=
  i0=$(cpu_ticks "$idle_pid" || echo 0)
  s0=$(cpu_ticks "$server_pid" || echo 0)
  sleep "$idle_seconds"
  i1=$(cpu_ticks "$idle_pid" || echo 0)
  s1=$(cpu_ticks "$server_pid" || echo 0)
  wait "$wake_wine_pid" || true
  wake_report="$wake_report$(awk -v m="$mode" -v i="$((i1 - i0))" -v s="$((s1 - s0))" \
    -v hz="$ticks" -v w="$idle_seconds" -v note="$(sed -n 1p "$tmp/wake.txt")" 'BEGIN {
      printf "  %-8s program %6.2f s CPU (%6.3f %%), wineserver %6.2f s CPU (%6.3f %%)  %s\n",
        (m == "none" ? "none" : "armed"), i / hz, 100 * i / hz / w, s / hz, 100 * s / hz / w,
        (m == "none" ? "" : note) }')
"
done

load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# --- Report ---------------------------------------------------------------------------------------
echo "=== Dusk benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), Wine $(wine --version 2>/dev/null), $(nproc) cores ==="
echo "load average before: $load_before, after: $load_after (other work on the machine skews timings)"
echo
echo "a. Size"
echo "  ${dusk_exe#"$root"/}: $size bytes (build type: ${build_type:-unknown})"
echo "  the same after mingw strip:        $stripped bytes (information)"
echo "  minimal window program (stripped): $minimal_size bytes (information)"
echo
print_starts() { # OUT EXIT
  if [ -s "$1" ]; then
    awk '
      $1 == "WARMUP" { printf "  warm-up %-20s %8.1f\n", $2, $4 }
      $1 == "RUN"    { printf "  run %-2s  %-20s %8.1f\n", $3, $2, $4 }
      $1 == "FAIL" || $1 == "NOTE" { print "  " $0 }
      $1 == "MEDIAN" { printf "  median  %-20s %8.1f over %d runs\n", $2, $3, $4 }
      $1 == "RATIO"  { printf "  ratio   %-20s %8.2f\n", $2, $3 }
    ' "$1"
  else
    echo "  no figures: the timer printed nothing (exit $2)"
    sed 's/^/  /' "$tmp/startup.err" | head -n 20
  fi
  [ "$2" = 0 ] || echo "  the timer exited with $2"
}
echo "b. Start to main window shown (ms; one warm-up start each, not counted; runs alternate)"
echo "  with no saved task:"
print_starts "$tmp/startup.txt" "$startup_ok"
echo "  with 1,000 saved tasks:"
print_starts "$tmp/startup-saved.txt" "$saved_ok"
echo
echo "c. Idle CPU over ${idle_seconds} s after the main window showed"
printf '%s\n' "$idle_report"
echo
echo "d. Idle tick over ${idle_seconds} s: wake timer armed an hour ahead and awake request on, against neither"
printf '%s' "$wake_report"

[ "$startup_ok" = 0 ] && [ "$saved_ok" = 0 ] && [ -n "${d1:-}" ]
