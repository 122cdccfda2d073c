# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced: brings up a CUPS scheduler of the test's own, from nothing, with the cups-pdf queue
# "PDF", and tears it down when the script ends. Its configuration, socket, spool, cache, logs
# and the PDFs it writes all live in one temporary folder; clients find it through CUPS_SERVER,
# so the machine's printers, its scheduler and ~/PDF are neither used nor touched.
#
# cups-pdf reads its settings (the output folder among them) only from
# /etc/cups/cups-pdf.conf, and neither the queue's PPD nor job options may set the output
# folder. So the scheduler runs in a mount namespace of its own in which the private folder
# stands in for /etc/cups; the real /etc/cups is never written.
#
# Sets CUPS_SERVER and CUPS_PDF_OUT (the folder the PDFs appear in). Needs root: cupsd runs
# backends such as cups-pdf as root only when it is root itself, and unshare needs it too.

CUPS_PDF_QUEUE=PDF

cups_private_stop() {
  [ -n "${CUPS_PRIVATE_PID:-}" ] && kill "$CUPS_PRIVATE_PID" 2>/dev/null &&
    timeout 10 tail --pid="$CUPS_PRIVATE_PID" -f /dev/null 2>/dev/null
  CUPS_PRIVATE_PID=
  [ -z "${CUPS_PRIVATE_ROOT:-}" ] || rm -rf "$CUPS_PRIVATE_ROOT"
  CUPS_PRIVATE_ROOT=
}

# Prints why and returns 1 when the scheduler cannot be had.
cups_pdf_queue() {
  local backend=/usr/lib/cups/backend/cups-pdf ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  [ "$(id -u)" -eq 0 ] || { echo "a private CUPS scheduler needs root" >&2; return 1; }
  command -v cupsd >/dev/null || { echo "cupsd is not installed" >&2; return 1; }
  [ -x "$backend" ] && [ -f "$ppd" ] || { echo "cups-pdf is not installed" >&2; return 1; }
  [ -d /etc/cups ] || { echo "no /etc/cups to stand in for" >&2; return 1; }

  # Short: cups-pdf and the socket's address keep only so many characters of a path.
  CUPS_PRIVATE_ROOT=$(mktemp -d /tmp/vmbcups.XXXXXX)
  local r=$CUPS_PRIVATE_ROOT
  chmod 755 "$r" # cupsd drops to lp for its filters
  mkdir -p "$r/spool/tmp" "$r/cache" "$r/state" "$r/log" "$r/ppd" "$r/pdfspool" "$r/out" "$r/anon"
  chmod 1777 "$r/out" "$r/anon"
  cat >"$r/cups-files.conf" <<EOF
ServerRoot $r
RequestRoot $r/spool
TempDir $r/spool/tmp
CacheDir $r/cache
StateDir $r/state
ErrorLog $r/log/error_log
AccessLog $r/log/access_log
PageLog $r/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
User lp
Group lp
SystemGroup root
FileDevice No
EOF
  cat >"$r/cupsd.conf" <<EOF
Listen $r/cups.sock
Browsing No
LogLevel warn
MaxLogSize 0
DefaultAuthType None
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  cat >"$r/cups-pdf.conf" <<EOF
Out $r/out
AnonDirName $r/anon
Spool $r/pdfspool
Log $r/log
Grp root
Label 1
EOF
  # Everything else the backends and filters read in /etc/cups, as the machine has it.
  local f
  for f in /etc/cups/*.types /etc/cups/*.convs; do [ -f "$f" ] && cp "$f" "$r/"; done

  unshare --mount --propagation private \
    sh -c 'mount --bind "$1" /etc/cups && exec cupsd -f -c "$1/cupsd.conf" -s "$1/cups-files.conf"' \
    sh "$r" >"$r/log/cupsd.out" 2>&1 &
  CUPS_PRIVATE_PID=$!
  export CUPS_SERVER=$r/cups.sock
  local i
  for i in $(seq 100); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    kill -0 "$CUPS_PRIVATE_PID" 2>/dev/null || break
    sleep 0.1
  done
  lpstat -r 2>/dev/null | grep -q "is running" || {
    echo "the private CUPS scheduler did not start: $(cat "$r/log/cupsd.out" "$r/log/error_log" 2>/dev/null)" >&2
    return 1
  }
  lpadmin -p "$CUPS_PDF_QUEUE" -v cups-pdf:/ -P "$ppd" -E >"$r/log/lpadmin.out" 2>&1 || {
    echo "no cups-pdf queue: $(cat "$r/log/lpadmin.out")" >&2
    return 1
  }
  CUPS_PDF_OUT=$r/out
  export CUPS_PDF_OUT
}
