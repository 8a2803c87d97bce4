#!/bin/sh
# End-to-end test of the self-update: Dusk under Wine, in a virtual desktop on a private Xvfb,
# asking a loopback update server (update_server.py), watched from outside through its windows
# (update_probe, running in the same desktop), the server's request log and the files in the
# program's folder.
#
# Usage: run_update_e2e.sh SCENARIO OLD_EXE NEW_EXE PROBE_EXE DUSK_PROBE_EXE PORT ARTIFACTS_DIR
#                          [WINEPREFIX]
#   handover         version 1.0.1.2 finds 1.0.2.0, downloads it with the progress window, and the
#                    new program ends up running as Dusk.exe, the leftovers removed
#   handover-installed  as handover, with the old program installed by the release's installer in
#                    the user's programs folder, and both programs signed for Windows as a
#                    release's are (by a throwaway publisher: tests/packaging/codesign_fixture.sh)
#   handover-tasks   as handover, with two alarms entered while the download comes: the update
#                    does not wait for them; the new program lists both and rings the first in
#                    its due second
#   no-update        the server down, a 404, a version that is not newer: the program runs on
#   relocation       started as Foo.exe, the program creates Dusk.exe and hands over to it
#   refused-update   a newer version is named, but its address answers 404, or the version file
#                    carries no signature, a signature of another file, or another version than
#                    the file's, or the file was tampered with: the program refuses it and runs on
#   failing-servers  servers that misbehave: refused connections, error answers, a web page in
#                    place of the version file, an endless answer, a request that hangs, a
#                    download cut short or replaced by garbage; the program runs on, shows
#                    nothing, performs its tasks and ends at once when closed
# OLD_EXE and NEW_EXE are builds of versions 1.0.1.2 and 1.0.2.0 that ask 127.0.0.1:PORT and
# trust the test signing key; the offered program is signed with it by scripts/sign_update.sh.
# DUSK_PROBE_EXE is the probe of the other end-to-end tests, which enters tasks.
# The log, the server's logs, a screenshot of every checked state and, on failure, a dump of the
# desktop's processes and windows go to ARTIFACTS_DIR. The Wine prefix defaults to
# e2e-update-wineprefix beside ARTIFACTS_DIR and is reused by later runs. Exit status 0 when every
# check passed.
set -u

# The programs ask their server on one fixed loopback port, built into them. In a network of its
# own each scenario has that port to itself, and the scenarios run side by side; where no private
# network can be made (unshare needs root), they take turns.
if [ -z "${DUSK_E2E_OWN_NETWORK:-}" ]; then
  if unshare --net true 2>/dev/null; then
    DUSK_E2E_OWN_NETWORK=1 exec unshare --net sh -c 'ip link set lo up && exec sh "$@"' sh "$0" "$@"
  fi
  exec 9>/tmp/dusk-e2e-update.lock
  flock 9
fi

here=$(cd "$(dirname "$0")" && pwd)
source_root=$(cd "$here/../.." && pwd)
# shellcheck source=tests/e2e/e2e_lib.sh
. "$source_root/tests/e2e/e2e_lib.sh"
# shellcheck source=tests/packaging/codesign_fixture.sh
. "$source_root/tests/packaging/codesign_fixture.sh"
e2e_args 7 "SCENARIO OLD_EXE NEW_EXE PROBE_EXE DUSK_PROBE_EXE PORT ARTIFACTS_DIR [WINEPREFIX]" "$@"
scenario=$1
old_exe=$(realpath "$2")
new_exe=$(realpath "$3")
probe_exe=$(realpath "$4")
dusk_probe_exe=$(realpath "$5")
port=$6
artifacts_dir=$7
prefix=${8:-$(dirname "$(realpath -m "$7")")/e2e-update-wineprefix}

python=/usr/bin/python3
[ -x "$python" ] || python=python3
desktop=DuskUpdateE2E
server_pid=
server_log=

# ---- the update server ----

_server_settled() {
  grep -q '^READY\|^CANNOT-LISTEN' "$1" 2>/dev/null || _pid_gone "$server_pid"
}

