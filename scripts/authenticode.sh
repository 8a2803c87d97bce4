#!/bin/sh
# Signs one file of a release with the publisher's code-signing certificate, in place, and
# verifies it: Authenticode, SHA-256, with an RFC 3161 time stamp, so that the signature stays
# good after the certificate has expired. scripts/package.sh calls it for each program file, and
# makensis for the uninstaller and the installer as it makes them (packaging/dusk.nsi). A rebuild
# attaches the release's own signatures in place of signing (DUSK_CODESIGN_ATTACH): the result
# verifies only when the rebuilt file is the one that was signed, byte for byte.
#
# Usage: scripts/authenticode.sh NAME FILE
#   NAME  the file's name in the release (Dusk.exe, uninstall.exe, Dusk-1.0.2.0-setup.exe): its
#         signature is kept, and found, as NAME.p7s
# Read from the environment, which scripts/package.sh sets:
#   DUSK_CODESIGN_P12            the certificate and its key in a PKCS#12 file, or
#   DUSK_CODESIGN_PKCS11_MODULE  the token's PKCS#11 module, with DUSK_CODESIGN_PKCS11_KEY (the key's
#                                pkcs11: URI) and DUSK_CODESIGN_CERTS (the certificate and its chain)
#   DUSK_CODESIGN_SECRET         a file (a pipe, where package.sh feeds it) holding the PKCS#12
#                                file's password or the token's PIN
#   DUSK_TIMESTAMP_URL           the time-stamp server
#   DUSK_CODESIGN_CA_FILE        the roots the signature and its time stamp are checked against
#                                (default: the system's)
#   DUSK_CODESIGN_SIGNATURES     where the signature is kept as NAME.p7s
#   DUSK_CODESIGN_ATTACH         where to take NAME.p7s from in place of signing
set -eu

fail() {
  echo "authenticode.sh: $*" >&2
  exit 1
}

[ $# -eq 2 ] || {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2
  exit 2
}
name=$1
file=$2
[ -r "$file" ] || fail "cannot read $file"
signed=$file.signed
log=$file.sign.log
rm -f "$signed"
trap 'rm -f "$signed" "$log"' EXIT
trap 'exit 1' INT TERM

if [ -n "${DUSK_CODESIGN_ATTACH:-}" ]; then
  signature=$DUSK_CODESIGN_ATTACH/$name.p7s
  [ -r "$signature" ] || fail "there is no signature $signature to attach to $name"
  # Its own check trusts only the chain inside the signature and fails on a private root: the
  # verification below is the one that counts.
  osslsigncode attach-signature -h sha256 -sigin "$signature" -in "$file" -out "$signed" \
    >/dev/null 2>&1 || [ -s "$signed" ] || fail "cannot attach $signature to $name"
else
  if [ -n "${DUSK_CODESIGN_P12:-}" ]; then
    set -- -pkcs12 "$DUSK_CODESIGN_P12"
  else
    set -- -pkcs11module "$DUSK_CODESIGN_PKCS11_MODULE" -key "$DUSK_CODESIGN_PKCS11_KEY" \
      -certs "$DUSK_CODESIGN_CERTS"
  fi
  osslsigncode sign "$@" -readpass "$DUSK_CODESIGN_SECRET" -h sha256 -n Dusk \
    -ts "$DUSK_TIMESTAMP_URL" -in "$file" -out "$signed" >"$log" 2>&1 || {
    cat "$log" >&2
    fail "cannot sign $name"
  }
fi

# An attached signature is the release's: whom it names was checked when it was made; here only
# whether it was made for these bytes.
check=
[ -z "${DUSK_CODESIGN_ATTACH:-}" ] || check=--digests
# shellcheck disable=SC2086 # $check: one option or none
sh "$(dirname "$0")/authenticode_verify.sh" $check "$signed" || fail "$name does not verify"
if [ -n "${DUSK_CODESIGN_SIGNATURES:-}" ]; then
  mkdir -p "$DUSK_CODESIGN_SIGNATURES"
  rm -f "$DUSK_CODESIGN_SIGNATURES/$name.p7s"
  osslsigncode extract-signature -in "$signed" -out "$DUSK_CODESIGN_SIGNATURES/$name.p7s" \
    >/dev/null || fail "cannot keep the signature of $name"
fi
mv "$signed" "$file"
if [ -n "${DUSK_CODESIGN_ATTACH:-}" ]; then
  echo "authenticode.sh: $name: the release's signature attached and verified" >&2
else
  echo "authenticode.sh: $name signed and verified" >&2
fi
