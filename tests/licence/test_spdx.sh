#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source file names its licence in its first lines, so a file copied out of the project
# still says under which terms.
set -euo pipefail
cd "$1"
missing=$(find . \( -path ./build -o -path ./.git -o -name e2e-artifacts \) -prune -o -type f \
  \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.py' -o -name '*.cmake' \
  -o -name CMakeLists.txt -o -path ./.ci/run \) -print | sort |
  while read -r f; do
    head -n 2 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || echo "$f"
  done)
[ -z "$missing" ] || { echo "no SPDX line in:"; echo "$missing"; exit 1; }
[ -f LICENSE ] && grep -q 'GNU GENERAL PUBLIC LICENSE' LICENSE && grep -q 'Version 3' LICENSE ||
  { echo "LICENSE is not the GPL, version 3"; exit 1; }
