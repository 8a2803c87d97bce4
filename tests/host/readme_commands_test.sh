#!/bin/sh
# Every script the README has the reader type (a scripts/... or .ci/... path in a ```sh block)
# is committed with its run bit: a fresh clone runs it as typed.
# Usage: readme_commands_test.sh SOURCE_ROOT
set -eu
cd "$1"
typed=$(awk '
  /^```/ {
    if (open) { open = 0; typed = 0 } else { open = 1; typed = ($0 ~ /^```sh[ \t]*$/) }
    next
  }
  typed' README.md | grep -o '\(^\|[^A-Za-z0-9_./-]\)\(scripts\|\.ci\)/[A-Za-z0-9_./-]*' |
  sed 's|^[^A-Za-z0-9_./-]||; s|\.*$||' | sort -u)
[ -n "$typed" ] || {
  echo "FAILED: no scripts/ or .ci/ command found in the README's sh blocks"
  exit 1
}
status=0
for path in $typed; do
  mode=$(git ls-files -s -- "$path" | cut -d' ' -f1)
  if [ "$mode" = 100755 ]; then
    echo "ok: $path"
  elif [ -n "$mode" ]; then
    echo "FAILED: $path, typed in the README, is committed with mode $mode, not 100755"
    status=1
  else
    echo "FAILED: $path, typed in the README, is not committed"
    status=1
  fi
done
exit $status
