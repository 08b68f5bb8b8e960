#!/usr/bin/env bash
# Puts what a software maker ships into dist/: the program and a plain-text read-me for the
# person who runs it. Never the stand-in Install Aide.
# Usage: tools/dist.sh BUILD_DIR [OUT_DIR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
out=${2:-$here/../dist}
rm -rf "$out"
mkdir -p "$out"
cp "$build/Sorvanil.exe" "$out/"
# The person may read it with Notepad: CR LF line ends.
sed 's/$/\r/' "$here/../docs/README-user.txt" > "$out/README.txt"
if ls "$out" | grep -qi '\.dll$'; then
  echo "dist: a DLL must never be shipped" >&2
  exit 1
fi
echo "dist: $(cd "$out" && pwd):"
ls -l "$out" | tail -n +2