# server_start ROOT LOG [WATCHED_FILE ...]: serves ROOT on the port until server_stop.
server_start() {
  _ss_root=$1
  _ss_log=$2
  shift 2
  _ss_watch=
  for _ss_file; do
    _ss_watch="$_ss_watch --watch $_ss_file"
  done
  : >"$_ss_log"
  # shellcheck disable=SC2086 # our own paths, without blanks
  "$python" "$here/update_server.py" --port "$port" --root "$_ss_root" --log "$_ss_log" \
    $_ss_watch 2>>"$case_dir/server-errors.log" &
  server_pid=$!
  wait_until 20 _server_settled "$_ss_log"
  check "update server" "$(head -n 1 "$_ss_log")" grep -q '^READY' "$_ss_log"
}

server_stop() {
  [ -n "$server_pid" ] || return 0
  _pid_stop "$server_pid"
  server_pid=
}

port_closed() {
  ! "$python" -c "import socket; socket.create_connection(('127.0.0.1', $port), 2)" 2>/dev/null
}

# Requests in the server's log, in the order they came; blank when none.
requests_for() {
  grep -E "^REQUEST [0-9]+ $1" "$2"
}

# ---- the Wine session ----

session_begin() {
  # An empty desktop: the probe starts the programs in it, so that it sees them from their start.
  desktop_start "$desktop"
  check "desktop" "the virtual desktop $desktop is shown" desktop_wait "$desktop" 60
}

# launch_old_program LABEL: a fresh desktop with the old program started in it as Dusk.exe; its
# process id in $pid.
launch_old_program() {
  session_begin || return
  probe "launch-$1" launch "$(windows_path "$app/Dusk.exe")" 1.0.1.2 || return
  pid=$(value PID)
}

# probe LABEL STEP [ARGS]: one step of the update probe in the test's desktop, in place of the
# shared one: a step may run more than once in a case, under a label of its own. Its lines go to
# the log; its values stay in $out for value(). A failing step leaves a dump of the desktop.
probe() {
  _p_label=$1
  shift
  out=$case_dir/probe-$_p_label.txt
  timeout 240 wine "$probe_exe" "$desktop" "$@" >"$out" 2>>"$DUSK_SESSION_LOG"
  _p_rc=$?
  tee -a "$log" <"$out"
  if [ "$_p_rc" -ne 0 ] || ! grep -q "^RESULT $1 PASS" "$out"; then
    failed=1
    shot "$(basename "$case_dir")-failed-$_p_label"
    timeout 60 wine "$probe_exe" "$desktop" tree >"$case_dir/windows-after-$_p_label.txt" 2>/dev/null
    return 1
  fi
}

value() {
  awk -v name="$1" '$1 == "VALUE" && $2 == name { v = $3 } END { print v }' "$out"
}

# The Windows path of a file: Wine's drive Z: is the root of the file system.
windows_path() {
  printf 'Z:%s' "$1" | tr / '\\'
}

# case_begin NAME: a folder of its own for the program (app), the server's files (www) and logs.
case_begin() {
  case_dir=$artifacts/case-$1
  app=$case_dir/app
  www=$case_dir/www
  server_log=$case_dir/server.log
  mkdir -p "$app/clock" "$www/v" "$www/new"
  # The sounds lie beside the program as an installed one has them: an alarm without its
  # sound file is reported as a failure.
  for _cb_sound in clock/1.wav x.wav warn.wav; do
    cp "$(dirname "$old_exe")/$_cb_sound" "$app/$_cb_sound"
  done
  say "== $1"
}

case_end() {
  session_stop
  server_stop
  # The server's log once, after the case's own lines.
  [ -n "$server_log" ] && [ -f "$server_log" ] && sed 's/^/server: /' "$server_log" | tee -a "$log"
  server_log=
}

# The old program as Dusk.exe, and a copy to compare with at the end: the build may be newer by
# then.
install_old() {
  installed=$case_dir/installed.exe
  cp "$old_exe" "$installed"
  cp "$installed" "$app/Dusk.exe"
}

