#!/bin/sh
# Makes a release's downloads from the Windows build (scripts/build.sh win first), in build/dist:
#   Dusk-VERSION-setup.exe     the installer (packaging/dusk.nsi), per user, in Chinese or English
#   Dusk-VERSION-portable.zip  the same files, to run from any folder
#   SHA256SUMS                 of both
#   signatures/                the Authenticode signatures, each file's apart, when signed (below)
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
#
# Signed for Windows (Authenticode, SHA-256, time-stamped; scripts/authenticode.sh) when a
# code-signing certificate is given: the program files, the uninstaller and the installer, each
# verified before the release is written. Without one the release is made unsigned, and said so.
#   DUSK_CODESIGN_P12            the certificate and its key in a PKCS#12 file, or, on a token:
#   DUSK_CODESIGN_PKCS11_MODULE  its PKCS#11 module, DUSK_CODESIGN_PKCS11_KEY the key's pkcs11: URI,
#                                DUSK_CODESIGN_CERTS the certificate and its chain (PEM)
#   DUSK_CODESIGN_PASSWORD_FD    the file descriptor to read the PKCS#12 password or the token's
#                                PIN from (else it is asked on the terminal)
#   DUSK_TIMESTAMP_URL           the RFC 3161 time-stamp server
#   DUSK_CODESIGN_CA_FILE        the roots to verify against (default: the system's)
# A rebuild names the release's signatures/ in DUSK_CODESIGN_ATTACH instead: they are attached in
# place of signing, and verify only when the rebuilt files are those that were signed
# (README.md, "Verifying a download").
#
# The same commit makes the same bytes wherever and whenever it is built: every time in the
# downloads is SOURCE_DATE_EPOCH, by default the time of the source's last commit.
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
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || :)}
case $epoch in
  '' | *[!0-9]*) fail "no SOURCE_DATE_EPOCH given and no commit in $root to take it from" ;;
esac

signing=
if [ -n "${DUSK_CODESIGN_ATTACH:-}" ]; then
  signing=attach
  [ -d "$DUSK_CODESIGN_ATTACH" ] || fail "DUSK_CODESIGN_ATTACH names no folder: $DUSK_CODESIGN_ATTACH"
elif [ -n "${DUSK_CODESIGN_P12:-}${DUSK_CODESIGN_PKCS11_MODULE:-}" ]; then
  signing=sign
  if [ -n "${DUSK_CODESIGN_P12:-}" ]; then
    [ -r "$DUSK_CODESIGN_P12" ] || fail "cannot read the certificate $DUSK_CODESIGN_P12"
  else
    if [ -z "${DUSK_CODESIGN_PKCS11_KEY:-}" ] || [ ! -r "${DUSK_CODESIGN_CERTS:-}" ]; then
      fail "a token needs DUSK_CODESIGN_PKCS11_KEY and a readable DUSK_CODESIGN_CERTS"
    fi
  fi
  [ -n "${DUSK_TIMESTAMP_URL:-}" ] ||
    fail "no DUSK_TIMESTAMP_URL: a signature without a time stamp dies with its certificate"
fi
if [ -n "$signing" ]; then
  command -v osslsigncode >/dev/null || fail "osslsigncode is missing: run scripts/setup.sh"
fi

mark=$dist/.made-by-package.sh
if [ -e "$dist" ]; then
  [ -d "$dist" ] || fail "$dist is not a folder: name another in DUSK_DIST_DIR"
  [ -e "$mark" ] || [ -z "$(ls -A "$dist")" ] ||
    fail "$dist holds files this script did not make: empty it, or name another folder in DUSK_DIST_DIR"
fi
# The certificate's password is kept in memory where the system has a place for files there.
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

