#!/bin/sh
# End-to-end test of the installer under Wine: scripts/package.sh makes it from the build, then
# in a virtual desktop a silent install puts the files, the Start-menu shortcut, the start at
# log-on and the uninstall key in place and starts the program, which shows its main window;
# two tasks are added in it; the silent install of a newer version over the running copy ends
# it and starts the new program, which lists the same tasks; the silent uninstall ends it and
# leaves none of our files or keys, the saved tasks excepted.
#
# Usage: run_installer.sh BUILD_DIR NEWER_EXE PROBE_EXE ARTIFACTS_DIR WINEPREFIX
#   NEWER_EXE  a build of the program with version 1.0.2.0, packaged as the newer release
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/../e2e/e2e_lib.sh"
e2e_args 5 "BUILD_DIR NEWER_EXE PROBE_EXE ARTIFACTS_DIR WINEPREFIX" "$@"

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
newer_exe=$(realpath "$2")
probe_exe=$(realpath "$3")
e2e_session_begin "$4" "$5"
# No menu entries of the host's desktop for the shortcut.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
desktop=DuskSetup

dist=$artifacts/dist
if ! DUSK_BUILD_DIR=$build DUSK_DIST_DIR=$dist sh "$root/scripts/package.sh" \
  https://downloads.dusk.invalid/ >>"$log" 2>&1; then
  say "FAIL package: scripts/package.sh failed"
  exit 1
fi
setup=$(echo "$dist"/Dusk-*-setup.exe)
version=$(basename "$setup" | sed 's/^Dusk-\(.*\)-setup\.exe$/\1/')
newer_version=1.0.2.0
newer_dist=$artifacts/dist-newer
if ! DUSK_BUILD_DIR=$build DUSK_DIST_DIR=$newer_dist DUSK_PROGRAM=$newer_exe \
  DUSK_VERSION=$newer_version sh "$root/scripts/package.sh" https://downloads.dusk.invalid/ \
  >>"$log" 2>&1; then
  say "FAIL package: scripts/package.sh failed for the newer version"
  exit 1
fi
newer_setup=$newer_dist/Dusk-$newer_version-setup.exe

user_dir=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}
installed=$user_dir/AppData/Local/Programs/Dusk
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Dusk.lnk"
saved=$user_dir/AppData/Roaming/Dusk
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dusk'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
files="Dusk.exe clock/1.wav x.wav warn.wav readme.txt license.txt uninstall.exe"

reg_value() { # KEY VALUE: the value's data, as reg query prints it
  timeout 60 wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v v="$2" '$1 == v { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]+/, ""); print }'
}
key_absent() {
  ! timeout 60 wine reg query "$1" >/dev/null 2>&1
}
dusk_pid() {
  session_processes | awk '$2 == "Dusk.exe" { print $1 }'
}
dusk_running() {
  [ -n "$(dusk_pid)" ]
}
dusk_gone() {
  ! dusk_running
}
# Process names are cut to 15 characters: the installer's reads "Dusk-1.0.1.2-se".
setup_running() {
  session_processes | grep -q ' Dusk-\| Au_\.exe\| uninstall\.exe'
}
installed_whole() {
  ! setup_running && [ -f "$installed/uninstall.exe" ] && dusk_running
}
uninstalled() {
  ! setup_running && [ ! -e "$installed" ] && dusk_gone
}
seconds_since() {
  echo "$(($(date +%s%N) / 1000000 - $1))" | awk '{ printf "%.1f", $1 / 1000 }'
}
now_ms() {
  echo $(($(date +%s%N) / 1000000))
}

# A clean start: an earlier run may have left an install behind.
rm -rf "$installed" "$saved" "$shortcut"
timeout 60 wine reg delete "$uninstall_key" /f >/dev/null 2>&1
timeout 60 wine reg delete "$run_key" /v Dusk /f >/dev/null 2>&1

