#!/bin/sh
# Builds the host build (build/host: the portable code and its tests) and the
# Windows build (build/win: Dusk.exe and the Windows-side tests).
# Usage: scripts/build.sh [host|win|all|asan|tsan|fuzz]
#   asan  the host build with AddressSanitizer and UndefinedBehaviorSanitizer (build/asan)
#   tsan  the host build with ThreadSanitizer (build/tsan)
#   fuzz  the fuzz targets of tests/fuzz, with clang and libFuzzer (build/fuzz)
# A sanitizer's first report fails the test that caused it.
set -eu
cd "$(dirname "$0")/.."
# A warning fails these builds; configure without the option for a build that only shows them.
strict=-DDUSK_WARNINGS_AS_ERRORS=ON
what=${1:-all}
jobs=$(nproc 2>/dev/null || echo 2)
# Through the compiler cache where there is one (scripts/setup.sh installs it): a fresh clone then
# compiles only what differs from the machine's earlier builds. Paths below the clone are hashed
# as relative ones, so that every clone's builds share the cache.
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR=1
fi

if [ "$what" = host ] || [ "$what" = all ]; then
  cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug "$strict"
  cmake --build build/host -j "$jobs"
fi
if [ "$what" = win ] || [ "$what" = all ]; then
  cmake -S . -B build/win -DCMAKE_BUILD_TYPE=Release "$strict" \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
  cmake --build build/win -j "$jobs"
fi
sanitized() { # DIRECTORY FLAGS
  cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=Debug "$strict" "-DCMAKE_CXX_FLAGS=$2 -fno-omit-frame-pointer" \
    "-DCMAKE_EXE_LINKER_FLAGS=$2"
  cmake --build "$1" -j "$jobs"
}
case $what in
  asan) sanitized build/asan "-fsanitize=address,undefined -fno-sanitize-recover=all -D_GLIBCXX_ASSERTIONS" ;;
  tsan) sanitized build/tsan "-fsanitize=thread" ;;
  fuzz)
    cmake -S tests/fuzz -B build/fuzz -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
    cmake --build build/fuzz -j "$jobs"
    ;;
  host | win | all) ;;
  *)
    echo "usage: scripts/build.sh [host|win|all|asan|tsan|fuzz]" >&2
    exit 2
    ;;
esac
