#!/usr/bin/env bash
# Prints how this machine runs i386 Linux programs, such as the Wine that runs 32-bit
# Windows programs: "native", "emulated" (through qemu registered with binfmt_misc, which
# the kernel tries before its own loader) or "none".
loader=/usr/lib/wine/wine
entry=/proc/sys/fs/binfmt_misc/qemu-i386
if ! "$loader" --version >/dev/null 2>&1; then
  echo none
elif [ -r "$entry" ] && head -n1 "$entry" | grep -qx enabled; then
  echo emulated
else
  echo native
fi
