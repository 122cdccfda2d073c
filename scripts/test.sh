#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test, the bounded fuzz runs included.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

build=build/ci
cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  "-DCMAKE_CXX_FLAGS_DEBUG=-O0 -gline-tables-only" \
  -DVIMBREL_WERROR=ON -DVIMBREL_SANITIZE=ON -DVIMBREL_FUZZ=ON -DVIMBREL_BENCH=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2 "$@"
