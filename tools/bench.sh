#!/usr/bin/env bash
# Builds the benchmark programs and runs the benchmarks under the X display this is started in.
# Usage: tools/bench.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$1
cmake --build "$build" --target bench_programs -j2
bash "$here/wine-prefix.sh" "$build"
status=0
python3 "$here/../tests/bench/bench.py" "$build" "$here/.." || status=$?
WINEPREFIX="$(cd "$build" && pwd)/wineprefix" wineserver -w || true
exit $status
