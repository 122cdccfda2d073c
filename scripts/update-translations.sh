#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings the .ts files up to date with the texts in the sources (new texts come in
# unfinished, removed ones are dropped). Then translate the new entries with linguist.
#   scripts/update-translations.sh [TS_FILE...]   default: every translations/*.ts
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
cd "$top"
[ $# -gt 0 ] || set -- translations/*.ts
"$lupdate" -silent -locations none -no-obsolete -extensions cpp,h app platform store windows -ts "$@"
