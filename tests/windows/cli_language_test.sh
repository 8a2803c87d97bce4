#!/bin/sh
# dusk-cli speaks as the program does: the language chosen in the settings file, else Chinese
# where Windows shows Chinese and English everywhere else. Its help needs no running copy: the
# first line it prints tells the language. Wine sets APPDATA from its own profile, so each run
# goes through cmd, which points APPDATA at a folder of the test's.
# Usage: cli_language_test.sh dusk-cli.exe
set -eu
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Dusk"
windows() { printf 'Z:%s' "$1" | tr / '\134'; }

status=0
# expect LOCALE CHOICE FIRST_LINE: CHOICE is the settings file's language, or "none" for no file.
expect() {
  rm -f "$work/Dusk/settings.txt"
  [ "$2" = none ] || printf '# Dusk settings\r\nlanguage=%s\r\n' "$2" >"$work/Dusk/settings.txt"
  first=$(LANG=$1 LC_ALL=$1 timeout 60 wine cmd /c \
    "set APPDATA=$(windows "$work")&& $(windows "$cli") --help" 2>/dev/null | head -n 1 | tr -d '\r')
  if [ "$first" = "$3" ]; then
    echo "ok: $1, language=$2: $first"
  else
    echo "FAIL: $1, language=$2: '$first', expected '$3'"
    status=1
  fi
}

expect zh_CN.UTF-8 none "用法："
expect zh_TW.UTF-8 auto "用法："
expect en_US.UTF-8 none "Usage:"
expect en_US.UTF-8 zh "用法："
expect zh_CN.UTF-8 en "Usage:"
expect en_US.UTF-8 fr "Usage:"
exit $status
