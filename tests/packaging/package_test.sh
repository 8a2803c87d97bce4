#!/bin/sh
# scripts/package.sh against the build: it refuses to empty a folder it did not make; with a key
# the program does not trust it fails as scripts/release.sh refuses to sign; without a key it
# makes the downloads and the manifests (over what it made before), says it left out the update
# server's files and that the release is unsigned, and check_package.py checks what it made.
# Usage: package_test.sh BUILD_DIR OUTPUT_DIR
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
dist=$(realpath -m "$2")
base=https://downloads.dusk.invalid/release/
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

# The test's own output folders, left by an earlier run.
rm -rf "$dist" "$dist.foreign"

mkdir -p "$dist.foreign"
echo "not the release's" >"$dist.foreign/notes.txt"
if DUSK_BUILD_DIR=$build DUSK_DIST_DIR=$dist.foreign sh "$root/scripts/package.sh" "$base" \
  2>"$dist.log"; then
  echo "package.sh emptied a folder it did not make"
  exit 1
fi
if ! grep -q "holds files this script did not make" "$dist.log" ||
  [ ! -f "$dist.foreign/notes.txt" ]; then
  cat "$dist.log"
  echo "package.sh did not refuse the folder it did not make, untouched"
  exit 1
fi

key=$dist.untrusted-key.pem
rm -f "$key"
(umask 077 && openssl ecparam -name prime256v1 -genkey -noout -out "$key")
if DUSK_BUILD_DIR=$build DUSK_DIST_DIR=$dist sh "$root/scripts/package.sh" "$base" "$key" \
  2>"$dist.log"; then
  echo "package.sh made a release signed with a key the program does not trust"
  exit 1
fi
grep -q "does not carry the public half" "$dist.log" || {
  cat "$dist.log"
  exit 1
}

DUSK_BUILD_DIR=$build DUSK_DIST_DIR=$dist sh "$root/scripts/package.sh" "$base" 2>"$dist.log" || {
  cat "$dist.log"
  exit 1
}
grep -q "no signing key given" "$dist.log" || {
  echo "package.sh did not say that it left out the update server's files"
  exit 1
}
grep -q "no code-signing certificate given.*the release is unsigned" "$dist.log" || {
  echo "package.sh did not say that the release is unsigned"
  exit 1
}
[ ! -e "$dist/update" ] || {
  echo "package.sh made $dist/update without a key"
  exit 1
}
python3 "$(dirname "$0")/check_package.py" "$dist" "$version" "$base" "$build"