# A refused or failed update leaves the folder as it was: the old program, nothing downloaded.
check_old_program_kept() {
  check "nothing kept" "neither upDusk.exe nor upDusk.exe.download in the folder" \
    test ! -e "$app/upDusk.exe" -a ! -e "$app/upDusk.exe.download"
  check "program kept" "Dusk.exe is still the old program" cmp -s "$app/Dusk.exe" "$installed"
}

new_url() {
  printf 'http://127.0.0.1:%s/new/Dusk-1.0.2.0.exe' "$port"
}

# release FILE VERSION URL PROGRAM: FILE becomes the version-information file for PROGRAM, signed
# with the test key by the project's signing script (the version, the address and the signature,
# one a line). The signing script signs a program that trusts the test key only when told to; the
# release script refuses it always.
release() {
  DUSK_ALLOW_TEST_KEY=1 sh "$source_root/scripts/sign_update.sh" "$source_root/tests/fixtures/test_signing_key.pem" \
    "$4" "$2" "$3" >"$1" 2>>"$log"
}

# The signature token of a version-information file.
signature_of() {
  sed -n '3p' "$1" | tr -d '\r'
}

# ---- scenarios ----

# install_old_program: the old program installed by a silent run of the release's installer,
# which starts nothing on a first install; the session is ended then, so that the probe starts
# the program and watches it from its start. app becomes the installed folder.
install_old_program() {
  _io_user_dir=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}
  app=$_io_user_dir/AppData/Local/Programs/Dusk
  # What an earlier run installed goes first.
  rm -rf "$app" "$_io_user_dir/AppData/Roaming/Dusk"
  timeout 60 wine reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dusk' \
    /f >/dev/null 2>&1
  check "package" "the old program packaged as release 1.0.1.2, signed" _package_old_program ||
    return
  say "STEP silent install into $app"
  desktop_start "$desktop" "$case_dir/dist/Dusk-1.0.1.2-setup.exe" /S
  check "install" "the old program installed" wait_until 120 _old_program_installed || return
  session_stop
}

_package_old_program() {
  rm -rf "$case_dir/dist"
  DUSK_BUILD_DIR=$(dirname "$old_exe") DUSK_DIST_DIR=$case_dir/dist DUSK_PROGRAM=$old_exe \
    DUSK_VERSION=1.0.1.2 sh "$source_root/scripts/package.sh" https://downloads.dusk.invalid/ \
    >>"$log" 2>&1 3<"$codesign_password_file" &&
    "$python" -c 'import sys, zipfile; open(sys.argv[2], "wb").write(zipfile.ZipFile(sys.argv[1]).read("Dusk.exe"))' \
      "$case_dir/dist/Dusk-1.0.1.2-portable.zip" "$case_dir/released-old.exe"
}

# The installer's process name is cut to 15 characters: "Dusk-1.0.1.2-se".
_old_program_installed() {
  [ -f "$app/uninstall.exe" ] && cmp -s "$case_dir/released-old.exe" "$app/Dusk.exe" &&
    ! session_processes | grep -q ' Dusk-'
}

# signed_for_windows FILE: its Authenticode signature verifies against the throwaway root.
signed_for_windows() {
  sh "$source_root/scripts/authenticode_verify.sh" "$1" >>"$log" 2>&1
}

