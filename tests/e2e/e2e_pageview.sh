#!/usr/bin/env bash
# The sample album in the page view: its index, a group, the page turn by the arrow, the three
# sizes, rotating a photo and saving a copy of it through the dialog, then Exit without saving.
exe=$1
sampler=$2
E2E_NAME=pageview
source "$(dirname "$0")/xsession.sh"

make_sample "$sampler"

start_program "$exe"
shot 01-index

# The first group: Enter on its line of the index.
open_first_group
shot 02-small

# Turn by the arrow and catch the leaf half way.
click_in "$page" $((bx + 747)) $((by + 491))
sleep 0.15; shot 03-turning
sleep 0.6; shot 04-turned
xdotool key Home                      # GoTo First Page
sleep 0.8

tool 7; sleep 1; shot 05-medium
tool 6; sleep 1; shot 06-large
tool 8; sleep 1

# Select the first photo with the right button, turn it, and save a copy of it.
xdotool mousemove --window "$page" $((bx + 69)) $((by + 56)) click 3
sleep 0.5; shot 07-selected
tool 5; sleep 0.8; shot 08-rotated
tool 16
window "Save Picture" >/dev/null || fail "no Save Picture dialog"
sleep 0.5; shot 09-save-picture
xdotool type --delay 20 "$HOME/copy.gif"
xdotool key Return
for _ in $(seq 50); do [ -s "$HOME/copy.gif" ] && break; sleep 0.2; done
[ -s "$HOME/copy.gif" ] || fail "no copy saved"
head -c 6 "$HOME/copy.gif" | grep -q GIF8 || fail "the copy is not a GIF"

# Exit, declining to save the turned photo: the album file stays as it was.
before=$(md5sum <"$album")
tool 3
window "^Exit$" >/dev/null || fail "no save question"
xdotool key alt+n
for _ in $(seq 100); do kill -0 "$E2E_APP" 2>/dev/null || break; sleep 0.1; done
kill -0 "$E2E_APP" 2>/dev/null && fail "still running after Exit"
E2E_APP=
[ "$(md5sum <"$album")" = "$before" ] || fail "the album changed without saving"
echo "e2e page view: passed (screenshots in $E2E_ART)"
