#!/usr/bin/env bash
# Runs every test of a build under the X display this is started in, then ends every Wine
# process of the run.
# Usage: tools/run-tests.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export SORVANIL_BUILD=$(cd "$1" && pwd)
echo "run-tests: i386 programs run $(bash "$here/i386-mode.sh") on this machine"
# The prefixes the tests use, made before any test's time starts.
SORVANIL_ARCH=win64 "$here/wine-run" --prefix >/dev/null
SORVANIL_ARCH=win32 SORVANIL_HEAP=1 "$here/wine-run" --prefix >/dev/null
status=0
(cd "$SORVANIL_BUILD" && ctest --output-on-failure) || status=$?
# Let Wine end by itself before the display goes; whatever still runs after a generous
# bound was left behind by a failure and is ended with its prefix.
for env in "SORVANIL_ARCH=win64" "SORVANIL_ARCH=win32 SORVANIL_HEAP=1"; do
  env $env timeout 300 "$here/wine-run" wineserver -w || env $env "$here/wine-run" wineserver -k || true
done
exit $status
