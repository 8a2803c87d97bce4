#!/bin/sh
# End-to-end test of the installer under Wine: scripts/package.sh makes it from the build, signed
# for Windows as a release is (by a throwaway publisher, codesign_fixture.sh), then in a virtual
# desktop a silent install puts the files, signed (the uninstaller too), the Start-menu shortcut, the start at
# log-on and the uninstall key in place and, as nothing ran before, starts nothing; the program
# is started and two tasks are added in it; the silent install of a newer version over the
# running copy ends it and starts the new program, which lists the same tasks. The silent
# uninstall, typed in a shell as a user would (outside the virtual desktop, whose windows it
# cannot see), ends the program, in the tray and then in its window after an install again, and
# leaves none of our files or keys, the saved tasks excepted; so does one run in the desktop
# while the program shows its warning box. The uninstall the user clicks through, told not to
# keep the tasks, deletes them and keeps a file of someone else's beside them. A silent install
# meeting a copy that ignores WM_CLOSE and cannot be opened gives up within a bound, with exit
# code 2, having installed nothing.
#
# Usage: run_installer.sh BUILD_DIR NEWER_EXE PROBE_EXE LOOKALIKE_EXE ARTIFACTS_DIR WINEPREFIX
#   NEWER_EXE      a build of the program with version 1.0.2.0, packaged as the newer release
#   LOOKALIKE_EXE  tests/packaging/dusk_lookalike.cpp
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/../e2e/e2e_lib.sh"
e2e_args 6 "BUILD_DIR NEWER_EXE PROBE_EXE LOOKALIKE_EXE ARTIFACTS_DIR WINEPREFIX" "$@"
# Five installs and four uninstalls.
e2e_budget=400

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
newer_exe=$(realpath "$2")
probe_exe=$(realpath "$3")
lookalike_exe=$(realpath "$4")
e2e_session_begin "$5" "$6"
# No menu entries of the host's desktop for the shortcut.
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
desktop=DuskSetup

dist=$artifacts/dist
newer_dist=$artifacts/dist-newer
rm -rf "$dist" "$newer_dist"
# shellcheck source=tests/packaging/codesign_fixture.sh
. "$root/tests/packaging/codesign_fixture.sh"
trap 'codesign_fixture_end; e2e_cleanup' EXIT
if ! codesign_fixture_begin "$root" "$artifacts/publisher"; then
  say "FAIL publisher: the throwaway certificate or time-stamp server could not be made"
  exit 1
fi
if ! DUSK_BUILD_DIR=$build DUSK_DIST_DIR=$dist sh "$root/scripts/package.sh" \
  https://downloads.dusk.invalid/ >>"$log" 2>&1 3<"$codesign_password_file"; then
  say "FAIL package: scripts/package.sh failed"
  exit 1
fi
setup=$(echo "$dist"/Dusk-*-setup.exe)
version=$(basename "$setup" | sed 's/^Dusk-\(.*\)-setup\.exe$/\1/')
newer_version=1.0.2.0
if ! DUSK_BUILD_DIR=$build DUSK_DIST_DIR=$newer_dist DUSK_PROGRAM=$newer_exe \
  DUSK_VERSION=$newer_version sh "$root/scripts/package.sh" https://downloads.dusk.invalid/ \
  >>"$log" 2>&1 3<"$codesign_password_file"; then
  say "FAIL package: scripts/package.sh failed for the newer version"
  exit 1
fi
codesign_fixture_end
trap e2e_cleanup EXIT
newer_setup=$newer_dist/Dusk-$newer_version-setup.exe
# The program each release ships, signed: as its zip holds it.
shipped_program() { # DIST OUTPUT
  python3 -c 'import sys, zipfile; open(sys.argv[2], "wb").write(zipfile.ZipFile(sys.argv[1]).read("Dusk.exe"))' \
    "$(echo "$1"/Dusk-*-portable.zip)" "$2"
}
release_exe=$artifacts/release-Dusk.exe
newer_release_exe=$artifacts/newer-release-Dusk.exe
if ! shipped_program "$dist" "$release_exe" ||
  ! shipped_program "$newer_dist" "$newer_release_exe"; then
  say "FAIL package: no Dusk.exe in the zips"
  exit 1
