#!/bin/sh
# Copies the README's screenshots from the end-to-end tests' latest run into docs/screenshots:
# the desktop around the windows and the taskbar cut away.
# Usage: scripts/refresh_screenshots.sh [BUILD_DIR]   (build/win by default; first
#        `ctest -R "e2e_dpi|e2e_actions|e2e_power_warning|e2e_conditions"` there)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win}
out=$root/docs/screenshots
mkdir -p "$out"

shot() { # ARTIFACT NAME
  [ -r "$build/$1" ] || {
    echo "refresh_screenshots.sh: no $build/$1: run the end-to-end tests first" >&2
    exit 1
  }
  # The desktop's colour from the top right corner, which no window covers; a border of it lets
  # -trim cut the desktop away whatever lies in the other corners.
  width=$(identify -format %w "$build/$1")
  desktop=$(convert "$build/$1" -format "%[pixel:p{$((width - 1)),0}]" info:)
  convert "$build/$1" -gravity South -chop 0x40 -bordercolor "$desktop" -border 1 \
    -fuzz 2% -trim +repage -strip "$out/$2.png"
  echo "$out/$2.png"
}
shot e2e-dpi-artifacts/task-list-144dpi.png main-window
shot e2e-dpi-artifacts/alarm-window-144dpi.png alarm
shot e2e-actions-artifacts/08-close-program-added.png end-program
shot e2e-warning-artifacts/02-warning-above-full-screen.png warning
shot e2e-conditions-artifacts/01-network-quiet-added.png network-quiet
shot e2e-conditions-artifacts/02-no-input-added.png no-input
