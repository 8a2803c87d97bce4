#!/bin/sh
# scripts/package.sh signing a release for Windows with a throwaway publisher (codesign_fixture.sh):
# the installer and every program file in the zip verify, SHA-256 and time-stamped, against the
# publisher's root and no other; a rebuild that attaches the release's signatures makes the same
# signed release, its SHA256SUMS included, while one that attaches them to another program is
# refused; the same with the key on a (software) token; a program file changed after signing, or
# a wrong password, and no release is written.
# The uninstaller's signature is checked where it is written: e2e_installer.
# Usage: codesign_test.sh BUILD_DIR OTHER_EXE WORK_DIR
#   OTHER_EXE  another program file (another build of the program) to attach the signatures to
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath "$1")
other_exe=$(realpath "$2")
work=$(realpath -m "$3")
base=https://downloads.dusk.invalid/
# What an earlier run left.
rm -rf "$work"

# shellcheck source=tests/packaging/codesign_fixture.sh
. "$root/tests/packaging/codesign_fixture.sh"
trap codesign_fixture_end EXIT
codesign_fixture_begin "$root" "$work/publisher" || {
  cat "$work/publisher/"*.log 2>/dev/null
  echo "FAIL the throwaway publisher could not be made"
  exit 1
}
failed=0
fail() {
  echo "FAIL $*"
  failed=1
}
package() { # DIST [VARIABLE=VALUE...]: scripts/package.sh signing, its output in DIST.log
  _p_dist=$1
  shift
  env DUSK_BUILD_DIR="$build" DUSK_DIST_DIR="$_p_dist" "$@" sh "$root/scripts/package.sh" "$base" \
    >"$_p_dist.log" 2>&1 3<"$codesign_password_file"
}
no_release() { # DIST: none of the downloads written
  ! ls "$1"/Dusk-*-setup.exe "$1"/Dusk-*-portable.zip "$1/SHA256SUMS" >/dev/null 2>&1
}

signed=$work/signed
if ! package "$signed"; then
  cat "$signed.log"
  echo "FAIL scripts/package.sh could not sign the release"
  exit 1
fi
setup=$(echo "$signed"/Dusk-*-setup.exe)
zip=$(echo "$signed"/Dusk-*-portable.zip)
mkdir -p "$work/unzipped"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" \
  "$work/unzipped"
