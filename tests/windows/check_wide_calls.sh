#!/bin/sh
# The program speaks to Windows in UTF-16 only: no import of an 8-bit ("A")
# function where the DLL has a wide ("W") one, whether imported at start (the
# import table) or delay-loaded (the names the delay-load tables keep in the
# program). The MinGW runtime linked in makes a few 8-bit calls that carry no
# text of ours; they are named below.
# Usage: check_wide_calls.sh DUSK_EXE DELAY_LOAD_DEFINITIONS_DIR
set -eu
exe=$1
definitions=$2
# Runtime calls: unnamed events and semaphores and debug output (threads),
# system error texts (the C++ library), and the delay-load helper's loading of
# a DLL by its ASCII name.
runtime="CreateEventA CreateSemaphoreA OutputDebugStringA FormatMessageA LoadLibraryA"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

x86_64-w64-mingw32-objdump -p "$exe" |
  awk '/DLL Name:/ { dll = $3 } /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print $3 }' >"$work/imported"
[ -s "$work/imported" ] || { echo "no imports read from $exe"; exit 1; }
# Every export of the delay-loaded DLLs whose name the program keeps.
cat "$definitions"/*.def | sed -n 's/^\([A-Za-z_][A-Za-z0-9_]*\)$/\1/p' | sort -u >"$work/delayable"
strings -n 4 "$exe" | sort -u >"$work/strings"
comm -12 "$work/delayable" "$work/strings" >>"$work/imported"
# Every export of the system DLLs, to tell which 8-bit names have a wide twin.
for library in kernel32 user32 gdi32 shell32 comctl32 comdlg32 version winmm wininet advapi32; do
  x86_64-w64-mingw32-nm "$(x86_64-w64-mingw32-g++-posix -print-file-name=lib$library.a)" 2>/dev/null |
    sed -n 's/^.* I __imp_//p'
done | sort -u >"$work/exports"

status=0
for name in $(sort -u "$work/imported"); do
  case $name in *A) ;; *) continue ;; esac
  wide="${name%A}W"
  grep -qx "$wide" "$work/exports" || continue
  case " $runtime " in
    *" $name "*) echo "runtime's own: $name" ;;
    *) echo "8-bit call with a wide twin: $name (use $wide)"; status=1 ;;
  esac
done
[ $status -eq 0 ] && echo "every call that takes text is a wide one: $(wc -l <"$work/imported") imports checked"
exit $status
