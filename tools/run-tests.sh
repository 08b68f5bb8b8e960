#!/usr/bin/env bash
# Runs every test of a build under the X display this is started in.
# Usage: tools/run-tests.sh BUILD_DIR
set -eu
build=$1
bash "$(dirname "$0")/wine-prefix.sh" "$build"
cd "$build"
status=0
ctest --output-on-failure || status=$?
# Let Wine end by itself before the display goes.
WINEPREFIX="$PWD/wineprefix" wineserver -w || true
exit $status
