#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks in a release build and runs each of them.
# The benchmark pictures are made once and kept in build/bench-pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

build=build/bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIMBREL_TESTS=OFF \
  -DVIMBREL_BENCH=ON
cmake --build "$build" --parallel "$(nproc)" --target bench_pictures bench_albumfile bench_pageview \
  bench_import bench_slideshow bench_print
"$build/bench/bench_pictures" "$PWD/build/bench-pictures"
"$build/bench/bench_albumfile"
"$build/bench/bench_pageview" "$PWD/build/bench-pictures"
"$build/bench/bench_import" "$PWD/build/bench-pictures"
"$build/bench/bench_slideshow"
"$build/bench/bench_print" "$PWD/build/bench-pictures"
