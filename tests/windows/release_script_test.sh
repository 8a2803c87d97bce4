#!/bin/sh
# scripts/release.sh signs only what may be released: each refusal for its own
# reason, and a program that passes every check signed and verified; and
# scripts/sign_update.sh signs a program that trusts a test key only when told
# it is for a test.
# Usage: release_script_test.sh SOURCE_ROOT DuskUpdateNew.exe Dusk.exe version_fixture.exe
set -eu
root=$1
test_key_program=$2
dusk=$3
fixture=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
# expect NAME OUTCOME COMMAND...: OUTCOME is "signed" or the words the refusal must hold.
expect() {
  name=$1
  outcome=$2
  shift 2
  if "$@" >"$work/out" 2>"$work/err"; then
    if [ "$outcome" = signed ] && [ "$(sed -n 3p "$work/out" | tr -d '\r' | wc -c)" -eq 89 ]; then
      echo "ok: $name"
      return
    fi
  elif [ "$outcome" != signed ] && grep -q "$outcome" "$work/err"; then
    echo "ok: $name"
    return
  fi
  echo "FAILED: $name (wanted: $outcome)"
  sed 's/^/  /' "$work/err"
  status=1
}

private_key() { # FILE
  (umask 077 && openssl ecparam -name prime256v1 -genkey -noout -out "$1")
}
public_half() { # KEY: X then Y, as the program carries it
  openssl pkey -in "$1" -pubout -outform DER | tail -c 64
}
# A program that asks the host and trusts the keys: the fixture with them after its end.
program_for() { # HOST OUTPUT KEY...
  host=$1
  output=$2
  shift 2
  cp "$fixture" "$output"
  printf '\0%s\0' "$host" >>"$output"
  for key; do public_half "$key" >>"$output"; done
}

private_key "$work/release.pem"
private_key "$work/backup.pem"
private_key "$work/other.pem"
# The scripts as they lie in the tree, beside key headers that name this test's release and
# backup keys in the program's place.
mkdir -p "$work/tree/scripts" "$work/tree/upgrade" "$work/tree/tests/fixtures"
cp "$root/scripts/release.sh" "$root/scripts/sign_update.sh" "$root/scripts/program_keys.py" \
  "$root/scripts/program_file.py" "$work/tree/scripts/"
cp "$root"/tests/fixtures/test_*signing_key.pem "$work/tree/tests/fixtures/"
key_header() { # KEY
  printf 'inline constexpr EcdsaP256PublicKey kKey = {\n'
  public_half "$1" | od -An -v -tx1 | sed 's/ \([0-9a-f][0-9a-f]\)/ 0x\1,/g'
  printf '};\n'
}
key_header "$work/release.pem" >"$work/tree/upgrade/project_public_key.h"
key_header "$work/backup.pem" >"$work/tree/upgrade/project_backup_public_key.h"
release=$work/tree/scripts/release.sh
sign=$work/tree/scripts/sign_update.sh

# The test key as a release key would be kept: readable by its owner only.
cp "$root/tests/fixtures/test_signing_key.pem" "$work/test_key.pem"
chmod 600 "$work/test_key.pem"
program_for update.example.invalid "$work/good.exe" "$work/release.pem" "$work/backup.pem"
program_for 127.0.0.1:18473 "$work/other_host.exe" "$work/release.pem" "$work/backup.pem"
program_for update.example.invalid "$work/extra_key.exe" "$work/release.pem" "$work/backup.pem" \
  "$work/other.pem"
url=http://update.example.invalid/Dusk.exe

expect "a program that passes every check" signed \
  sh "$release" "$work/release.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid
# Signed for Windows first, as scripts/package.sh signs a release, here with a P-256 certificate:
# the certificate's own key, after the program's data, is not one the program trusts.
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
  -keyout "$work/publisher.key" -out "$work/publisher.crt" -subj "/CN=Dusk test publisher" \
  -addext extendedKeyUsage=codeSigning 2>/dev/null
osslsigncode sign -certs "$work/publisher.crt" -key "$work/publisher.key" -h sha256 \
  -in "$work/good.exe" -out "$work/good_for_windows.exe" >/dev/null
