#!/bin/sh
# The real builds write our narrow literals in GBK (-fexec-charset=GBK), a
# conversion clang does not offer. So the fuzz build hands clang each source
# already in GBK: preprocessed first (comments gone, headers inlined, line
# markers kept for the reports), then recoded, which leaves only literals to
# change. The recoded file compiles as clang takes a literal's bytes as they are.
# Usage: gbk_source.sh CXX SOURCE OUTPUT DEPFILE [COMPILE FLAGS...]
set -eu
cxx=$1
source=$2
output=$3
depfile=$4
shift 4

"$cxx" "$@" -E -MD -MF "$depfile" -MT "$output" "$source" -o "$output.utf8"
fail() {
  echo "$source: $1" >&2
  rm -f "$output.utf8" "$output.tmp"
  exit 1
}
# Wide and UTF literals keep their own encoding, so recoding would spoil them.
if LC_ALL=C grep -n -P '(\bu8|\bL|\bu|\bU)"[^"]*[\x80-\xFF]' "$output.utf8" >&2; then
  fail "a wide or UTF literal holds non-ASCII text; recoding would change it"
fi
iconv -f UTF-8 -t GBK "$output.utf8" >"$output.tmp" || fail "cannot be written in GBK"
# GCC recodes after reading a literal; here clang reads the recoded bytes, and a
# second byte 0x5C would be a backslash to it. Refused, to be safe, even where
# it follows a lead byte that is itself a second byte.
if LC_ALL=C grep -n -P '[\x81-\xFE]\x5C' "$output.tmp" >&2; then
  fail "a GBK character ends in 0x5C, which clang would read as a backslash"
fi
mv "$output.tmp" "$output"
rm -f "$output.utf8"