# run_handover [installed]: the three-instance hand-over: the old program downloads the new one
# while the server holds the second half of it back, so the progress window can be looked at
# mid-way.
run_handover() {
  case_begin "handover${1:+-$1}"
  cp "$new_exe" "$www/new/Dusk-1.0.2.0.exe"
  : >"$www/new/Dusk-1.0.2.0.exe.hold"
  if [ "${1:-}" = installed ]; then
    # As a release makes it: signed for Windows first, the update's signature over those bytes.
    check "publisher" "a throwaway certificate and time-stamp server" \
      codesign_fixture_begin "$source_root" "$case_dir/publisher" || return
    check "signed for Windows" "the new program" env DUSK_CODESIGN_SECRET="$codesign_password_file" \
      sh "$source_root/scripts/authenticode.sh" Dusk.exe "$www/new/Dusk-1.0.2.0.exe" || return
  fi
  check "release" "the new program signed, its version-information file written" \
    release "$www/v/dusk.html" 1.0.2.0 "$(new_url)" "$www/new/Dusk-1.0.2.0.exe" || return
  if [ "${1:-}" = installed ]; then
    install_old_program || return
    codesign_fixture_end
    check "signed for Windows" "the installed program" signed_for_windows "$app/Dusk.exe"
    # As the Start menu's shortcut names it.
    launched='C:\users\'${USER:-$(id -un)}'\AppData\Local\Programs\Dusk\Dusk.exe'
  else
    cp "$old_exe" "$app/Dusk.exe"
    launched=$(windows_path "$app/Dusk.exe")
  fi
  server_start "$www" "$server_log" "$app/up" "$app/upDusk.exe" "$app/upDusk.exe.download" ||
    return
  session_begin || return

  probe launch launch "$launched" 1.0.1.2 || return
  old_pid=$(value PID)
  probe downloading downloading "$old_pid"
  shot handover-1-downloading
  check "version request" "$(requests_for '/v/' "$server_log")" \
    grep -Eq '^REQUEST 1 /v/dusk\.html\?[0-9a]+ 200 stamp=now up=no upDusk\.exe=no ' "$server_log"
  check "program request" "$(requests_for '/new/' "$server_log")" \
    grep -Eq '^REQUEST 2 /new/Dusk-1\.0\.2\.0\.exe\?[0-9a]+ 200 stamp=now ' "$server_log"
  [ "$failed" -eq 0 ] || return

  # The probe lets the server send the rest once it watches the processes.
  probe handover handover "$old_pid" 1.0.2.0 \
    "$(windows_path "$www/new/Dusk-1.0.2.0.exe.release")" || return
  new_pid=$(value PID)
  shot handover-2-new-program

  # The new program's own check asks only after its start-up has removed the leftovers: at that
  # request none of "up", "upDusk.exe" and "upDusk.exe.download" lies in the folder.
  check "leftovers removed before the new program's check" \
    "a version request after the download finds none of up, upDusk.exe, upDusk.exe.download" \
    wait_until 30 _cleared_request_logged
  probe quiet quiet "$new_pid" 1.0.2.0
  shot handover-3-final
  check "program file replaced" "Dusk.exe holds the new program" \
    cmp -s "$app/Dusk.exe" "$www/new/Dusk-1.0.2.0.exe"
  if [ "${1:-}" = installed ]; then
    check "signed for Windows" "the updated program" signed_for_windows "$app/Dusk.exe"
  fi
  check "download removed" "no upDusk.exe in the folder" test ! -e "$app/upDusk.exe"
  check "download removed" "no upDusk.exe.download in the folder" \
    test ! -e "$app/upDusk.exe.download"
  check "one download" "$(requests_for '/new/' "$server_log" | wc -l) request(s) for the program" \
    test "$(requests_for '/new/' "$server_log" | wc -l)" -eq 1
}

# The hand-over with tasks pending: they go over with the saved list.
run_handover_tasks() {
  case_begin handover-tasks
  cp "$old_exe" "$app/Dusk.exe"
  cp "$new_exe" "$www/new/Dusk-1.0.2.0.exe"
  : >"$www/new/Dusk-1.0.2.0.exe.hold"
  check "release" "the new program signed, its version-information file written" \
    release "$www/v/dusk.html" 1.0.2.0 "$(new_url)" "$new_exe" || return
  server_start "$www" "$server_log" "$app/up" "$app/upDusk.exe" "$app/upDusk.exe.download" ||
    return
  session_begin || return

  probe launch launch "$(windows_path "$app/Dusk.exe")" 1.0.1.2 || return
  old_pid=$(value PID)
  probe downloading downloading "$old_pid" || return
  tasks_state=$case_dir/tasks.state
  rm -f "$tasks_state"
  dusk_probe handover-tasks-add "Z:$tasks_state" || return
  shot handover-tasks-1-two-alarms
  probe handover handover "$old_pid" 1.0.2.0 \
    "$(windows_path "$www/new/Dusk-1.0.2.0.exe.release")" || return
  shot handover-tasks-2-new-program
  dusk_probe handover-tasks-listed "Z:$tasks_state"
  # The first alarm is a few minutes ahead of its entry.
  dusk_probe handover-tasks-due "Z:$tasks_state" --timeout=60
  shot handover-tasks-3-first-alarm
  check "program file replaced" "Dusk.exe holds the new program" \
    cmp -s "$app/Dusk.exe" "$www/new/Dusk-1.0.2.0.exe"
}

