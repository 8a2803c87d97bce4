#!/bin/sh
# README command 1, as root on a fresh Debian 12: installs what is needed, builds the Windows
# program and runs it under Wine in a virtual desktop (taskbar and tray included).
# With a working $DISPLAY it runs there. Without one it runs on a private Xvfb and saves a
# screenshot every few seconds into out/screens/ until the program ends or you press Ctrl+C.
# The Wine prefix is ~/.dusk-wine, or $DUSK_WINEPREFIX.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")

sh "$here/setup.sh"
sh "$here/build.sh" win

exe=
for candidate in "$top/build/win/Dusk.exe" "$top/build/win/windows/Dusk.exe"; do
  if [ -f "$candidate" ]; then
    exe=$candidate
    break
  fi
done
if [ -z "$exe" ]; then
  echo "the build left no Dusk.exe in $top/build/win" >&2
  exit 1
fi

# shellcheck source=scripts/wine_session.sh
. "$here/wine_session.sh"
set +e # the session helpers report failures by status; a stop must still clean up

stop() {
  session_stop
  display_stop
}
trap stop EXIT
trap 'exit 130' INT TERM

wine_env
display_ready || exit 1
wine_prefix_ready || exit 1

desktop=Dusk
DUSK_SESSION_LOG=$top/out/wine.log
mkdir -p "$top/out"
: >"$DUSK_SESSION_LOG"
desktop_start "$desktop" "$exe"
echo "Dusk is running under Wine on display $DISPLAY (Wine's messages: $DUSK_SESSION_LOG)."

if [ -z "$_dusk_xvfb_pid" ]; then
  echo "Close it from its tray menu or its close button; Ctrl+C stops the whole session."
  # Wine closes the virtual desktop once its last program has ended.
  while desktop_running; do
    sleep 1
  done
  exit 0
fi

screens=$top/out/screens
mkdir -p "$screens"
rm -f "$screens"/*.png
echo "No display here: screenshots every 3 seconds go to $screens (Ctrl+C to stop)."
n=0
while desktop_running; do
  n=$((n + 1))
  screenshot "$(printf '%s/screen-%04d.png' "$screens" "$n")"
  sleep 3
done
echo "Dusk has ended; $n screenshots in $screens."
