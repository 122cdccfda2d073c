#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program and starts it.
# Without arguments it opens the sample album "$HOME/Vimbrel Samples/SAMPLE.vmb", making it
# first when it is not there yet (later runs reuse it); with arguments it passes them to the
# program instead (an album path to open).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIMBREL_TESTS=OFF
cmake --build build/release
if [ $# -gt 0 ]; then
  exec build/release/app/vimbrel "$@"
fi
samples="$HOME/Vimbrel Samples"
album="$samples/SAMPLE.vmb"
[ -f "$album" ] || build/release/tools/samplealbum/vimbrel-sample-album "$samples"
exec build/release/app/vimbrel "$album"