_cleared_request_logged() {
  awk '/^REQUEST [0-9]+ \/new\// { after = 1; next }
       after && / \/v\/dusk\.html\?[0-9a]+ 200 stamp=now up=no upDusk\.exe=no upDusk\.exe\.download=no$/ {
         found = 1
       }
       END { exit !found }' "$server_log"
}

# no_update_case NAME: the old program with a server that is down (NAME down), that has no
# version page (missing) or names the running version, signed (same). The program runs on
# untouched.
no_update_case() {
  case_begin "no-update-$1"
  cp "$old_exe" "$app/Dusk.exe"
  # The new program is there to be taken: a wrong decision would show as a request for it.
  cp "$new_exe" "$www/new/Dusk-1.0.2.0.exe"
  case $1 in
    down) check "server down" "nothing listens on 127.0.0.1:$port" port_closed || return ;;
    missing) ;;
    same)
      # Signed and all: only the version keeps it from being taken.
      check "release" "the running version signed" \
        release "$www/v/dusk.html" 1.0.1.2 "$(new_url)" "$old_exe" || return
      ;;
  esac
  if [ "$1" != down ]; then
    server_start "$www" "$server_log" || return
  fi
  launch_old_program "$1" || return
  if [ "$1" != down ]; then
    check "version request" "the program asked the server" \
      wait_until 30 grep -Eq '^REQUEST 1 /v/dusk\.html\?[0-9a]+ (200|404) stamp=now' "$server_log"
  fi
  probe "quiet-$1" quiet "$pid" 1.0.1.2
  shot "no-update-$1"
  if [ "$1" != down ]; then
    check "no download" "no request for the program" test -z "$(requests_for '/new/' "$server_log")"
  fi
  check "nothing downloaded" "no upDusk.exe in the folder" test ! -e "$app/upDusk.exe"
}

run_no_update() {
  for _nu_case in down missing same; do
    no_update_case "$_nu_case"
    case_end
  done
}

# Started under another name in a folder without Dusk.exe. The server is down: no update mixes in.
run_relocation() {
  case_begin relocation
  cp "$old_exe" "$app/Foo.exe"
  check "server down" "nothing listens on 127.0.0.1:$port" port_closed || return
  session_begin || return
  probe relocation relocation "$(windows_path "$app/Foo.exe")" 1.0.1.2 || return
  pid=$(value PID)
  shot relocation-1-moved
  check "copy under the fixed name" "Dusk.exe is a copy of Foo.exe" cmp -s "$app/Dusk.exe" "$app/Foo.exe"
  check "started file kept" "Foo.exe stays in the folder" test -f "$app/Foo.exe"
  probe quiet quiet "$pid" 1.0.1.2
}

