#!/bin/sh
# Signs a built Dusk.exe for release and writes the version-information file
# the update server answers with (scripts/sign_update.sh does the signing).
# It refuses a program that every copy would refuse, or that must never reach
# anyone: one that does not carry the signing key's public half, one that
# trusts a test key or any key besides the project's two (the key headers
# upgrade/project_public_key.h and upgrade/project_backup_public_key.h), one
# that asks another update server than the release's.
#
# Usage: scripts/release.sh KEY.pem Dusk.exe VERSION URL HOST > dusk.html
#   KEY.pem  the project's release key, or its backup key (README.md, "Keys");
#            readable by its owner only. An encrypted key's passphrase comes
#            from the file descriptor DUSK_KEY_PASSPHRASE_FD when that is set,
#            else it is asked on the terminal
#   VERSION  the program's file version, e.g. 1.0.2.0
#   URL      where the server offers this Dusk.exe
#   HOST     the release's update server, as Dusk.exe was built to ask it
#            (DUSK_UPDATE_HOST)
set -eu

fail() {
  echo "release.sh: $*" >&2
  exit 1
}

[ $# -eq 5 ] || {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2
  exit 2
}
key=$1
exe=$2
version=$3
url=$4
host=$5
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
[ -x "$python" ] || python=python3

[ -r "$key" ] || fail "cannot read the key $key"
[ -r "$exe" ] || fail "cannot read the program $exe"
[ -n "$host" ] || fail "no update host given"
# A key others can read is a key others may have copied.
mode=$(stat -L -c %a "$key")
[ $((0$mode & 077)) -eq 0 ] ||
  fail "$key can be read by others (mode $mode): chmod 600 it, and ask whether it leaked"

passphrase=
if grep -q 'ENCRYPTED' "$key"; then
  if [ -n "${DUSK_KEY_PASSPHRASE_FD:-}" ]; then
    case $DUSK_KEY_PASSPHRASE_FD in
      *[!0-9]*) fail "DUSK_KEY_PASSPHRASE_FD is not a file descriptor" ;;
    esac
    IFS= read -r passphrase <&"$DUSK_KEY_PASSPHRASE_FD" ||
      fail "no passphrase on file descriptor $DUSK_KEY_PASSPHRASE_FD"
  else
    [ -r /dev/tty ] || fail "$key is encrypted: give its passphrase on DUSK_KEY_PASSPHRASE_FD"
    printf 'Passphrase of %s: ' "$key" >/dev/tty
    stty -echo </dev/tty
    IFS= read -r passphrase </dev/tty || passphrase=
    stty echo </dev/tty
    printf '\n' >/dev/tty
  fi
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

# A public key as the program carries it: X then Y, 64 bytes.
public_half() { # PEM [PASSPHRASE]
  printf '%s\n' "${2:-}" | openssl pkey -in "$1" -passin stdin -pubout -outform DER 2>/dev/null |
    tail -c 64 >"$work/public.bin"
  [ "$(wc -c <"$work/public.bin")" -eq 64 ] || return 1
  od -An -v -tx1 "$work/public.bin" | tr -d ' \n'
}

signing_half=$(public_half "$key" "$passphrase") || fail "cannot read the private key $key"
test_halves=
for test_key in "$here"/../tests/fixtures/test_signing_key.pem \
  "$here"/../tests/fixtures/test_backup_signing_key.pem; do
  test_halves="$test_halves $(public_half "$test_key")" ||
    fail "cannot read the test key $test_key"
done
# The keys a release may trust, as the headers write them: X then Y, 64 bytes.
project_halves=
for header in "$here"/../upgrade/project_public_key.h "$here"/../upgrade/project_backup_public_key.h; do
  half=$(grep -o '0x[0-9A-Fa-f][0-9A-Fa-f]' "$header" | cut -c3- | tr -d '\n' | tr 'A-F' 'a-f')
  [ ${#half} -eq 128 ] || fail "$header does not hold one key of 64 bytes"
  project_halves="$project_halves $half"
done

# What the program carries: the signing key's public half and the host it
# asks, the host as a string of its own (a zero byte on each side).
"$python" - "$exe" "$signing_half" "$host" <<'PY' || exit 1
import sys

exe, signing, host = sys.argv[1:]
data = open(exe, "rb").read()


def fail(why):
    sys.exit("release.sh: %s %s" % (exe, why))


if bytes.fromhex(signing) not in data:
    fail("does not carry the public half of the key it is to be signed with")
if b"\0" + host.encode() + b"\0" not in data:
    fail("does not ask the release's update server %s" % host)
PY

# Every key it trusts, wherever it lies in the program's data.
carried=$("$python" "$here/program_keys.py" "$exe") || exit 1
for half in $carried; do
  case " $test_halves " in
    *" $half "*) fail "$exe trusts a test key, whose private half is public" ;;
  esac
  case " $project_halves " in
    *" $half "*) ;;
    *) fail "$exe trusts a key that is not one of the project's two (upgrade/project_public_key.h, upgrade/project_backup_public_key.h): $half" ;;
  esac
done

printf '%s\n' "$passphrase" | sh "$here/sign_update.sh" "$key" "$exe" "$version" "$url"
