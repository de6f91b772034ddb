#!/usr/bin/env bash
# Runs every benchmark program of a build and prints its figures. Widgets draw offscreen,
# so no display is needed; the read-out benchmarks take about 40 s each (115200 baud).
set -uo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
status=0
for bench in "$build"/bin/*bench*; do
    [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench" || status=1
done
exit $status
