#!/bin/sh
# scripts/release.sh signs only what may be released: each refusal for its own
# reason, and a program that passes every check signed and verified.
# Usage: release_script_test.sh SOURCE_ROOT DuskUpdateNew.exe Dusk.exe version_fixture.exe
set -eu
root=$1
test_key_program=$2
dusk=$3
fixture=$4
release=$root/scripts/release.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
# expect NAME OUTCOME ARGUMENTS...: OUTCOME is "signed" or the words the refusal must hold.
expect() {
  name=$1
  outcome=$2
  shift 2
  if sh "$release" "$@" >"$work/out" 2>"$work/err"; then
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
# A program that trusts the key and asks the host: the fixture with both after its end.
program_for() { # KEY HOST OUTPUT
  cp "$fixture" "$3"
  printf '\0%s\0' "$2" >>"$3"
  openssl pkey -in "$1" -pubout -outform DER | tail -c 64 >>"$3"
}

private_key "$work/release.pem"
private_key "$work/other.pem"
# The test key as a release key would be kept: readable by its owner only.
cp "$root/tests/fixtures/test_signing_key.pem" "$work/test_key.pem"
chmod 600 "$work/test_key.pem"
program_for "$work/release.pem" update.example.invalid "$work/good.exe"
program_for "$work/release.pem" 127.0.0.1:18473 "$work/other_host.exe"
url=http://update.example.invalid/Dusk.exe

expect "a program that passes every check" signed \
  "$work/release.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid
expect "the update tests' program, signed with the test key it trusts" "trusts a test key" \
  "$work/test_key.pem" "$test_key_program" 1.0.2.0 "$url" 127.0.0.1:18473
expect "the update tests' program, signed with another key" "does not carry the public half" \
  "$work/release.pem" "$test_key_program" 1.0.2.0 "$url" 127.0.0.1:18473
expect "Dusk.exe, signed with a key it does not trust" "does not carry the public half" \
  "$work/release.pem" "$dusk" 1.0.1.2 "$url" update.dusk.invalid
expect "a program built for another update server" "does not ask the release's update server" \
  "$work/release.pem" "$work/other_host.exe" 2.10.0.7 "$url" update.example.invalid
expect "a host that is only part of the program's" "does not ask the release's update server" \
  "$work/release.pem" "$work/good.exe" 2.10.0.7 "$url" example.invalid
expect "the wrong version" "is version 2.10.0.7, not 2.10.0.8" \
  "$work/release.pem" "$work/good.exe" 2.10.0.8 "$url" update.example.invalid

cp "$work/release.pem" "$work/shared.pem"
chmod 644 "$work/shared.pem"
expect "a key others can read" "can be read by others" \
  "$work/shared.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid
chmod 640 "$work/shared.pem"
expect "a key its group can read" "can be read by others" \
  "$work/shared.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid

# An encrypted key, its passphrase from a file descriptor.
(umask 077 && openssl pkey -in "$work/release.pem" -aes256 -passout pass:dusk-test \
  -out "$work/encrypted.pem")
export DUSK_KEY_PASSPHRASE_FD=3
expect "an encrypted key with its passphrase" signed \
  "$work/encrypted.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid 3<<EOF
dusk-test
EOF
expect "an encrypted key with a wrong passphrase" "cannot read the private key" \
  "$work/encrypted.pem" "$work/good.exe" 2.10.0.7 "$url" update.example.invalid 3<<EOF
not-it
EOF
unset DUSK_KEY_PASSPHRASE_FD
exit $status