expect "a program signed for Windows with a P-256 certificate" signed \
  sh "$release" "$work/release.pem" "$work/good_for_windows.exe" 2.10.0.7 "$url" \
  update.example.invalid
expect "a program signed with the backup key" signed \
  sh "$release" "$work/backup.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid
expect "a program that trusts a key besides the project's two" "not one of the project's two" \
  sh "$release" "$work/release.pem" "$work/extra_key.exe" 2.10.0.7 "$url" update.example.invalid
expect "the update tests' program, signed with the test key it trusts" "trusts a test key" \
  sh "$release" "$work/test_key.pem" "$test_key_program" 1.0.2.0 "$url" 127.0.0.1:18473
expect "the same, DUSK_ALLOW_TEST_KEY=1 set" "trusts a test key" \
  env DUSK_ALLOW_TEST_KEY=1 sh "$release" "$work/test_key.pem" "$test_key_program" 1.0.2.0 \
  "$url" 127.0.0.1:18473
expect "the update tests' program, signed by the signing script" "trusts a test key" \
  sh "$sign" "$work/test_key.pem" "$test_key_program" 1.0.2.0 "$url"
expect "the same, for a test: DUSK_ALLOW_TEST_KEY=1" signed \
  env DUSK_ALLOW_TEST_KEY=1 sh "$sign" "$work/test_key.pem" "$test_key_program" 1.0.2.0 "$url"
expect "the update tests' program, signed with another key" "does not carry the public half" \
  sh "$release" "$work/release.pem" "$test_key_program" 1.0.2.0 "$url" 127.0.0.1:18473
expect "Dusk.exe, signed with a key it does not trust" "does not carry the public half" \
  sh "$release" "$work/release.pem" "$dusk" 1.0.1.2 "$url" update.dusk.invalid
expect "a program built for another update server" "does not ask the release's update server" \
  sh "$release" "$work/release.pem" "$work/other_host.exe" 2.10.0.7 "$url" update.example.invalid
expect "a host that is only part of the program's" "does not ask the release's update server" \
  sh "$release" "$work/release.pem" "$work/good.exe" 2.10.0.7 "$url" example.invalid
expect "the wrong version" "is version 2.10.0.7, not 2.10.0.8" \
  sh "$release" "$work/release.pem" "$work/good.exe" 2.10.0.8 "$url" update.example.invalid

cp "$work/release.pem" "$work/shared.pem"
chmod 644 "$work/shared.pem"
expect "a key others can read" "can be read by others" \
  sh "$release" "$work/shared.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid
chmod 640 "$work/shared.pem"
expect "a key its group can read" "can be read by others" \
  sh "$release" "$work/shared.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid

# An encrypted key, its passphrase from a file descriptor.
(umask 077 && openssl pkey -in "$work/release.pem" -aes256 -passout pass:dusk-test \
  -out "$work/encrypted.pem")
export DUSK_KEY_PASSPHRASE_FD=3
expect "an encrypted key with its passphrase" signed \
  sh "$release" "$work/encrypted.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid 3<<EOF
dusk-test
EOF
expect "an encrypted key with a wrong passphrase" "cannot read the private key" \
  sh "$release" "$work/encrypted.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid 3<<EOF
not-it
EOF
unset DUSK_KEY_PASSPHRASE_FD

# The program itself trusts the keys of the tree's headers, and no other: the key search finds
# both in it, and nothing else.
headers=$(for header in "$root"/upgrade/project_public_key.h \
  "$root"/upgrade/project_backup_public_key.h; do
  grep -o '0x[0-9A-Fa-f][0-9A-Fa-f]' "$header" | cut -c3- | tr -d '\n' | tr 'A-F' 'a-f'
  echo
done | sort)
carried=$(python3 "$root/scripts/program_keys.py" "$dusk" | sort)
if [ -n "$headers" ] && [ "$carried" = "$headers" ]; then
  echo "ok: Dusk.exe carries the two keys of the headers"
else
  echo "FAILED: Dusk.exe carries the keys"
  echo "$carried" | sed 's/^/  /'
  echo "  and not those of the headers"
  echo "$headers" | sed 's/^/  /'
  status=1
fi
exit $status
