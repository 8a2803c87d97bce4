#!/bin/sh
# End-to-end test of the program's texts on systems of other code pages: Dusk under Wine with the
# locale of each given run (the ANSI code page Wine takes from it: 936 for zh_CN, 950 for zh_TW,
# 1252 for en_US), its main window's texts read back exactly through the wide calls, a reminder
# with characters of no code page typed, added and read back from the task list, with a
# screenshot of each. Under a code page without Chinese, a helper program with a Chinese file
# name and title is listed by the picker and ended by a close-program task in its due second.
#
# Usage: run_code_page.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR WINEPREFIX LOCALE:CODEPAGE...
# The prefix is this test's own: a change of locale rewrites the prefix's regional settings.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 5 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR WINEPREFIX LOCALE:CODEPAGE..." "$@"

dusk=$(realpath "$1")
probe_exe=$(realpath "$2")
artifacts_dir=$3
prefix=$4
shift 4
# Each locale's session with a look at its texts, and one close-program task of a few tens of
# seconds.
e2e_budget=$((150 * $# + 120))
e2e_clear_of_midnight $((150 * $# + 120)) || exit 1
e2e_session_begin "$artifacts_dir" "$prefix"

for run; do
  locale=${run%%:*}
  code_page=${run#*:}
  desktop=DuskCodePage$code_page
  say "STEP Dusk under $locale (code page $code_page) in desktop $desktop"
  session_stop
  DUSK_WINE_LANG=$locale
  wine_env "$WINEPREFIX"
  if ! wine_prefix_ready; then
    say "FAIL prefix: the Wine prefix could not be set up for $locale"
    failed=1
    continue
  fi
  # Each locale's program starts with no tasks: the one before saved its alarm. Its texts are
  # the Chinese ones whatever the locale: Windows in English would have the program speak English.
  rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Dusk
  settings=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Dusk
  mkdir -p "$settings" && printf 'language=zh\r\n' >"$settings/settings.txt"
  state=$artifacts/code-page-$code_page-state.txt
  rm -f "$state"
  st=Z:$state
  desktop_start "$desktop" "$dusk"
  if ! desktop_wait "$desktop" 60; then
    say "FAIL desktop: the virtual desktop $desktop did not appear"
    failed=1
    continue
  fi
  probe code-page "$code_page"
  probe texts "$st"
  shot "texts-code-page-$code_page"
  case $code_page in
    936 | 950 | 65001) ;;
    *)
      if probe chinese-target "$st" && probe close-entry "$st" &&
        add_at_due_time close-add "$st"; then
        shot "chinese-helper-task-added-code-page-$code_page"
        probe close-due "$st"
        shot "chinese-helper-ended-code-page-$code_page"
      fi
      ;;
  esac
done
session_stop

e2e_end
