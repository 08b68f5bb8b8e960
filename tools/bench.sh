#!/usr/bin/env bash
# Builds the benchmark programs and runs the benchmarks under the X display this is started in.
# Usage: tools/bench.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
export SORVANIL_BUILD=$(cd "$1" && pwd)
cmake --build "$SORVANIL_BUILD" --target bench_programs -j2
"$here/wine-run" --prefix >/dev/null
status=0
python3 "$here/../tests/bench/bench.py" "$SORVANIL_BUILD" "$here/.." || status=$?
"$here/wine-run" wineserver -w || true
exit $status
