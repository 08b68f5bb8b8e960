#!/usr/bin/env bash
# Makes sure the cross toolchain, Wine and the headless display tools are installed, and
# that this machine runs i386 Linux programs (the Wine that runs 32-bit Windows programs is
# one). Installs only what is missing: as root directly, otherwise through sudo. Running it
# again changes nothing.
set -eu
here=$(cd "$(dirname "$0")" && pwd)

packages="g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 wine64 fonts-wine xvfb xauth xdotool imagemagick python3-pefile python3-pytest
  cmake make googletest cppcheck openssl osslsigncode locales"

# Bookworm's own qemu (7.2) ignores MAP_FIXED_NOREPLACE, which costs Wine about a minute of
# address-space probing at every start; 8.1 and later do not.
QEMU_MIN=8.1
BINFMT=/proc/sys/fs/binfmt_misc
# The i386 ELF executable header, matched as the kernel's binfmt_misc does.
I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

as_root=unset
root_or_explain() {   # $1: what needs root, for the message
  [ "$as_root" != unset ] && return 0
  if [ "$(id -u)" = 0 ]; then
    as_root=""
  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    as_root="sudo"
  else
    echo "setup: missing: $1" >&2
    echo "setup: do that as root (or give this user sudo), then run make again." >&2
    exit 1
  fi
}

# --- Debian packages -----------------------------------------------------------------------
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  root_or_explain "these Debian packages:$missing"
  echo "setup: installing$missing"
  dpkg --print-foreign-architectures | grep -qx i386 || $as_root dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  $as_root apt-get update -qq
  $as_root apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

# --- i386 programs -------------------------------------------------------------------------
mode=$(bash "$here/i386-mode.sh")
[ "$mode" != none ] && exit 0

# This kernel runs no i386 programs (its 32-bit support is switched off). Run them through
# qemu's user-mode emulation, registered with binfmt_misc.
qemu_ok() {
  command -v qemu-i386-static >/dev/null 2>&1 || return 1
  local v
  v=$(qemu-i386-static --version | sed -n 's/^qemu-i386 version \([0-9.]*\).*/\1/p')
  [ -n "$v" ] && dpkg --compare-versions "$v" ge "$QEMU_MIN"
}
did=""
if ! qemu_ok; then
  root_or_explain "qemu-user-static $QEMU_MIN or newer (from bookworm-backports), to run i386 programs on a kernel without 32-bit support"
  list=/etc/apt/sources.list.d/sorvanil-backports.sources
  if ! grep -rqs "bookworm-backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    # The same mirror and key as the machine's own Debian sources.
    src=$(grep -ls "^Suites:.*\bbookworm\b" /etc/apt/sources.list.d/*.sources | head -n1)
    uris=$(awk '/^URIs:/{print $2; exit}' "$src")
    key=$(awk '/^Signed-By:/{print $2; exit}' "$src")
    printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: %s\n' \
      "${uris:-http://deb.debian.org/debian}" "${key:-/usr/share/keyrings/debian-archive-keyring.gpg}" \
      | $as_root tee "$list" >/dev/null
  fi
  export DEBIAN_FRONTEND=noninteractive
  $as_root apt-get update -qq
  $as_root apt-get install -y -qq --no-install-recommends -t bookworm-backports qemu-user-static >/dev/null
  qemu_ok || { echo "setup: qemu-user-static $QEMU_MIN or newer could not be installed" >&2; exit 1; }
  did="installed qemu-user-static $(qemu-i386-static --version | sed -n 's/^qemu-i386 version \([0-9.]*\).*/\1/p'), "
fi
if ! mountpoint -q "$BINFMT"; then
  root_or_explain "binfmt_misc mounted at $BINFMT"
  $as_root mount -t binfmt_misc binfmt_misc "$BINFMT"
  did="${did}mounted binfmt_misc, "
fi
if [ -e "$BINFMT/qemu-i386" ]; then
  root_or_explain "the binfmt_misc entry qemu-i386 enabled"
  echo 1 | $as_root tee "$BINFMT/qemu-i386" >/dev/null
  did="${did}enabled the binfmt_misc entry qemu-i386"
else
  root_or_explain "the binfmt_misc entry qemu-i386 registered"
  # F: the kernel opens the interpreter now, so it works inside any mount namespace later.
  printf ':qemu-i386:M::%s:%s:%s:F' "$I386_MAGIC" "$I386_MASK" "$(command -v qemu-i386-static)" \
    | $as_root tee "$BINFMT/register" >/dev/null
  did="${did}registered the binfmt_misc entry qemu-i386"
fi
mode=$(bash "$here/i386-mode.sh")
if [ "$mode" != emulated ]; then
  echo "setup: i386 programs still do not run after setting up emulation ($did)" >&2
  exit 1
fi
echo "setup: this kernel runs no i386 programs, so they now run under qemu user-mode emulation ($did)"
