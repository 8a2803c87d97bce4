#!/bin/sh
# End-to-end test of the program's language: Dusk.exe under Wine with an English locale, in a
# virtual desktop on a private Xvfb.
#  - Windows speaks English: so does the main window, its captions, modes and button, and no
#    text of it is Chinese;
#  - "中文" chosen with the mouse in the tray menu's "语言 / Language": the window speaks
#    Chinese at once, the choice is kept in settings.txt, and the program started again speaks
#    Chinese.
#
# Usage: run_language.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log, a screenshot of every checked state and, on failure, a dump of the desktop's windows
# go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

DUSK_WINE_LANG=en_US.UTF-8
e2e_begin DuskLanguage "$@"

# shellcheck disable=SC2317 # run by wait_until
settings_say() {
  grep -qF "$1$(printf '\r')" "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Dusk/settings.txt 2>/dev/null
}

# The tray menu opened with the main window back from the tray and in front, as a user finds it.
open_tray_menu() {
  probe minimize && tray=$(point tray-icon) || return 1
  # shellcheck disable=SC2086 # "X Y"
  xdotool mousemove $tray click --repeat 2 --delay 80 1
  probe shown || return 1
  # shellcheck disable=SC2086
  xdotool mousemove $tray click 3
  probe menu
}

if probe language-texts en; then
  shot 01-english
  if open_tray_menu && click menu-language && probe language-choices; then
    shot 02-language-menu
    click language-zh
    probe language-texts zh
    shot 03-chinese-at-once
    check "language kept" "settings.txt names zh" wait_until 10 settings_say "language=zh"
    if open_tray_menu && point menu-close >/dev/null; then
      pid=$(awk '$1 == "PID" { print $2 }' "$out")
      click menu-close
      probe ended "$pid"
      session_stop
      say "STEP Dusk started again"
      desktop_start "$desktop" "$dusk"
      if desktop_wait "$desktop" 60 && probe language-texts zh; then
        shot 04-chinese-after-restart
      else
        say "FAIL started again: no main window in the new desktop"
        failed=1
      fi
    fi
  fi
fi

e2e_end
