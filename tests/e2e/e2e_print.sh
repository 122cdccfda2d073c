#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Printing from the page view with real clicks, through the real printer dialog, to a CUPS
# queue with the cups-pdf printer: three photos in the 6 x 4 layout (two pages, each a job of
# its own) and on a contact sheet; every photo of the group at 8 x 10, cancelled while it
# prints; then the album report from the index. The PDFs cups-pdf writes are read back.
exe=$1
sampler=$2
E2E_NAME=print
source "$(dirname "$0")/xsession.sh"
source "$(dirname "$0")/../print/cupsqueue.sh"
trap 'cups_private_stop; e2e_cleanup' EXIT
cups_pdf_queue || fail "no CUPS queue"
export PRINTER=$CUPS_PDF_QUEUE

make_sample "$sampler"

# No PDF yet is an empty list, not a failure: a fresh scheduler has never printed.
pdfs() { find "$CUPS_PDF_OUT" -maxdepth 1 -name '*.pdf' 2>/dev/null | sort; }
# Waits until the queue is empty and `$1` more PDFs than in `$2` (a listing) are there, and
# prints the new ones.
new_pdfs() {
  local want=$1 before=$2 now end
  end=$(limit_after 60)
  while [ "$SECONDS" -lt "$end" ]; do
    now=$(comm -13 <(echo "$before") <(pdfs))
    if [ -z "$(lpstat -o 2>/dev/null)" ] && [ "$(echo "$now" | grep -c .)" -ge "$want" ]; then
      echo "$now"; return 0
    fi
    sleep 0.1
  done
  echo "$now"; return 1
}
page_size() { pdfinfo "$1" | sed -n 's/^Page size: *\([0-9.]*\) x \([0-9.]*\) pts.*/\1x\2/p'; }
pages() { pdfinfo "$1" | sed -n 's/^Pages: *//p'; }
# A job is queued or done since the listing $1.
printing() { [ -n "$(lpstat -o 2>/dev/null)" ] || [ -n "$(comm -13 <(echo "$1") <(pdfs))" ]; }

start_program "$exe"

open_first_group
rightclick "$(fx 1)" "$(fy 1)"; rightclick "$(fx 2)" "$(fy 2)"; rightclick "$(fx 3)" "$(fy 3)"

# The layout buttons stand in one column at the window's left.
layout() { acts click_in "$pw" 59 $((77 + $1 * 61)); }
# Print, then confirm the printer dialog with Enter.
print_job() {
  xdotool key --window "$pw" alt+p
  local dlg
  dlg=$(window "^Printer Setup$") || fail "no printer dialog"
  # The dialog's being there is enough for Enter; only a screenshot waits for its painting.
  [ -z "${1:-}" ] || { settle; shot "$1"; }
  xdotool key --window "$dlg" Return
}

tool 21
pw=$(window "^Vimbrel Print$") || fail "no print window"
settle
shot 01-print-window
before=$(pdfs)
print_job 02-printer-dialog
jobs=$(new_pdfs 2 "$before") || fail "the 6 x 4 job did not give two PDFs: $jobs"
settle; shot 03-printed-6x4
[ "$(echo "$jobs" | grep -c .)" = 2 ] || fail "not two jobs: $jobs"
for f in $jobs; do
  [ "$(pages "$f")" = 1 ] || fail "$f has $(pages "$f") pages"
  [ "$(page_size "$f")" = 612x792 ] || fail "$f is $(page_size "$f") points"
done
# The printed page holds photos: far from white, and not one colour.
pdftoppm -r 20 -png -singlefile "$(echo "$jobs" | head -1)" "$E2E_ART/04-pdf-6x4" 2>/dev/null
[ "$(convert "$E2E_ART/04-pdf-6x4.png" -colorspace gray -format '%[fx:mean<0.9 && standard_deviation>0.05]' info:)" = 1 ] ||
  fail "the 6 x 4 page shows no photos"

layout 4
shot 05-contact-layout
before=$(pdfs)
print_job
jobs=$(new_pdfs 1 "$before") || fail "the contact sheet did not print"
[ "$(echo "$jobs" | grep -c .)" = 1 ] || fail "the contact sheet took several jobs: $jobs"
settle; shot 06-printed-contact

# Every photo of the group at 8 x 10, one a page; Cancel while it prints.
xdotool key --window "$pw" alt+r; gone "^Vimbrel Print$" || fail "Return did not close the window"
changes tool 15; changes tool 15           # none, then all
tool 21
pw=$(window "^Vimbrel Print$") || fail "no print window"
layout 3
before=$(pdfs)
print_job
wait_for "the first page to reach the queue" 30 printing "$before"
xdotool key --window "$pw" alt+c
# Once the window stops counting pages and the queue is empty, nothing more is coming.
settle 60; shot 07-cancelled
jobs=$(new_pdfs 0 "$before") || fail "the queue does not empty after Cancel"
n=$(echo "$jobs" | grep -c . || true)
[ "$n" -lt 14 ] || fail "Cancel did not stop the job ($n pages printed)"
echo "cancelled after $n of 14 pages"

# The album report from the index.
xdotool key --window "$pw" alt+r; gone "^Vimbrel Print$" || fail "Return did not close the window"
changes tool 13
before=$(pdfs)
tool 21
dlg=$(window "^Printer Setup$") || fail "no printer dialog for the report"
xdotool key --window "$dlg" Return
jobs=$(new_pdfs 1 "$before") || fail "the report did not print"
[ "$(page_size "$jobs")" = 612x792 ] || fail "the report is $(page_size "$jobs") points"
pdftoppm -r 50 -png -singlefile "$jobs" "$E2E_ART/08-pdf-report" 2>/dev/null
[ "$(convert "$E2E_ART/08-pdf-report.png" -colorspace gray -format '%[fx:mean<0.995]' info:)" = 1 ] ||
  fail "the report page is blank"
shot 09-index-after-report
kill -0 "$E2E_APP" || fail "the program ended"
echo "print e2e: ok"
