#!/bin/sh
# Signs a program file and writes the version-information file the update
# server answers with: the version, the program's address and the signature,
# each followed by CR LF. It checks the file and its signature, not whether
# the program should be released: scripts/release.sh does that, then calls
# this. The update tests sign their test programs with it directly.
# It refuses a program that trusts a test key (tests/fixtures/test_*signing_key.pem,
# whose private halves are public) unless DUSK_ALLOW_TEST_KEY=1: only the tests
# sign such a program, for a test update server.
#
# Usage: scripts/sign_update.sh KEY.pem PROGRAM.exe VERSION URL > dusk.html
#   KEY.pem  a P-256 private key; when it is encrypted, its passphrase is the
#            first line of standard input
#   VERSION  the program's file version, e.g. 1.0.2.0; it must be the one in
#            the program's version resource, or every copy would refuse it
#   URL      where the server offers this program
#
# Nothing is written unless every check passed, the signature read back and
# verified included.
set -eu

fail() {
  echo "sign_update.sh: $*" >&2
  exit 1
}

[ $# -eq 4 ] || {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2
  exit 2
}
key=$1
exe=$2
version=$3
url=$4
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
[ -x "$python" ] || python=python3

[ -r "$key" ] || fail "cannot read the key $key"
[ -r "$exe" ] || fail "cannot read the program $exe"
# The passphrase is read once and handed to each OpenSSL call through a pipe:
# never an argument or a variable of the environment, which others may read.
passphrase=
if grep -q 'ENCRYPTED' "$key"; then
  IFS= read -r passphrase || fail "no passphrase for the encrypted key $key"
fi
with_key() { # COMMAND ARGUMENTS...: an OpenSSL command, the key's passphrase on its input
  command=$1
  shift
  printf '%s\n' "$passphrase" | openssl "$command" -passin stdin "$@"
}
# The program cuts the file into tokens at blanks, control bytes and commas,
# and reads quotes specially: an address with any of them would arrive cut.
if [ -z "$url" ] || printf '%s' "$url" | LC_ALL=C grep -q '[^!-~]\|[,"]'; then
  fail "the address must be printable ASCII without blanks, commas or quotes: '$url'"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
trap 'exit 1' INT TERM

if [ "${DUSK_ALLOW_TEST_KEY:-}" != 1 ]; then
  for test_key in "$here"/../tests/fixtures/test_signing_key.pem \
    "$here"/../tests/fixtures/test_backup_signing_key.pem; do
    # X then Y, as the program carries a key.
    openssl pkey -in "$test_key" -pubout -outform DER 2>/dev/null | tail -c 64 >"$work/test.bin"
    [ "$(wc -c <"$work/test.bin")" -eq 64 ] || fail "cannot read the test key $test_key"
    "$python" - "$exe" "$work/test.bin" <<'PY' ||
import sys

sys.exit(open(sys.argv[2], "rb").read() in open(sys.argv[1], "rb").read())
PY
      fail "$exe trusts a test key, whose private half is public (DUSK_ALLOW_TEST_KEY=1 signs it for a test)"
  done
fi

# The file version from the version resource, as the program writes it.
file_version=$("$python" - "$exe" "$here" <<'PY'
import struct
import sys

sys.path.insert(0, sys.argv[2])
from program_file import NotAProgram, ProgramFile  # noqa: E402


def fail(why):
    sys.exit("sign_update.sh: %s: %s" % (sys.argv[1], why))


try:
    program = ProgramFile(open(sys.argv[1], "rb").read())
    data, u16, u32 = program.data, program.u16, program.u32
    if program.resources_rva == 0:
        fail("no resources")

    def offset(rva):
        at = program.offset(rva)
        if at is None:
            fail("a resource lies outside the file")
        return at

    root = offset(program.resources_rva)

    def entries(directory):
        count = u16(directory + 12) + u16(directory + 14)
        return [(u32(directory + 16 + 8 * i), u32(directory + 20 + 8 * i)) for i in range(count)]

    # Type RT_VERSION (16), then its first name and first language.
    found = [target for name, target in entries(root) if name == 16]
    if not found:
        fail("no version resource")
    level = found[0]
    for _ in range(2):
        if not level & 0x80000000:
            fail("a broken version resource")
        level = entries(root + (level & 0x7FFFFFFF))[0][1]
    block = offset(u32(root + level))
    key = "VS_VERSION_INFO\0".encode("utf-16-le")
    if data[block + 6:block + 6 + len(key)] != key:
        fail("a broken version resource")
    fixed = (block + 6 + len(key) + 3) & ~3
    if u32(fixed) != 0xFEEF04BD:
        fail("a broken version resource")
    ms, ls = u32(fixed + 8), u32(fixed + 12)
    print("%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF))
except NotAProgram:
    fail("not a program file")
except (struct.error, IndexError, KeyError):
    fail("not a program file with a version resource")
PY
)
[ "$file_version" = "$version" ] ||
  fail "$exe is version $file_version, not $version"

with_key pkey -in "$key" -pubout -out "$work/public.pem" 2>/dev/null ||
  fail "cannot read the private key $key"
openssl pkey -pubin -in "$work/public.pem" -noout -text | grep -q 'prime256v1' ||
  fail "$key is not a P-256 key"

# OpenSSL signs in DER; the program takes r and s, 32 bytes each, big-endian.
with_key dgst -sha256 -sign "$key" -out "$work/signature.der" "$exe"
token=$("$python" - "$work/signature.der" <<'PY'
import base64
import sys

der = open(sys.argv[1], "rb").read()
# SEQUENCE { INTEGER r, INTEGER s }; for P-256 every length fits one byte.
if len(der) < 8 or der[0] != 0x30 or der[1] != len(der) - 2:
    sys.exit("sign_update.sh: OpenSSL wrote an unexpected signature")
raw, at = b"", 2
for _ in range(2):
    if der[at] != 0x02:
        sys.exit("sign_update.sh: OpenSSL wrote an unexpected signature")
    length = der[at + 1]
    value = int.from_bytes(der[at + 2:at + 2 + length], "big")
    raw += value.to_bytes(32, "big")  # left-padded; OverflowError if too long
    at += 2 + length
if at != len(der):
    sys.exit("sign_update.sh: OpenSSL wrote an unexpected signature")
print(base64.b64encode(raw).decode())
PY
)

# Read the token back the other way round, with OpenSSL's own base64 and DER
# writer, and verify it: a fault in the conversion is caught here, not by
# every copy of the program refusing the update.
raw_hex=$(printf '%s' "$token" | openssl base64 -d -A | od -An -v -tx1 | tr -d ' \n')
[ ${#raw_hex} -eq 128 ] || fail "the signature token does not hold 64 bytes"
r_hex=$(printf '%s' "$raw_hex" | cut -c1-64)
s_hex=$(printf '%s' "$raw_hex" | cut -c65-128)
printf 'asn1=SEQUENCE:signature\n[signature]\nr=INTEGER:0x%s\ns=INTEGER:0x%s\n' \
  "$r_hex" "$s_hex" >"$work/signature.conf"
openssl asn1parse -genconf "$work/signature.conf" -out "$work/check.der" -noout >/dev/null
openssl dgst -sha256 -verify "$work/public.pem" -signature "$work/check.der" "$exe" >/dev/null ||
  fail "the signature token does not verify"

printf '%s\r\n%s\r\n%s\r\n' "$version" "$url" "$token"
