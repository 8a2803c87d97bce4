#!/bin/sh
# README command 2: installs what is needed, builds both builds and runs every
# test: the host tests, the same under sanitizers, the fuzz targets for a short
# while, then the Windows-side and end-to-end tests under Wine.
# Every step runs; the exit status is nonzero when any of them failed.
# DUSK_FUZZ_SECONDS (default 25) is each fuzz target's time.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh all
status=0
(cd build/host && ctest --output-on-failure) || status=1
# Memory faults and undefined behaviour fail the test that meets them.
{ ./scripts/build.sh asan && (cd build/asan && ctest --output-on-failure); } || status=1
# The update check hands its result from its thread to the main window's timer.
{ ./scripts/build.sh tsan &&
  (cd build/tsan && ctest --output-on-failure --no-tests=error -R '^(SelfUpdateTest|UpdateCheck)\.'); } ||
  status=1
./scripts/fuzz.sh "${DUSK_FUZZ_SECONDS:-25}" || status=1
# One at a time: the Wine tests share a prefix and a display.
(cd build/win && ctest --output-on-failure) || status=1
exit $status
