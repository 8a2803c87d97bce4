#!/bin/sh
# Checks that every C++ file in the repository is laid out as the checked-in .clang-format
# says; names each file that is not, and fails. `clang-format -i FILE` mends one.
set -eu
cd "$(dirname "$0")/.."
if git ls-files -z '*.cpp' '*.h' | xargs -0 -n 40 -P "$(nproc)" clang-format --dry-run --Werror; then
  exit 0
fi
echo "not in the project's format: run clang-format -i on the files named above" >&2
exit 1
