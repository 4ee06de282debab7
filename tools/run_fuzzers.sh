#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan) in build-fuzz/ and
# runs each for a fixed time from its seed corpus: tools/run_fuzzers.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DDLT_BUILD_FUZZERS=ON -DDLT_BUILD_GUI=OFF -DDLT_BUILD_TESTS=OFF -DDLT_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target envelope_fuzz zone_text_fuzz online_text_fuzz store_fuzz official_page_fuzz
for target in envelope_fuzz zone_text_fuzz online_text_fuzz store_fuzz official_page_fuzz; do
  seeds=tests/fuzz/corpus/${target%_fuzz}
  work=$build/corpus/$target
  mkdir -p "$work" "$build/crashes"
  echo "== $target for ${seconds}s"
  # New inputs go to the work corpus; the seeds in the tree stay as they are.
  "$build/tests/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$build/crashes/$target-" "$work" "$seeds" 2>&1 |
    grep -E "^(stat::number_of_executed_units|stat::peak_rss|==[0-9]+==ERROR|SUMMARY)" || true
done
ls "$build/crashes"