fi
signed() { # FILE: its Authenticode signature verifies against the throwaway publisher's root
  sh "$root/scripts/authenticode_verify.sh" "$1" >>"$log" 2>&1
}

user_dir=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}
installed=$user_dir/AppData/Local/Programs/Dusk
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Dusk.lnk"
saved=$user_dir/AppData/Roaming/Dusk
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dusk'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
files="Dusk.exe dusk-cli.exe clock/1.wav x.wav warn.wav readme.txt license.txt uninstall.exe"

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
# Process names are cut to 15 characters: the installer's reads "Dusk-1.0.1.2-se"; the
# uninstaller runs on as a copy of itself, Un.exe.
setup_running() {
  session_processes | grep -q ' Dusk-\| Un\.exe\| Au_\.exe\| uninstall\.exe'
}
setup_ended() {
  ! setup_running
}
installed_whole() {
  ! setup_running && [ -f "$installed/uninstall.exe" ]
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

# silent_install SETUP [ARGUMENTS]: run in the virtual desktop, until it has ended.
silent_install() {
  _si_setup=$1
  shift
  # Wine closes a virtual desktop a moment after its last program ends: a program started into
  # it meanwhile goes down with it. With nothing of ours left in it, the old one ends first.
  if dusk_gone && setup_ended; then
    wait_until 30 desktop_gone || say "NOTE the virtual desktop $desktop stayed after its programs"
  fi
  desktop_start "$desktop" "$_si_setup" /S "$@"
  wait_until 120 installed_whole
}
desktop_gone() {
  ! desktop_running
}
# The uninstaller typed in a shell: outside the virtual desktop the program runs in.
shell_uninstall() {
  timeout 60 wine "$installed/uninstall.exe" /S >>"$log" 2>&1
}
# uninstalled_checks WHAT: everything of ours gone, the saved tasks kept.
uninstalled_checks() {
  check "uninstall $1" "program ended and folder removed" wait_until 120 uninstalled
  say "TIME silent uninstall $1: $(seconds_since "$from") s"
  check "no shortcut" "$shortcut" test ! -e "$shortcut"
  check "no uninstall key" "$uninstall_key" key_absent "$uninstall_key"
  check "no start at log-on" "Run value Dusk" test -z "$(reg_value "$run_key" Dusk)"
  check "saved tasks kept" "$saved/tasks.txt" test -f "$saved/tasks.txt"
}

say "STEP silent install of $(basename "$setup") with the start at log-on"
from=$(now_ms)
if ! silent_install "$setup" /AUTOSTART; then
  say "FAIL install: not installed within 120 s"
  failed=1
fi
say "TIME silent install: $(seconds_since "$from") s"
check "nothing started" "a first install does not start the program" dusk_gone
for file in $files; do
  check "installed $file" "$installed/$file" test -f "$installed/$file"
done
check "nothing else installed" "$(cd "$installed" 2>/dev/null && find . -type f | sort | tr '\n' ' ')" \
  test "$(cd "$installed" 2>/dev/null && find . -type f | wc -l)" -eq "$(echo $files | wc -w)"
check "installed program" "the release's Dusk.exe" cmp -s "$release_exe" "$installed/Dusk.exe"
# Every program file, the uninstaller the installer wrote included.
for file in $files; do
  case $file in
    *.exe) check "signed $file" "its signature verifies" signed "$installed/$file" ;;
  esac
done
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
desktop_start "$desktop" "$installed/Dusk.exe"
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
    cmp -s "$newer_release_exe" "$installed/Dusk.exe"
  value=$(reg_value "$uninstall_key" DisplayVersion)
  check "uninstall key DisplayVersion" "reads '$value'" test "$value" = "$newer_version"
  probe saved-same "Z:$state" && shot 02-newer-version-with-the-tasks
  probe minimize && shot 03-in-the-tray
fi

# The saved tasks stay when the uninstaller runs silently.
mkdir -p "$saved"
echo kept >"$saved/tasks.txt"
say "STEP silent uninstall, typed in a shell, while the program is in the tray"
from=$(now_ms)
shell_uninstall
uninstalled_checks "of a program in the tray"

