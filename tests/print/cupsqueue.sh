# Sourced: makes sure a CUPS scheduler runs with the cups-pdf queue "PDF" and sets CUPS_PDF_OUT
# to the folder cups-pdf writes this user's jobs to. Starting cupsd needs root (CI runs as root).

cups_pdf_queue() {
  if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    [ "$(id -u)" -eq 0 ] || { echo "cupsd is not running and only root may start it"; return 1; }
    cupsd || return 1
    for _ in $(seq 100); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.1; done
  fi
  if ! lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -v cups-pdf:/ -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || return 1
  fi
  cupsenable PDF 2>/dev/null || true
  CUPS_PDF_OUT=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF
  mkdir -p "$CUPS_PDF_OUT"
}