if [ "$signing" = sign ]; then
  if [ -n "${DUSK_CODESIGN_PASSWORD_FD:-}" ]; then
    case $DUSK_CODESIGN_PASSWORD_FD in
      *[!0-9]*) fail "DUSK_CODESIGN_PASSWORD_FD is not a file descriptor" ;;
    esac
    IFS= read -r secret <&"$DUSK_CODESIGN_PASSWORD_FD" ||
      fail "no password on file descriptor $DUSK_CODESIGN_PASSWORD_FD"
  else
    [ -r /dev/tty ] || fail "give the certificate's password on DUSK_CODESIGN_PASSWORD_FD"
    printf 'Password of the code-signing certificate: ' >/dev/tty
    stty -echo </dev/tty
    IFS= read -r secret </dev/tty || secret=
    stty echo </dev/tty
    printf '\n' >/dev/tty
  fi
  # The signing tool reads it from a file, once for each file it signs, makensis's calls
  # included: one only we can read, removed at the end; never an argument or a variable of the
  # environment, which others may read.
  export DUSK_CODESIGN_SECRET="$work/secret"
  (umask 077 && printf '%s\n' "$secret" >"$DUSK_CODESIGN_SECRET")
fi
[ -z "$signing" ] || export DUSK_CODESIGN_SIGNATURES="$dist/signatures"

rm -rf "$dist"
mkdir -p "$dist/files/clock" "$dist/winget" "$dist/scoop"
: >"$mark"
cp "$program_file" "$dist/files/Dusk.exe"
# Every program file the build makes ships, and is signed.
cp "$build/dusk-cli.exe" "$build/x.wav" "$build/warn.wav" "$dist/files/"
cp "$build/clock/1.wav" "$dist/files/clock/"
# Notepad reads UTF-8 for sure with its byte-order mark, and lines end in CR LF.
for text in readme.txt license.txt; do
  { printf '\357\273\277'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/packaging/$text"; } \
    >"$dist/files/$text"
done

setup=Dusk-$version-setup.exe
zip=Dusk-$version-portable.zip
signer="sh \"$root/scripts/authenticode.sh\""
if [ -n "$signing" ]; then
  for program in "$dist"/files/*.exe; do
    sh "$root/scripts/authenticode.sh" "$(basename "$program")" "$program" ||
      fail "$(basename "$program") is not signed (see above): no release written"
  done
  set -- "-DSIGN_UNINSTALLER=$signer uninstall.exe" "-DSIGN_INSTALLER=$signer \"$setup\""
else
  set --
  echo "package.sh: no code-signing certificate given (DUSK_CODESIGN_P12 or" \
    "DUSK_CODESIGN_PKCS11_MODULE): the release is unsigned" >&2
fi
# The installer keeps each file's time, and the zip too: the commit's.
find "$dist/files" -exec touch -h -d "@$epoch" {} +
makensis -V2 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DFILES=$dist/files" \
  "-DICON=$root/res/dusk.ico" "-DOUT=$dist/$setup" "$@" "$root/packaging/dusk.nsi" >&2 || {
  rm -f "$dist/$setup"
  fail "makensis failed"
}
if [ -n "$signing" ]; then
  # As they will ship, the last step before the release is written.
  check=
  [ "$signing" = sign ] || check=--digests
  # shellcheck disable=SC2086 # $check: one option or none
  sh "$root/scripts/authenticode_verify.sh" $check "$dist"/files/*.exe "$dist/$setup" || {
    rm -f "$dist/$setup"
    fail "a signed file does not verify: no release written"
  }
fi

# In a fixed order, each with the same time and permissions, so that the same files make the
# same zip.
(cd "$dist/files" && python3 - "$dist/$zip" "$epoch" <<'PY')
import os, sys, time, zipfile

zip_name, epoch = sys.argv[1], int(sys.argv[2])
# A zip's times start in 1980 and name no time zone: the commit's in UTC.
stamp = time.gmtime(max(epoch, 315532800))[:6]
names = sorted(os.path.relpath(os.path.join(folder, name)).replace(os.sep, "/")
               for folder, _, files in os.walk(".") for name in files)
with zipfile.ZipFile(zip_name, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
    for name in names:
        entry = zipfile.ZipInfo(name, date_time=stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 3
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
  # The program as it ships, signed for Windows: the update's signature covers these bytes.
  cp "$dist/files/Dusk.exe" "$dist/update/$program"
  sh "$root/scripts/release.sh" "$key" "$dist/update/$program" "$version" \
    "http://$host/$program" "$host" >"$dist/update/v/dusk.html" ||
    fail "release.sh refused the program; see above"
fi
rm -rf "$dist/files"
echo "package.sh: Dusk $version in $dist" >&2
ls -l "$dist" >&2
