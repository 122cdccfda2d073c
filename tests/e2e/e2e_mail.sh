#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# E-mail copies from the page view with real clicks: three photos of the first group selected
# with the right button (one stored sideways and shown turned), the Email tool, "Start Email
# App" in the small and then the medium size. A stand-in mail program registered for mailto:
# records the address xdg-email hands it, the copies attached; the e-mail folder, whose path
# holds a blank and a non-ASCII letter, must hold the copies of the last send only, at their
# sizes. Last, with no mail program set up, a message box says so.
exe=$1
sampler=$2
E2E_NAME=mail
source "$(dirname "$0")/xsession.sh"

# The e-mail folder lives in the cache folder.
export XDG_CACHE_HOME="$HOME/.cache/my cachè"
export XDG_DATA_HOME=$HOME/.local/share
maildir="$XDG_CACHE_HOME/vimbrel/VIMBRA_EMAIL_PICS"
# A plain X session, so that the desktop hands mailto: to xdg-open and xdg-open to the stand-in.
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID \
  MATE_DESKTOP_SESSION_ID BROWSER DBUS_SESSION_BUS_ADDRESS || true

received=$E2E_TMP/mailto.txt
mkdir -p "$E2E_TMP/bin" "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME"
cat >"$E2E_TMP/bin/standin-mail" <<EOS
#!/bin/sh
printf '%s\n' "\$1" >>"$received"
EOS
chmod +x "$E2E_TMP/bin/standin-mail"
cat >"$XDG_DATA_HOME/applications/standin-mail.desktop" <<EOS
[Desktop Entry]
Type=Application
Name=Stand-in Mail
Exec=$E2E_TMP/bin/standin-mail %u
MimeType=x-scheme-handler/mailto;
NoDisplay=true
EOS
xdg-mime default standin-mail.desktop x-scheme-handler/mailto
[ "$(xdg-mime query default x-scheme-handler/mailto)" = standin-mail.desktop ] ||
  fail "the stand-in is not the mail program"

make_sample "$sampler"

start_program "$exe"

[ -d "$maildir" ] || fail "no e-mail folder at start-up"
echo earlier >"$maildir/vmb0100.jpg"
mkdir -p "$maildir/keep" && echo stays >"$maildir/keep/inside.txt"

open_first_group
# Frame 1 is 1600 x 1200, frame 4 1200 x 1600, frame 11 stored 1600 x 1200 and shown turned.
rightclick "$(fx 1)" "$(fy 1)"; rightclick "$(fx 4)" "$(fy 4)"; rightclick "$(fx 11)" "$(fy 11)"
shot 01-selected

tool 20
mail=$(window "^EMail$") || fail "no e-mail window"
settle
shot 02-email-window
eval "$(xdotool getwindowgeometry --shell "$mail" | sed -n 's/^WIDTH=/MW=/p; s/^HEIGHT=/MH=/p')"
# "&Start Email App" is the left one of the two buttons along the bottom edge.
send() { click_in "$mail" 60 $((MH - 32)); xdotool mousemove 5 5; }

sizes() {
  (cd "$maildir" && for f in *; do
    if [ -f "$f" ]; then identify -format '%f %wx%h\n' "$f"; else echo "$f/"; fi
  done)
}
mails() { [ -f "$received" ] && [ "$(wc -l <"$received")" -ge "$1" ]; }
wait_mails() { wait_for "$1 mail(s) handed to the mail program" 10 mails "$1"; }

send
wait_mails 1
settle
shot 03-after-small
got=$(sizes)
want=$'keep/\nvmb0001.jpg 400x300\nvmb0004.jpg 300x400\nvmb0009.jpg 300x400'
[ "$got" = "$want" ] || fail "small copies: $got"
[ -f "$maildir/keep/inside.txt" ] || fail "the send removed a subfolder's file"
xdotool search --onlyvisible --name "^EMail$" >/dev/null || fail "the e-mail window closed"

# xdg-email hands the stand-in one address: subject Photos, a body that no longer asks to
# attach by hand, and the three copies attached.
python3 - "$(head -1 "$received")" "$maildir" <<'EOS' || fail "wrong address: $(head -1 "$received")"
import sys
from urllib.parse import urlsplit, parse_qsl
url, folder = sys.argv[1], sys.argv[2]
assert url.startswith("mailto:?"), url
assert " " not in url and all(ord(c) < 128 for c in url), url
parts = urlsplit(url)
assert parts.scheme == "mailto" and parts.path == "", url
q = parse_qsl(parts.query, keep_blank_values=True)
assert [v for k, v in q if k == "subject"] == ["Photos"], q
body = [v for k, v in q if k == "body"]
assert len(body) == 1 and body[0].strip() == "**** Replace this Message with Your Email Text ****", q
attached = [v for k, v in q if k == "attach"]
assert attached == [folder + "/" + n for n in ("vmb0001.jpg", "vmb0004.jpg", "vmb0009.jpg")], q
EOS

# Medium, the second of the sizes, and a second send: only its copies remain.
changes click_in "$mail" 100 84
shot 04-medium
send
wait_mails 2
got=$(sizes)
want=$'keep/\nvmb0001.jpg 600x450\nvmb0004.jpg 450x600\nvmb0009.jpg 450x600'
[ "$got" = "$want" ] || fail "medium copies: $got"
[ "$(sed -n 2p "$received")" = "$(head -1 "$received")" ] || fail "the second address differs"

# No program for mailto: any more: the window says so instead of failing silently.
rm "$XDG_DATA_HOME/applications/standin-mail.desktop"
sed -i '/standin-mail/d' "$XDG_CONFIG_HOME/mimeapps.list" 2>/dev/null || true
[ -z "$(xdg-mime query default x-scheme-handler/mailto)" ] || fail "the stand-in is still set up"
send
# The box has the window's title: it is the other window of that name.
message_box() { xdotool search --onlyvisible --name "^EMail$" | grep -vx "$mail" | head -1 | grep .; }
wait_for "a message box without a mail program" 10 message_box >/dev/null
settle
shot 05-no-mail-program
# The box is modal and has the focus.
xdotool key Return
gone_box() { ! message_box >/dev/null; }
wait_for "the message box to close" 10 gone_box
[ "$(wc -l <"$received")" = 2 ] || fail "a mail program was started after all"

xdotool key --window "$mail" alt+r
gone "^EMail$" || fail "Return did not close the e-mail window"
shot 06-back-on-the-page
kill -0 "$E2E_APP" 2>/dev/null || fail "the program ended"
echo "e2e mail: passed (screenshots in $E2E_ART)"
