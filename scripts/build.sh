#!/bin/sh
# Builds the host build (build/host: the portable code and its tests) and the
# Windows build (build/win: Dusk.exe and the Windows-side tests).
# Usage: scripts/build.sh [host|win|all]
set -eu
cd "$(dirname "$0")/.."
what=${1:-all}
jobs=$(nproc 2>/dev/null || echo 2)

if [ "$what" = host ] || [ "$what" = all ]; then
  cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug
  cmake --build build/host -j "$jobs"
fi
if [ "$what" = win ] || [ "$what" = all ]; then
  cmake -S . -B build/win -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
  cmake --build build/win -j "$jobs"
fi
