#!/bin/sh
# Runs a Windows test program under Wine with a display: $DISPLAY when it answers, else a private
# Xvfb. Tests that make windows need one. The Wine session (WINEPREFIX from the environment) and
# a display started here end with the test, also when the test outlives its bound.
#
# Usage: run_with_display.sh SECONDS PROGRAM [ARGS...]
set -u
if [ $# -lt 2 ]; then
  echo "usage: $0 SECONDS PROGRAM [ARGS...]" >&2
  exit 2
fi
bound=$1
shift

# shellcheck source=scripts/wine_session.sh
. "$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine_session.sh"

finish() {
  session_stop
  display_stop
}
trap finish EXIT
trap 'exit 130' INT TERM

display_ready || exit 1
timeout "$bound" wine "$@"
