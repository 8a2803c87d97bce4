#!/bin/sh
# README command 2: installs what is needed, builds both builds and runs every
# test: the host tests, then the Windows-side and end-to-end tests under Wine.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh all
status=0
(cd build/host && ctest --output-on-failure) || status=1
# One at a time: the Wine tests share a prefix and a display.
(cd build/win && ctest --output-on-failure) || status=1
exit $status