say "STEP silent install again, the program started, and the silent uninstall typed in a shell"
if silent_install "$setup"; then
  desktop_start "$desktop" "$installed/Dusk.exe"
  if probe started; then
    from=$(now_ms)
    shell_uninstall
    uninstalled_checks "of a program in its window"
  fi
else
  say "FAIL install: not installed again within 120 s"
  failed=1
fi

say "STEP silent install again, the program started with its warning box open, and the silent uninstall in its desktop"
if silent_install "$setup"; then
  # The warning asks for a panel with no kind chosen: the kind the adds above left is forgotten.
  rm -f "$saved/settings.txt"
  desktop_start "$desktop" "$installed/Dusk.exe"
  if probe started && probe warning-open "Z:$state"; then
    shot 04-warning-box-open
    from=$(now_ms)
    # Here the uninstaller sees the program's window: WM_CLOSE reaches it through the box's loop.
    desktop_start "$desktop" "$installed/uninstall.exe" /S
    uninstalled_checks "of a program showing its warning box"
  fi
else
  say "FAIL install: not installed again within 120 s"
  failed=1
fi

# click_button TEXT: a click on the middle of a shown button whose text begins with TEXT.
click_button() {
  _cb_at=$(timeout 60 wine "$probe_exe" "$desktop" tree 2>/dev/null | tr -d '\r' |
    awk -v text="\"$1" -v origin="$(desktop_origin "$desktop")" '
      index($0, "[Button]") && index($0, text) && / shown / {
        match($0, /\(-?[0-9]+,-?[0-9]+ [0-9]+x[0-9]+\)/)
        split(substr($0, RSTART + 1, RLENGTH - 2), b, /[, x]/)
        split(origin, o, " ")
        print o[1] + b[1] + int(b[3] / 2), o[2] + b[2] + int(b[4] / 2)
        exit
      }')
  [ -n "$_cb_at" ] || return 1
  say "STEP click on the button $1 at $_cb_at"
  # shellcheck disable=SC2086 # "X Y"
  xdotool mousemove $_cb_at click 1
}
own_files_gone() {
  [ ! -e "$saved/tasks.txt" ] && [ ! -e "$saved/tasks.bad-20261210-233005.txt" ] &&
    [ ! -e "$saved/tasks.tmp" ]
}

say "STEP install again, and the uninstall clicked through, told not to keep the saved tasks"
if silent_install "$setup"; then
  echo "unreadable" >"$saved/tasks.bad-20261210-233005.txt"
  echo "half written" >"$saved/tasks.tmp"
  echo "someone else's" >"$saved/notes.txt"
  desktop_start "$desktop" "$installed/uninstall.exe"
  if check "confirm" "the uninstaller's 卸载 clicked" wait_until 60 click_button "卸载" &&
    check "keep the tasks? no" "否 clicked" wait_until 60 click_button "否"; then
    check "saved tasks deleted" "tasks.txt, tasks.bad-*.txt, tasks.tmp" wait_until 60 own_files_gone
    shot 05-uninstalled-without-the-tasks
    check "someone else's file kept" "$saved/notes.txt" test -f "$saved/notes.txt"
    check "uninstall" "program folder removed" test ! -e "$installed"
    check "close" "关闭 clicked" wait_until 60 click_button "关闭"
    check "uninstaller ended" "no uninstaller runs" wait_until 60 setup_ended
  fi
else
  say "FAIL install: not installed again within 120 s"
  failed=1
fi

say "STEP a copy that ignores WM_CLOSE and cannot be opened, and a silent install"
session_stop
rm -f "$artifacts/lookalike-ready"
wine "$lookalike_exe" "Z:$(printf '%s' "$artifacts/lookalike-ready" | tr / '\134')" locked \
  >>"$log" 2>&1 &
if check "lookalike" "a window like Dusk's" wait_until 60 test -f "$artifacts/lookalike-ready"; then
  from=$(now_ms)
  # Well within the copy's own minute: one that never gives up is cut off while it still waits.
  timeout 30 wine "$setup" /S >>"$log" 2>&1
  code=$?
  say "TIME silent install beside a copy it cannot end: $(seconds_since "$from") s"
  check "install gives up" "exit code $code, expected 2" test "$code" -eq 2
  check "nothing installed" "$installed" test ! -e "$installed"
fi
rm -rf "$saved"

e2e_end
