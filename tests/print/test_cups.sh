#!/usr/bin/env bash
# Prints photos and the album report through a real CUPS queue (cups-pdf) and reads the PDFs
# back: runs the CUPS cases of the print output test against the queue.
set -euo pipefail
source "$(dirname "$0")/cupsqueue.sh"
cups_pdf_queue || { echo "no CUPS queue"; exit 1; }
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
VIMBREL_CUPS_QUEUE=PDF VIMBREL_CUPS_OUT=$CUPS_PDF_OUT exec "$1" --gtest_filter='CupsPrinting.*'