# refused_case NAME: a newer version is named, but what comes is not to be started: its address
# answers 404 (missing), the file carries no signature (unsigned), the signature of another
# program (forged), or the signed program is another version than the one named (misnamed). The
# progress window goes away again, the program runs on, and nothing of the download stays.
refused_case() {
  case_begin "refused-$1"
  install_old
  cp "$new_exe" "$www/new/Dusk-1.0.2.0.exe"
  check "release" "the new program signed" \
    release "$case_dir/signed.html" 1.0.2.0 "$(new_url)" "$new_exe" || return
  check "release" "the old program signed" \
    release "$case_dir/old-signed.html" 1.0.1.2 "$(new_url)" "$old_exe" || return
  case $1 in
    missing)
      printf '1.0.2.0\r\nhttp://127.0.0.1:%s/new/missing.exe\r\n%s\r\n' "$port" \
        "$(signature_of "$case_dir/signed.html")" >"$www/v/dusk.html"
      ;;
    unsigned) printf '1.0.2.0\r\n%s\r\n' "$(new_url)" >"$www/v/dusk.html" ;;
    forged)
      printf '1.0.2.0\r\n%s\r\n%s\r\n' "$(new_url)" \
        "$(signature_of "$case_dir/old-signed.html")" >"$www/v/dusk.html"
      ;;
    misnamed)
      printf '1.0.3.0\r\n%s\r\n%s\r\n' "$(new_url)" \
        "$(signature_of "$case_dir/signed.html")" >"$www/v/dusk.html"
      ;;
    tampered)
      # The signed program with one byte changed on the way.
      cp "$case_dir/signed.html" "$www/v/dusk.html"
      flip_byte "$www/new/Dusk-1.0.2.0.exe" 4096
      ;;
  esac
  server_start "$www" "$server_log" || return
  launch_old_program "$1" || return
  # Without a signature nothing could be started, so nothing is fetched but the version file.
  if [ "$1" = unsigned ]; then
    _rc_downloads=0
    check "version request" "the program asked for the version file" \
      wait_until 30 grep -Eq '^REQUEST 1 /v/dusk\.html\?[0-9a]+ 200 stamp=now' "$server_log"
  else
    _rc_downloads=1
    check "program request" "the program asked for the address named" \
      wait_until 30 grep -Eq '^REQUEST 2 /new/[^ ]+\?[0-9a]+ [0-9]+ stamp=now' "$server_log"
  fi
  probe "quiet-$1" quiet "$pid" 1.0.1.2
  shot "refused-$1"
  check_old_program_kept
  check "downloads" "$_rc_downloads request(s) for the program" \
    test "$(requests_for '/new/' "$server_log" | wc -l)" -eq "$_rc_downloads"
}

# flip_byte FILE OFFSET: inverts the bits of one byte in place.
flip_byte() {
  "$python" - "$1" "$2" <<'PY'
import sys
path, offset = sys.argv[1], int(sys.argv[2])
with open(path, "r+b") as f:
    f.seek(offset)
    byte = f.read(1)
    f.seek(offset)
    f.write(bytes([byte[0] ^ 0xFF]))
PY
}

run_refused_update() {
  for _ru_case in missing unsigned forged misnamed tampered; do
    refused_case "$_ru_case"
    case_end
  done
}

# failing_case NAME: the old program against a server that misbehaves (see the usage above). The
# program runs on with nothing but its main window, keeps nothing of a download, and ends at once
# when closed.
failing_case() {
  case_begin "failing-$1"
  install_old
  cp "$new_exe" "$www/new/Dusk-1.0.2.0.exe"
  check "release" "the new program signed" \
    release "$case_dir/signed.html" 1.0.2.0 "$(new_url)" "$new_exe" || return
  cp "$case_dir/signed.html" "$www/v/dusk.html"
  # What the program should have asked for before it settles.
  _fc_asked='^REQUEST 2 /new/'
  case $1 in
    refused) _fc_asked= ;;
    version-500) echo 500 >"$www/v/dusk.html.status"; _fc_asked='^REQUEST 1 /v/' ;;
    web-page)
      # As a captive portal answers: a page of its own, in place of the version file.
      printf '<html><head><title>登录</title></head>\r\n<body>Please sign in, 1.9.9.9</body></html>\r\n' \
        >"$www/v/dusk.html"
      _fc_asked='^REQUEST 1 /v/'
      ;;
    endless)
      printf '<html><body>%s</body></html>\r\n' "$(head -c 3000 /dev/zero | tr '\0' x)" \
        >"$www/v/dusk.html"
      : >"$www/v/dusk.html.endless"
      _fc_asked='^ENDLESS-GONE /v/'
      ;;
    program-500) echo 500 >"$www/new/Dusk-1.0.2.0.exe.status" ;;
    program-cut) : >"$www/new/Dusk-1.0.2.0.exe.cut"; _fc_asked='^CUT /new/' ;;
    program-garbage)
      head -c "$(stat -c %s "$new_exe")" /dev/urandom >"$www/new/Dusk-1.0.2.0.exe"
      _fc_asked='^SENT /new/'
      ;;
  esac
  if [ "$1" = refused ]; then
    check "server down" "nothing listens on 127.0.0.1:$port" port_closed || return
  else
    server_start "$www" "$server_log" || return
  fi
  launch_old_program "$1" || return
  if [ -n "$_fc_asked" ]; then
    check "server reached" "the log shows $_fc_asked" wait_until 30 grep -Eq "$_fc_asked" "$server_log"
  fi
  probe "quiet-$1" quiet "$pid" 1.0.1.2
  shot "failing-$1"
  check_old_program_kept
  probe "close-$1" close "$pid"
}

