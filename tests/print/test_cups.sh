#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints photos and the album report through a real CUPS queue (cups-pdf) and reads the PDFs
# back: runs the CUPS cases of the print output test against a scheduler of its own.
set -eEuo pipefail
trap 'echo "FAIL: ${BASH_SOURCE[0]##*/}:$LINENO: '\''$BASH_COMMAND'\'' exited with $?" >&2' ERR
source "$(dirname "$0")/cupsqueue.sh"
trap cups_private_stop EXIT
cups_pdf_queue || { echo "FAIL: no CUPS queue"; exit 1; }
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
# The test's own home: nothing it writes or reads is the user's.
HOME=$(mktemp -d -p "$CUPS_PRIVATE_ROOT") XDG_CACHE_HOME= XDG_CONFIG_HOME= \
  VIMBREL_CUPS_QUEUE=$CUPS_PDF_QUEUE VIMBREL_CUPS_OUT=$CUPS_PDF_OUT "$1" --gtest_filter='CupsPrinting.*'
