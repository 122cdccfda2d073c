#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the benchmarks in a release build and runs every one of them,
# whatever the others did; then prints one table of all their figures and targets and exits 1
# when a target was missed or a benchmark did not finish.
# The benchmark pictures are made once and kept in build/bench-pictures.
#   VIMBREL_BENCH_DIR=DIR scripts/bench.sh   runs the benchmarks already built in DIR instead
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -n "${VIMBREL_BENCH_DIR:-}" ]; then
  benches=$VIMBREL_BENCH_DIR
else
  scripts/deps.sh test
  build=build/bench
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIMBREL_TESTS=OFF \
    -DVIMBREL_BENCH=ON
  cmake --build "$build" --parallel "$(nproc)" --target bench_pictures bench_albumfile \
    bench_pageview bench_import bench_slideshow bench_print bench_feel
  benches=$build/bench
fi

results=$(mktemp)
trap 'rm -f "$results"' EXIT

# Runs one benchmark, showing its output as it comes and keeping its RESULT lines. A benchmark
# that ends in any other way than finishing (with or without missed targets) adds a missed line
# of its own, so a crash cannot pass for a clean run.
bench() {
  local name=$1 missed_before rc
  shift
  echo "== $name"
  missed_before=$(grep -c $'\tmissed$' "$results" || true)
  set +e
  stdbuf -oL "$benches/$name" "$@" | while IFS= read -r line; do
    if [[ $line == RESULT$'\t'* ]]; then echo "$line" >>"$results"; else echo "$line"; fi
  done
  rc=${PIPESTATUS[0]}
  set -e
  if [ "$rc" -ne 0 ] && [ "$(grep -c $'\tmissed$' "$results" || true)" -eq "$missed_before" ]; then
    printf 'RESULT\t%s ended with status %d\t-\t-\t-\t-\tfinishes\tmissed\n' "$name" "$rc" \
      >>"$results"
  fi
  echo
}

pictures=$PWD/build/bench-pictures
bench bench_pictures "$pictures"
bench bench_albumfile
bench bench_pageview "$pictures"
bench bench_import "$pictures"
bench bench_slideshow
bench bench_print "$pictures"
bench bench_feel "$pictures"

scripts/benchtable.sh "$results"