# hang_case NAME: a request that hangs, one byte a second: the version page (check) or the new
# program (download). Meanwhile the program performs an alarm that comes due, and it ends at once
# when closed.
hang_case() {
  case_begin "hang-$1"
  cp "$old_exe" "$app/Dusk.exe"
  cp "$new_exe" "$www/new/Dusk-1.0.2.0.exe"
  check "release" "the new program signed" \
    release "$www/v/dusk.html" 1.0.2.0 "$(new_url)" "$new_exe" || return
  case $1 in
    check) : >"$www/v/dusk.html.trickle"; _hc_path=/v/ ;;
    download) : >"$www/new/Dusk-1.0.2.0.exe.trickle"; _hc_path=/new/ ;;
  esac
  server_start "$www" "$server_log" || return
  launch_old_program "$1" || return
  check "request hangs" "the server trickles $_hc_path" \
    wait_until 30 grep -q "^TRICKLE $_hc_path" "$server_log"
  state=$case_dir/alarm.state
  rm -f "$state"
  dusk_probe alarm-countdown "$state" || return
  shot "hang-$1-1-alarm-added"
  dusk_probe alarm-due "$state" --timeout=120
  shot "hang-$1-2-alarm-shown"
  check "still hanging" "the server has not finished $_hc_path" \
    test -z "$(grep -E "^(SENT|TRICKLE-[A-Z]+) $_hc_path" "$server_log")"
  probe "close-$1" close "$pid"
  # What came of a download cut off by the end of the program stays under its temporary name,
  # which the next start removes.
  check "nothing to start" "no upDusk.exe in the folder" test ! -e "$app/upDusk.exe"
}

# dusk_probe STEP [ARGS]: a step of the task-entering probe, logged like the update probe's.
dusk_probe() {
  _dp_step=$1
  out=$case_dir/dusk-probe-$_dp_step.txt
  timeout 240 wine "$dusk_probe_exe" "$desktop" "$@" >"$out" 2>>"$DUSK_SESSION_LOG"
  _dp_rc=$?
  tee -a "$log" <"$out"
  if [ "$_dp_rc" -ne 0 ] || ! grep -q "^RESULT $_dp_step PASS" "$out"; then
    failed=1
    shot "$(basename "$case_dir")-failed-$_dp_step"
    return 1
  fi
}

run_failing_servers() {
  for _fs_case in refused version-500 web-page endless program-500 program-cut program-garbage; do
    failing_case "$_fs_case"
    case_end
  done
  for _fs_case in check download; do
    hang_case "$_fs_case"
    case_end
  done
}

# ---- the run ----

e2e_session_begin "$artifacts_dir" "$prefix"
trap 'server_stop; codesign_fixture_end; e2e_cleanup' EXIT
# Only what earlier runs of this script left here.
rm -rf "$artifacts"/case-*
case_dir=$artifacts

case $scenario in
  handover) run_handover ;;
  handover-installed) run_handover installed ;;
  handover-tasks) run_handover_tasks ;;
  no-update) run_no_update ;;
  relocation) run_relocation ;;
  refused-update) run_refused_update ;;
  failing-servers) run_failing_servers ;;
  *)
    say "unknown scenario $scenario"
    exit 2
    ;;
esac
[ "$failed" -eq 0 ] || shot 99-at-failure
case_end

if [ "$failed" -eq 0 ]; then
  say "E2E $scenario PASS in $(($(date +%s) - started_at)) s; screenshots in $artifacts"
else
  say "E2E $scenario FAIL in $(($(date +%s) - started_at)) s; logs, screenshots and dumps in $artifacts"
fi
exit "$failed"
