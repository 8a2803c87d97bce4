# A throwaway publisher for the signing tests, made anew in a folder of the test's own: a CA, a
# code-signing certificate it issued (in a PKCS#12 file with a password), and a time-stamp
# authority on the loopback (timestamp_server.py) with a time-stamping certificate of the same CA.
# No key of it is ever kept in the tree.
#
# codesign_fixture_begin SOURCE_ROOT DIR: makes it in DIR and exports what scripts/package.sh reads to sign:
#   DUSK_CODESIGN_P12, DUSK_TIMESTAMP_URL, DUSK_CODESIGN_CA_FILE, and DUSK_CODESIGN_PASSWORD_FD=3:
#   the caller opens descriptor 3 on $codesign_password_file. Returns nonzero when any of it fails.
# codesign_fixture_token: the same key on a software token (SoftHSM), as a hardware token holds
#   it; sets codesign_token_module (its PKCS#11 module), codesign_token_key (the key's pkcs11: URI),
#   codesign_token_certs (the certificate and its chain) and codesign_token_pin_file, and exports
#   SOFTHSM2_CONF. After codesign_fixture_begin.
# codesign_fixture_end: stops the time-stamp authority.

codesign_fixture_begin() {
  _cf_root=$1
  _cf_dir=$2
  rm -rf "$_cf_dir"
  mkdir -p "$_cf_dir" || return 1
  cat >"$_cf_dir/openssl.cnf" <<CONF
[ca_ext]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[code_signing_ext]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
[time_stamping_ext]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature, nonRepudiation
extendedKeyUsage = critical, timeStamping
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
[tsa]
default_tsa = test_tsa
[test_tsa]
dir = $_cf_dir
serial = \$dir/tsa-serial
signer_cert = \$dir/tsa.crt
signer_key = \$dir/tsa.key
certs = \$dir/ca.crt
signer_digest = sha256
default_policy = 1.3.6.1.4.1.55555.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
CONF
  echo 01 >"$_cf_dir/tsa-serial"
  (
    cd "$_cf_dir" &&
      openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 2 \
        -subj "/CN=Dusk test CA" -config openssl.cnf -extensions ca_ext 2>>openssl.log &&
      for _cf_who in code_signing time_stamping; do
        openssl req -newkey rsa:2048 -nodes -keyout "$_cf_who.key" -out "$_cf_who.csr" \
          -subj "/CN=Dusk test $_cf_who" 2>>openssl.log &&
          openssl x509 -req -in "$_cf_who.csr" -CA ca.crt -CAkey ca.key -days 2 \
            -set_serial "0x$(openssl rand -hex 8)" -extfile openssl.cnf \
            -extensions "${_cf_who}_ext" -out "$_cf_who.crt" 2>>openssl.log ||
          exit 1
      done &&
      mv time_stamping.crt tsa.crt && mv time_stamping.key tsa.key &&
      echo "throwaway password $(openssl rand -hex 4)" >password &&
      openssl pkcs12 -export -inkey code_signing.key -in code_signing.crt -certfile ca.crt \
        -passout file:password -out publisher.p12
  ) || return 1
  _cf_python=/usr/bin/python3
  [ -x "$_cf_python" ] || _cf_python=python3
  "$_cf_python" "$_cf_root/tests/packaging/timestamp_server.py" "$_cf_dir/openssl.cnf" \
    "$_cf_dir/ready" 2>>"$_cf_dir/timestamp_server.log" &
  codesign_fixture_pid=$!
  _cf_waited=0
  until [ -s "$_cf_dir/ready" ]; do
    kill -0 "$codesign_fixture_pid" 2>/dev/null && [ "$_cf_waited" -lt 100 ] || return 1
    sleep 0.1
    _cf_waited=$((_cf_waited + 1))
  done
  # shellcheck disable=SC2034 # for the caller
  codesign_password_file=$_cf_dir/password
  _cf_port=$(cut -d' ' -f2 "$_cf_dir/ready")
  export DUSK_CODESIGN_P12="$_cf_dir/publisher.p12" DUSK_CODESIGN_PASSWORD_FD=3 \
    DUSK_CODESIGN_CA_FILE="$_cf_dir/ca.crt" DUSK_TIMESTAMP_URL="http://127.0.0.1:$_cf_port/"
}

codesign_fixture_token() {
  _cf_token=$_cf_dir/token
  mkdir -p "$_cf_token/objects" || return 1
  printf 'directories.tokendir = %s/objects\nobjectstore.backend = file\nlog.level = ERROR\n' \
    "$_cf_token" >"$_cf_token/softhsm2.conf"
  export SOFTHSM2_CONF="$_cf_token/softhsm2.conf"
  # shellcheck disable=SC2034 # for the caller
  codesign_token_module=/usr/lib/softhsm/libsofthsm2.so
  # shellcheck disable=SC2034 # for the caller
  codesign_token_key="pkcs11:token=dusk-test;object=dusk-code-signing;type=private"
  codesign_token_certs=$_cf_token/chain.pem
  codesign_token_pin_file=$_cf_token/pin
  openssl rand -hex 3 >"$codesign_token_pin_file"
  cat "$_cf_dir/code_signing.crt" "$_cf_dir/ca.crt" >"$codesign_token_certs"
  openssl pkcs8 -topk8 -nocrypt -in "$_cf_dir/code_signing.key" -out "$_cf_token/key.pk8" &&
    softhsm2-util --init-token --free --label dusk-test --pin "$(cat "$codesign_token_pin_file")" \
      --so-pin "$(openssl rand -hex 4)" >>"$_cf_token/softhsm.log" 2>&1 &&
    softhsm2-util --import "$_cf_token/key.pk8" --token dusk-test --label dusk-code-signing --id 01 \
      --pin "$(cat "$codesign_token_pin_file")" >>"$_cf_token/softhsm.log" 2>&1
}

codesign_fixture_end() {
  [ -n "${codesign_fixture_pid:-}" ] || return 0
  kill "$codesign_fixture_pid" 2>/dev/null || :
  wait "$codesign_fixture_pid" 2>/dev/null || :
  codesign_fixture_pid=
}
