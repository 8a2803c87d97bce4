#!/bin/sh
# Makes a release's downloads from the Windows build (scripts/build.sh win first), in build/dist:
#   Dusk-VERSION-setup.exe     the installer (packaging/dusk.nsi), per user, in Chinese
#   Dusk-VERSION-portable.zip  the same files, to run from any folder
#   SHA256SUMS                 of both
#   winget/                    the winget manifests (version, installer, default locale)
#   scoop/dusk.json            the Scoop manifest
#   update/                    the update server's files, laid out as it serves them:
#                              Dusk-VERSION.exe and v/dusk.html, signed (scripts/release.sh)
# Upload the downloads under BASE_URL and update/ to the update server's root: that is the
# whole release.
#
# Usage: scripts/package.sh BASE_URL [KEY.pem]
#   BASE_URL  where the installer and the zip will be downloaded from, e.g.
#             https://example.org/dusk/1.0.2.0/
#   KEY.pem   the release's signing key (README.md, "Keys"); without it update/ is not made
# DUSK_BUILD_DIR names another Windows build than build/win, DUSK_DIST_DIR another output.
# The output folder is emptied first: only a folder this script made (it leaves a mark in it)
# or an empty one; any other is refused, untouched.
# The tests package other builds of the program from the same build folder: DUSK_PROGRAM names
# the program file in place of the build's Dusk.exe, DUSK_VERSION its version.
set -eu

fail() {
  echo "package.sh: $*" >&2
  exit 1
}

[ $# -eq 1 ] || [ $# -eq 2 ] || {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2
  exit 2
}
root=$(cd "$(dirname "$0")/.." && pwd)
base=$1
case $base in */) ;; *) base=$base/ ;; esac
key=${2:-}
build=$(realpath "${DUSK_BUILD_DIR:-$root/build/win}")
dist=$(realpath -m "${DUSK_DIST_DIR:-$root/build/dist}")

cache=$build/CMakeCache.txt
[ -r "$cache" ] || fail "no Windows build in $build: run scripts/build.sh win"
version=${DUSK_VERSION:-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cache")}
program_file=$(realpath -m "${DUSK_PROGRAM:-$build/Dusk.exe}")
host=$(sed -n 's/^DUSK_UPDATE_HOST:STRING=//p' "$cache")
[ -n "$version" ] && [ -n "$host" ] || fail "$cache names no version or update host"
for file in "$program_file" "$build/dusk-cli.exe" "$build/clock/1.wav" "$build/x.wav" \
  "$build/warn.wav"; do
  [ -r "$file" ] || fail "there is no $file: run scripts/build.sh win"
done
command -v makensis >/dev/null || fail "makensis is missing: run scripts/setup.sh"

mark=$dist/.made-by-package.sh
if [ -e "$dist" ]; then
  [ -d "$dist" ] || fail "$dist is not a folder: name another in DUSK_DIST_DIR"
  [ -e "$mark" ] || [ -z "$(ls -A "$dist")" ] ||
    fail "$dist holds files this script did not make: empty it, or name another folder in DUSK_DIST_DIR"
fi
rm -rf "$dist"
mkdir -p "$dist/files/clock" "$dist/winget" "$dist/scoop"
: >"$mark"
cp "$program_file" "$dist/files/Dusk.exe"
cp "$build/dusk-cli.exe" "$build/x.wav" "$build/warn.wav" "$dist/files/"
cp "$build/clock/1.wav" "$dist/files/clock/"
# Notepad reads UTF-8 for sure with its byte-order mark, and lines end in CR LF.
for text in readme.txt license.txt; do
  { printf '\357\273\277'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/packaging/$text"; } \
    >"$dist/files/$text"
done

setup=Dusk-$version-setup.exe
zip=Dusk-$version-portable.zip
makensis -V2 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DFILES=$dist/files" \
  "-DICON=$root/res/dusk.ico" "-DOUT=$dist/$setup" "$root/packaging/dusk.nsi" >&2 ||
  fail "makensis failed"

# Stored with a fixed time, so that the same build makes the same zip.
(cd "$dist/files" && python3 - "$dist/$zip" <<'PY')
import os, sys, zipfile

with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for name in ["Dusk.exe", "dusk-cli.exe", "clock/1.wav", "x.wav", "warn.wav", "readme.txt",
                 "license.txt"]:
        entry = zipfile.ZipInfo(name, date_time=(2000, 1, 1, 0, 0, 0))
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.external_attr = 0o644 << 16
        with open(name, "rb") as data:
            archive.writestr(entry, data.read())
PY
(cd "$dist" && sha256sum "$setup" "$zip" >SHA256SUMS)
setup_sha=$(sha256sum "$dist/$setup" | cut -d' ' -f1)
zip_sha=$(sha256sum "$dist/$zip" | cut -d' ' -f1)

fill() { # TEMPLATE OUTPUT
  sed -e "s|@VERSION@|$version|g" -e "s|@SETUP_URL@|$base$setup|g" -e "s|@ZIP_URL@|$base$zip|g" \
    -e "s|@SETUP_SHA256@|$setup_sha|g" -e "s|@ZIP_SHA256@|$zip_sha|g" -e "s|@HOMEPAGE@|$base|g" \
    "$root/packaging/$1" >"$2"
}
fill winget.version.yaml.in "$dist/winget/Dusk.Dusk.yaml"
fill winget.installer.yaml.in "$dist/winget/Dusk.Dusk.installer.yaml"
fill winget.locale.zh-CN.yaml.in "$dist/winget/Dusk.Dusk.locale.zh-CN.yaml"
fill scoop.json.in "$dist/scoop/dusk.json"

if [ -z "$key" ]; then
  echo "package.sh: no signing key given: update/ (the update server's files) not made" >&2
else
  program=Dusk-$version.exe
  mkdir -p "$dist/update/v"
  cp "$program_file" "$dist/update/$program"
  sh "$root/scripts/release.sh" "$key" "$dist/update/$program" "$version" \
    "http://$host/$program" "$host" >"$dist/update/v/dusk.html" ||
    fail "release.sh refused the program; see above"
fi
rm -rf "$dist/files"
echo "package.sh: Dusk $version in $dist" >&2
ls -l "$dist" >&2
