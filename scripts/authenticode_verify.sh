#!/bin/sh
# Verifies the Authenticode signatures of a release's files as Windows will check them: each
# file's digest against the one signed, the chain to a trusted root, the time stamp's own
# signature; and that the digest is SHA-256 and a time stamp is there. Prints what is wrong.
# Usage: scripts/authenticode_verify.sh [--digests] FILE...
#   --digests  only that each file is the one its signature was made for: a rebuild's question
#              (whom to trust is the question Windows asks)
#   DUSK_CODESIGN_CA_FILE  the roots to trust (default: the system's)
set -eu

digests_only=
if [ "${1:-}" = --digests ]; then
  digests_only=yes
  shift
fi
[ $# -ge 1 ] || {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0" >&2
  exit 2
}
verify() { # FILE
  if [ -n "${DUSK_CODESIGN_CA_FILE:-}" ]; then
    osslsigncode verify -CAfile "$DUSK_CODESIGN_CA_FILE" -TSA-CAfile "$DUSK_CODESIGN_CA_FILE" \
      -in "$1"
  else
    osslsigncode verify -in "$1"
  fi
}
# The digest the signature holds and the file's own, the same and not empty.
same_digests() { # REPORT
  printf '%s\n' "$1" | awk '
    /^Current message digest/ { signed = $5 }
    /^Calculated message digest/ { own = $5 }
    END { exit !(signed != "" && signed == own) }'
}
status=0
for file; do
  report=$(verify "$file" 2>&1) && verified=yes || verified=
  if [ -n "$digests_only" ]; then
    same_digests "$report" && continue
  elif [ -n "$verified" ] &&
    printf '%s\n' "$report" | grep -q '^Message digest algorithm *: SHA256' &&
    printf '%s\n' "$report" | grep -q '^Timestamp Server Signature verification: ok'; then
    continue
  fi
  # The summary lines: the certificates' details are indented.
  printf '%s\n' "$report" | grep -v '^[[:space:]]\|^$' | sed "s|^|$file: |" >&2
  echo "authenticode_verify.sh: $file does not verify" >&2
  status=1
done
exit $status