# The fixture's root and no other: a signature the system's roots accepted would not be ours.
for file in "$setup" "$work"/unzipped/*.exe; do
  report=$(osslsigncode verify -CAfile "$DUSK_CODESIGN_CA_FILE" -TSA-CAfile "$DUSK_CODESIGN_CA_FILE" \
    -in "$file" 2>&1) || fail "$(basename "$file") does not verify: $(printf '%s' "$report" | tail -n 3)"
  for line in '^Message digest algorithm *: SHA256' '^Timestamp Server Signature verification: ok' \
    'Subject: /CN=Dusk test code_signing'; do
    printf '%s\n' "$report" | grep -q "$line" || fail "$(basename "$file"): no '$line'"
  done
  if osslsigncode verify -CAfile /etc/ssl/certs/ca-certificates.crt -in "$file" >/dev/null 2>&1; then
    fail "$(basename "$file") verifies against the system's roots"
  fi
done
for name in Dusk.exe uninstall.exe "$(basename "$setup")"; do
  [ -s "$signed/signatures/$name.p7s" ] || fail "no signature $name.p7s kept"
done
grep -q "release is unsigned" "$signed.log" && fail "a signed release said it was unsigned"

# The key on a token, as code-signing keys are kept now: a software one, its PIN on the descriptor.
token=$work/token
if ! codesign_fixture_token; then
  fail "the software token could not be made: $(cat "$work/publisher/token/softhsm.log")"
elif ! env DUSK_BUILD_DIR="$build" DUSK_DIST_DIR="$token" DUSK_CODESIGN_P12= \
  DUSK_CODESIGN_PKCS11_MODULE="$codesign_token_module" DUSK_CODESIGN_PKCS11_KEY="$codesign_token_key" \
  DUSK_CODESIGN_CERTS="$codesign_token_certs" sh "$root/scripts/package.sh" "$base" \
  >"$token.log" 2>&1 3<"$codesign_token_pin_file"; then
  fail "scripts/package.sh could not sign with the token: $(tail -n 5 "$token.log")"
else
  mkdir -p "$work/token-unzipped"
  python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
    "$(echo "$token"/Dusk-*-portable.zip)" "$work/token-unzipped"
  sh "$root/scripts/authenticode_verify.sh" "$work"/token-unzipped/*.exe "$token"/Dusk-*-setup.exe ||
    fail "what the token signed does not verify"
fi

# The signatures alone, attached to a rebuild: the same release.
cp -r "$signed/signatures" "$work/downloaded-signatures"
rebuilt=$work/rebuilt
# As a rebuilder has it: no certificate, and the publisher's root not named.
if package "$rebuilt" DUSK_CODESIGN_P12= DUSK_CODESIGN_CA_FILE= \
  DUSK_CODESIGN_ATTACH="$work/downloaded-signatures"; then
  cmp -s "$signed/SHA256SUMS" "$rebuilt/SHA256SUMS" ||
    fail "the release rebuilt with its signatures differs: $(cat "$rebuilt/SHA256SUMS")"
else
  fail "the release's own signatures did not attach: $(tail -n 5 "$rebuilt.log")"
fi
other=$work/other
if package "$other" DUSK_CODESIGN_P12= DUSK_CODESIGN_CA_FILE= \
  DUSK_CODESIGN_ATTACH="$work/downloaded-signatures" DUSK_PROGRAM="$other_exe"; then
  fail "the release's signatures attached to another program verified"
fi
grep -q "Dusk.exe does not verify" "$other.log" || fail "no word of the program that does not verify"
no_release "$other" || fail "a release was written with a signature that does not verify"

# Something changes the program file after it was signed, as makensis takes it in.
mkdir -p "$work/bin"
cat >"$work/bin/makensis" <<WRAPPER
#!/bin/sh
$(command -v makensis) "\$@" || exit
for option; do
  case \$option in
    -DFILES=*) python3 -c 'import sys; f = open(sys.argv[1], "r+b"); f.seek(4096); b = f.read(1); f.seek(4096); f.write(bytes([b[0] ^ 0xFF]))' "\${option#-DFILES=}/Dusk.exe" ;;
  esac
done
WRAPPER
chmod +x "$work/bin/makensis"
changed=$work/changed
if env PATH="$work/bin:$PATH" DUSK_BUILD_DIR="$build" DUSK_DIST_DIR="$changed" \
  sh "$root/scripts/package.sh" "$base" >"$changed.log" 2>&1 3<"$codesign_password_file"; then
  fail "a release whose program changed after signing was written"
fi
grep -q "does not verify: no release written" "$changed.log" ||
  fail "no word of the changed program: $(tail -n 5 "$changed.log")"
no_release "$changed" || fail "a release was written with a program changed after signing"

wrong=$work/wrong-password
echo "not the password" >"$work/wrong-password.txt"
if env DUSK_BUILD_DIR="$build" DUSK_DIST_DIR="$wrong" sh "$root/scripts/package.sh" "$base" \
  >"$wrong.log" 2>&1 3<"$work/wrong-password.txt"; then
  fail "a release was signed with a wrong password"
fi
if ! grep -q "cannot sign Dusk.exe" "$wrong.log" || ! grep -q "no release written" "$wrong.log"; then
  fail "no word of the failed signing: $(tail -n 5 "$wrong.log")"
fi
no_release "$wrong" || fail "a release was written unsigned after the signing failed"

[ "$failed" -eq 0 ] && echo "PASS signed, verified, reproduced with its signatures, refused when changed"
exit "$failed"