say "STEP silent install of $(basename "$setup") with the start at log-on"
from=$(now_ms)
desktop_start "$desktop" "$setup" /S /AUTOSTART
if ! wait_until 120 installed_whole; then
  say "FAIL install: not installed with the program running within 120 s"
  failed=1
fi
say "TIME silent install and start: $(seconds_since "$from") s"
desktop_wait "$desktop" 30
for file in $files; do
  check "installed $file" "$installed/$file" test -f "$installed/$file"
done
check "nothing else installed" "$(cd "$installed" 2>/dev/null && find . -type f | sort | tr '\n' ' ')" \
  test "$(cd "$installed" 2>/dev/null && find . -type f | wc -l)" -eq 7
check "installed program" "the build's Dusk.exe" cmp -s "$build/Dusk.exe" "$installed/Dusk.exe"
check "shortcut" "$shortcut" test -f "$shortcut"
win_dir='C:\users\'${USER:-$(id -un)}'\AppData\Local\Programs\Dusk'
for pair in "DisplayName=Dusk" "DisplayVersion=$version" "Publisher=The Dusk developers" \
  "DisplayIcon=$win_dir\\Dusk.exe,0" "UninstallString=\"$win_dir\\uninstall.exe\"" \
  "QuietUninstallString=\"$win_dir\\uninstall.exe\" /S"; do
  name=${pair%%=*}
  value=$(reg_value "$uninstall_key" "$name")
  check "uninstall key $name" "reads '$value', expected '${pair#*=}'" test "$value" = "${pair#*=}"
done
size=$(reg_value "$uninstall_key" EstimatedSize)
check "uninstall key EstimatedSize" "$size KB" test "$((size))" -gt 100
value=$(reg_value "$run_key" Dusk)
check "start at log-on" "Run value Dusk reads '$value'" test "$value" = "\"$win_dir\\Dusk.exe\" /tray"

state=$artifacts/installer-state.txt
rm -f "$state"
if probe started && probe saved-add "Z:$state" && probe saved-add "Z:$state"; then
  shot 01-installed-and-started
  first=$(dusk_pid)
  say "STEP silent install of version $newer_version over the running copy (process $first)"
  from=$(now_ms)
  desktop_start "$desktop" "$newer_setup" /S
  replaced() {
    ! setup_running && [ -n "$(dusk_pid)" ] && [ "$(dusk_pid)" != "$first" ]
  }
  check "install over a running copy" "the old copy ended and a new one started" \
    wait_until 120 replaced
  say "TIME silent install over a running copy: $(seconds_since "$from") s"
  check "one program" "$(dusk_pid | wc -l) Dusk.exe process(es)" test "$(dusk_pid | wc -l)" -eq 1
  check "newer program" "the installed Dusk.exe is version $newer_version" \
    cmp -s "$newer_exe" "$installed/Dusk.exe"
  value=$(reg_value "$uninstall_key" DisplayVersion)
  check "uninstall key DisplayVersion" "reads '$value'" test "$value" = "$newer_version"
  probe saved-same "Z:$state" && shot 02-newer-version-with-the-tasks
fi

# The saved tasks stay when the uninstaller runs silently.
mkdir -p "$saved"
echo kept >"$saved/tasks.txt"
say "STEP silent uninstall"
from=$(now_ms)
desktop_start "$desktop" "$installed/uninstall.exe" /S
check "uninstall" "program ended and folder removed" wait_until 120 uninstalled
say "TIME silent uninstall: $(seconds_since "$from") s"
check "no shortcut" "$shortcut" test ! -e "$shortcut"
check "no uninstall key" "$uninstall_key" key_absent "$uninstall_key"
check "no start at log-on" "Run value Dusk" test -z "$(reg_value "$run_key" Dusk)"
check "saved tasks kept" "$saved/tasks.txt" test -f "$saved/tasks.txt"
rm -rf "$saved"

e2e_end
