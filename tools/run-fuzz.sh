#!/usr/bin/env bash
# Builds every libFuzzer target with clang and runs each for the given number of seconds.
# Prints the executions each target ran. Skips (exit 0) when clang is not installed.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
if ! command -v clang++ >/dev/null; then
    echo "clang++ not found: fuzz targets skipped"
    exit 0
fi
build=$root/build-fuzz
CXX=clang++ cmake -S "$root/fuzz" -B "$build" -G Ninja >/dev/null
cmake --build "$build"
for target in "$build"/bin/fuzz_*; do
    name=$(basename "$target")
    corpus=$root/fuzz-corpus/$name
    mkdir -p "$corpus"
    seeds=()
    [ -d "$root/fuzz/${name#fuzz_}/seeds" ] && seeds+=("$root/fuzz/${name#fuzz_}/seeds")
    echo "== $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" "${seeds[@]}" 2>&1 |
        grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || true
done
