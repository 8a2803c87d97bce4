#!/bin/sh
# End-to-end test of dusk-cli: Dusk.exe under Wine, in a virtual desktop on a private Xvfb, driven
# by dusk-cli as a script drives it (the probe runs it in the desktop and keeps what it printed).
#  - with no copy running, "add alarm in 10m --text 测试" starts Dusk in the tray, exits 0 with the
#    task's id, and the row shows;
#  - "list --json" parses and names that task by its id, kind and text;
#  - "add alarm at 24:00" exits 2 with the message;
#  - a quick pick of the tray menu adds its row;
#  - "cancel all" exits 0 and empties the list;
#  - "Dusk.exe add ..." beside the running copy ends at once, printing nothing, and the copy lists
#    the task.
#
# Usage: run_cli.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

e2e_budget=240
desktop=DuskCli
probe_exe=$(realpath "$2")
e2e_session_begin "$3" "${4:-$(dirname "$(realpath -m "$3")")/e2e-wineprefix}"

# The desktop opens with the helper program in it, not Dusk: dusk-cli starts the copy it talks to.
desktop_start "$desktop" "$(dirname "$probe_exe")/dusk_e2e_target.exe" 命令行测试
if ! desktop_wait "$desktop" 60; then
  say "FAIL desktop: the virtual desktop $desktop did not appear"
  exit 1
fi

# request NAME WORD...: dusk-cli's words in a file, one per line; prints the probe's path of it.
request() {
  _rq_file=$artifacts/$1.txt
  shift
  printf '%s\n' "$@" >"$_rq_file"
  echo "Z:$_rq_file"
}

exit_code() {
  awk '$1 == "EXIT" { sub(/\r$/, ""); print $2 }' "$out"
}

# shellcheck disable=SC2317 # run by check
printed() { # NAME EXPECTED: what dusk-cli printed on standard output (.out) or error (.err)
  [ "$(cat "$artifacts/$1")" = "$2" ]
}

# shellcheck disable=SC2317 # run by check
silent() { # NAME: nothing printed on either output
  [ ! -s "$artifacts/$1.out" ] && [ ! -s "$artifacts/$1.err" ]
}

# shellcheck disable=SC2317 # run by check
json_names_task() { # FILE ID
  python3 - "$1" "$2" <<'PY'
import json, sys
listing = json.load(open(sys.argv[1], encoding="utf-8"))
tasks = listing["tasks"]
assert listing["version"] == 1, listing
assert [(t["id"], t["kind"], t["text"], t["repeat"], t["trigger"]) for t in tasks] == [
    (int(sys.argv[2]), "alarm", "测试", None, None)], tasks
assert len(tasks[0]["due"]) == 19, tasks
PY
}

if probe cli-add-shown "$(request add add alarm in 10m --text 测试)"; then
  shot 01-added-from-the-command-line
  check "add exits 0" "exit code $(exit_code)" [ "$(exit_code)" = 0 ]
  id=$(tr -d '\r\n' <"$artifacts/add.txt.out")
  check "add prints the id" "printed '$id'" [ -n "$id" ]
  if probe cli "$(request list list --json)"; then
    check "list --json" "version 1, the alarm $id with its text" \
      json_names_task "$artifacts/list.txt.out" "$id"
  fi
fi

if probe cli "$(request bad add alarm at 24:00)"; then
  check "a bad time exits 2" "exit code $(exit_code)" [ "$(exit_code)" = 2 ]
  # shellcheck disable=SC1111 # the quotes of the program's own message
  check "a bad time says why" "$(cat "$artifacts/bad.txt.err")" \
    printed bad.txt.err "时刻不对（0:00到23:59:59，例如 23:00）：“24:00”"
fi

if probe tray-icon && tray=$(point tray-icon); then
  say "STEP right click on the tray icon at $tray"
  # shellcheck disable=SC2086 # "X Y"
  xdotool mousemove $tray click 3
  if probe menu && click menu-quick-picks && probe quick-picks; then
    shot 02-quick-picks
    click quick-pick-first && probe cli-rows 2 && shot 03-quick-pick-added
  fi
fi

if probe cli "$(request cancel cancel all)"; then
  check "cancel all exits 0" "exit code $(exit_code)" [ "$(exit_code)" = 0 ]
  probe cli-rows 0 && shot 04-cancelled
fi

if probe dusk-add "$(request shortcut add restart in 2h)"; then
  check "Dusk.exe add exits 0" "exit code $(exit_code)" [ "$(exit_code)" = 0 ]
  check "Dusk.exe add says nothing" "no output" silent shortcut.txt
  probe cli-rows 1 && shot 05-added-by-a-shortcut
fi

e2e_end
