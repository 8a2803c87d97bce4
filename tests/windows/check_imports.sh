#!/bin/sh
# The program must run from its one file, and no DLL planted beside it may load with it: every
# DLL it imports at start is one of the system's known DLLs, which the loader takes from the
# system folder alone, or the common controls, which the manifest names. The other system DLLs
# are delay-loaded (see CMakeLists.txt); objdump -p lists only the imports at start.
set -eu
exe=$1
allowed="KERNEL32.dll USER32.dll GDI32.dll SHELL32.dll COMCTL32.dll ADVAPI32.dll COMDLG32.dll
msvcrt.dll PSAPI.DLL"
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "no imports read from $exe"; exit 1; }
status=0
for dll in $imports; do
  case " $(echo $allowed | tr 'A-Z' 'a-z') " in
    *" $(echo "$dll" | tr 'A-Z' 'a-z') "*) echo "system DLL: $dll" ;;
    *) echo "NOT a system DLL: $dll"; status=1 ;;
  esac
done
exit $status
