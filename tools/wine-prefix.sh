#!/usr/bin/env bash
# Creates the build's private Wine prefix once, with a virtual desktop (so that windows
# get captions and close boxes without a window manager), and prints nothing else.
# Usage: tools/wine-prefix.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
. "$(dirname "$0")/wine-env.sh"
if [ ! -f "$WINEPREFIX/.sorvanil-ready" ]; then
  echo "wine-prefix: creating $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.sorvanil-ready"
fi
