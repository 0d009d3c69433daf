#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time
# (PAUSORA_FUZZ_SECONDS, 30 by default). Ends non-zero on any crash.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${PAUSORA_FUZZ_SECONDS:-30}
build=$root/build/fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPAUSORA_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"$build.configure.log" 2>&1 ||
    { cat "$build.configure.log"; exit 1; }
cmake --build "$build" --target wave_fuzzer -j 2

work=$(mktemp -d "${TMPDIR:-/tmp}/pausora-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$build/artifacts"
python3 tests/fuzz/wave_seeds.py "$work/corpus"

echo "Fuzzing the WAVE reader and player for $seconds s"
if ! "$build/tests/fuzz/wave_fuzzer" -max_total_time="$seconds" -dict=tests/fuzz/wave.dict \
    -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/" "$work/corpus" >"$work/log" 2>&1; then
    tail -n 60 "$work/log"
    echo "wave_fuzzer found a fault; the input is in $build/artifacts/" >&2
    exit 1
fi
grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+.*DONE' "$work/log" || true
echo "wave_fuzzer: no fault"
