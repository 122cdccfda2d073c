#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
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
shown=$(screen_sum)
click_in "$page" $((bx + 747)) $((by + 491))
wait_for "the leaf to turn" 10 screen_differs "$shown" # caught half way, not settled
shot 03-turning
settle; shot 04-turned
changes xdotool key Home              # GoTo First Page

changes tool 7; shot 05-medium
changes tool 6; shot 06-large
changes tool 8

# Select the first photo with the right button, turn it, and save a copy of it.
changes xdotool mousemove --window "$page" $((bx + 69)) $((by + 56)) click 3
shot 07-selected
changes tool 5; shot 08-rotated
tool 16
window "Save Picture" >/dev/null || fail "no Save Picture dialog"
settle; shot 09-save-picture
xdotool type --delay 20 "$HOME/copy.gif"
xdotool key Return
wait_for "the copy to be saved" 10 test -s "$HOME/copy.gif"
head -c 6 "$HOME/copy.gif" | grep -q GIF8 || fail "the copy is not a GIF"

# Exit, declining to save the turned photo: the album file stays as it was.
before=$(md5sum <"$album")
tool 3
window "^Exit$" >/dev/null || fail "no save question"
xdotool key alt+n
wait_for "the program to end after Exit" 10 ended "$E2E_APP"
E2E_APP=
[ "$(md5sum <"$album")" = "$before" ] || fail "the album changed without saving"
echo "e2e page view: passed (screenshots in $E2E_ART)"
