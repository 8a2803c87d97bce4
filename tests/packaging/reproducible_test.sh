#!/bin/sh
# The release can be rebuilt byte for byte: the same source, copied to another folder of another
# depth and built there again, later, without a compiler cache, makes the same program files; and
# packaged there, in another time zone and with another umask, the same zip and the same
# installer. Every file that differs is named with its differing bytes (show_differences.py).
# The first build is the one under test (the Windows layer's), so that only one more is made.
#
# Usage: reproducible_test.sh SOURCE_DIR BUILD_DIR WORK_DIR
#   SOURCE_DIR  the source the build was made from; its files (git's, committed or not) are copied
#   WORK_DIR    emptied, then holds the copy, its build and both releases
# SOURCE_DATE_EPOCH defaults to the time of the source's last commit.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source=$(realpath "$1")
build=$(realpath "$2")
work=$(realpath -m "$3")
python=/usr/bin/python3
[ -x "$python" ] || python=python3
started=$(date +%s)

rm -rf "$work"
copy=$work/elsewhere/a-folder-of-another-length/dusk
rebuild=$copy/out/rebuild
mkdir -p "$copy"
(cd "$source" && git ls-files -z --cached --others --exclude-standard | xargs -0 tar -cf - --) |
  tar -C "$copy" -xf -
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct)}
export SOURCE_DATE_EPOCH

cache=$build/CMakeCache.txt
# The target that links a program file, as the build's link rules name it.
target_of() { # PROGRAM
  find "$build" -path "$work" -prune -o -path '*/CMakeFiles/*.dir/link.txt' \
    -exec grep -l -e "-o \([^ ]*/\)\?$1 " {} + | head -n 1 |
    sed 's|.*/CMakeFiles/\(.*\)\.dir/link\.txt$|\1|'
}
# Every program file the release ships.
targets=
programs=
for program in Dusk.exe dusk-cli.exe; do
  if [ -f "$build/$program" ]; then
    target=$(target_of "$program")
    [ -n "$target" ] || {
      echo "FAIL no link rule in $build makes $program"
      exit 1
    }
    targets="$targets $target"
    programs="$programs $program"
  fi
done

# No compiler cache: a hit would bring the first build's objects over, whatever they hold.
echo "rebuilding$targets in $rebuild"
# The build's own settings: its type, its flags and the project's options.
set -- "-DCMAKE_TOOLCHAIN_FILE=$copy/cmake/mingw-w64-x86_64.cmake"
while IFS= read -r setting; do
  [ -z "$setting" ] || set -- "$@" "-D$setting"
done <<SETTINGS
$(grep -E '^(CMAKE_BUILD_TYPE|CMAKE_(C|CXX|EXE_LINKER)_FLAGS|DUSK_[A-Z0-9_]*):' "$cache")
SETTINGS
# shellcheck disable=SC2086 # $targets: target names, without blanks
if ! env -u CMAKE_C_COMPILER_LAUNCHER -u CMAKE_CXX_COMPILER_LAUNCHER CCACHE_DISABLE=1 \
  cmake -S "$copy" -B "$rebuild" "$@" >"$work/rebuild.log" 2>&1 ||
  ! env CCACHE_DISABLE=1 cmake --build "$rebuild" -j "$(nproc)" --target $targets \
    >>"$work/rebuild.log" 2>&1; then
  tail -n 40 "$work/rebuild.log"
  echo "FAIL the rebuild failed"
  exit 1
fi
echo "rebuilt in $(($(date +%s) - started)) s"

package() { # SOURCE BUILD DIST
  if ! DUSK_BUILD_DIR=$2 DUSK_DIST_DIR=$3 sh "$1/scripts/package.sh" \
    https://downloads.dusk.invalid/ >"$3.log" 2>&1; then
    cat "$3.log"
    echo "FAIL scripts/package.sh failed for $2"
    exit 1
  fi
}
package "$source" "$build" "$work/first"
(umask 002 && export TZ=UTC-5:30 && package "$copy" "$rebuild" "$work/second") || exit 1

status=0
compare() { # FIRST SECOND
  if [ "$(basename "$1")" = SHA256SUMS ]; then
    if diff -u "$1" "$2"; then
      echo "identical: SHA256SUMS"
    else
      status=1
    fi
  elif "$python" "$here/show_differences.py" "$1" "$2"; then
    echo "identical: $(basename "$1") $(sha256sum <"$1" | cut -d' ' -f1)"
  else
    status=1
  fi
}
for program in $programs; do
  compare "$build/$program" "$rebuild/$program"
done
for file in $(cd "$work/first" && ls Dusk-*-portable.zip Dusk-*-setup.exe SHA256SUMS); do
  compare "$work/first/$file" "$work/second/$file"
done
echo "checked in $(($(date +%s) - started)) s"
[ "$status" -eq 0 ] || echo "FAIL the rebuild differs from the build"
exit $status
