#!/usr/bin/env bash
# Puts what a software maker ships into dist/: the program (signed when a certificate is
# given), a plain-text read-me for the person who runs it, the maker's .prc files, a zip of
# exactly those, and SHA256SUMS. Never the stand-in Install Aide, nor any other DLL.
# Everything is made in a folder of its own first: on any error dist/ stays as it was.
#
# Usage: tools/dist.sh BUILD_DIR [OUT_DIR]
# Environment (nothing of it is ever stored in the project):
#   PRC                 a folder with the maker's .prc files, to ship beside the program
#   SIGN_PFX            a PKCS#12 file with the code-signing certificate and its key
#   SIGN_PASSWORD       the password that opens it (from the environment: never in a process list)
#   SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server, when the signature is to be time-stamped
#   SIGN_CAFILE         the certificate authorities to verify the signature against
#                       (default: the system's)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
out=${2:-$here/../dist}

fail() { echo "dist: $*" >&2; exit 1; }

# --- what goes in -------------------------------------------------------------------------
prc_files=()
if [ -n "${PRC:-}" ]; then
  [ -d "$PRC" ] || fail "PRC names no folder: $PRC"
  while IFS= read -r -d '' f; do prc_files+=("$f"); done \
    < <(find "$PRC" -maxdepth 1 -type f -iname '*.prc' -print0 | sort -z)
  [ ${#prc_files[@]} -gt 0 ] || fail "the folder $PRC holds no .prc files"
fi
if [ -n "${SIGN_PFX:-}" ]; then
  [ -f "$SIGN_PFX" ] || fail "SIGN_PFX names no file: $SIGN_PFX"
  command -v osslsigncode >/dev/null || fail "signing needs osslsigncode (run make setup)"
  export SIGN_PASSWORD=${SIGN_PASSWORD:-}
  if ! err=$(openssl pkcs12 -in "$SIGN_PFX" -noout -passin env:SIGN_PASSWORD 2>&1); then
    fail "the certificate $SIGN_PFX does not open with SIGN_PASSWORD (a wrong password, or no PKCS#12 file): $(echo "$err" | head -n 1)"
  fi
fi

mkdir -p "$(dirname "$out")"
stage=$(mktemp -d "$(dirname "$out")/.dist.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# --- the program, signed when it can be ---------------------------------------------------------
if [ -n "${SIGN_PFX:-}" ]; then
  ts=()
  [ -n "${SIGN_TIMESTAMP_URL:-}" ] && ts=(-ts "$SIGN_TIMESTAMP_URL")
  # The password reaches osslsigncode through a pipe, never on its command line.
  if ! err=$(osslsigncode sign -pkcs12 "$SIGN_PFX" -readpass <(printf '%s' "$SIGN_PASSWORD") -h sha256 \
               -n "Sorvanil" "${ts[@]}" -in "$build/Sorvanil.exe" -out "$stage/Sorvanil.exe" 2>&1); then
    fail "signing failed: $(echo "$err" | grep -v '^$' | tail -n 2 | tr '\n' ' ')"
  fi
  cafile=${SIGN_CAFILE:-/etc/ssl/certs/ca-certificates.crt}
  if ! err=$(osslsigncode verify -CAfile "$cafile" -in "$stage/Sorvanil.exe" 2>&1); then
    fail "the signature just made does not verify against $cafile: $(echo "$err" | grep -i 'fail\|error' | head -n 2 | tr '\n' ' ')"
  fi
  echo "dist: Sorvanil.exe signed with $SIGN_PFX and verified"
else
  cp "$build/Sorvanil.exe" "$stage/"
  echo "dist: Sorvanil.exe is not signed (set SIGN_PFX and SIGN_PASSWORD to sign it)"
fi

# The person may read it with Notepad: CR LF line ends.
sed 's/$/\r/' "$here/../docs/README-user.txt" > "$stage/README.txt"
for f in "${prc_files[@]}"; do cp "$f" "$stage/"; done
if find "$stage" -iname '*.dll' | grep -q .; then
  fail "a DLL must never be shipped"
fi

# --- the zip and the checksums, then dist/ in one step ---------------------------------------------
# Debian's Python, which has pefile (tools/setup.sh installs it).
/usr/bin/python3 "$here/pack_dist.py" "$stage"
rm -rf "$out"
mv "$stage" "$out"
trap - EXIT
echo "dist: $(cd "$out" && pwd):"
ls -l "$out" | tail -n +2
