#!/usr/bin/env bash
# Makes sure the cross toolchain, Wine and the headless display tools are installed.
# Installs the Debian packages only when something is missing: as root directly,
# otherwise through sudo.
set -eu

packages="g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 fonts-wine xvfb xauth xdotool imagemagick python3-pefile python3-pytest
  cmake make googletest cppcheck"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" = 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  as_root="sudo"
else
  echo "setup: these Debian packages are missing:$missing" >&2
  echo "setup: install them as root (or give this user sudo), then run make again." >&2
  exit 1
fi

echo "setup: installing$missing"
dpkg --print-foreign-architectures | grep -qx i386 || $as_root dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get update -qq
$as_root apt-get install -y -qq --no-install-recommends $missing >/dev/null
