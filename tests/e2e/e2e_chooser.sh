#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start, see the splash and the chooser, create an album through the dialog, rename it,
# save, exit; then check the album file, its folder and the configuration file on disk.
exe=$1
E2E_NAME=chooser
source "$(dirname "$0")/xsession.sh"

# The chooser's buttons: a column at its right edge, four at the top and two at the bottom.
chooser_button() {
  local id=$1 name=$2 W H
  eval "$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=/W=/p; s/^HEIGHT=/H=/p')"
  local x=$((W - 14 - 65))
  case $name in
    open) click_in "$id" $x 33 ;;  new) click_in "$id" $x 79 ;;
    save) click_in "$id" $x 125 ;; rename) click_in "$id" $x 171 ;;
    return) click_in "$id" $x $((H - 14 - 19 - 46)) ;; exit) click_in "$id" $x $((H - 14 - 19)) ;;
  esac
}

# The page view: the wider of the two windows titled "Vimbrel v 01.00".
find_page() {
  local id W
  for id in $(xdotool search --onlyvisible --name "^Vimbrel v 01.00$" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=/W=/p')"
    [ "$W" -ge 750 ] && { echo "$id"; return 0; }
  done
  return 1
}

"$exe" >"$E2E_TMP/out.log" 2>&1 & E2E_APP=$!
window "About Vimbrel" 15 >/dev/null || fail "no splash"
settle; shot 01-splash
gone "About Vimbrel" || fail "the splash stays"
chooser=$(find_chooser) || fail "no chooser"
settle; shot 02-chooser

# "Other ..." is selected: Open asks for a file.
chooser_button "$chooser" open
window "Open an Album" >/dev/null || fail "no Open dialog"
settle; shot 03-open-album
xdotool key Escape
gone "Open an Album" || fail "the Open dialog stays"

chooser_button "$chooser" new
window "Create a New Album" >/dev/null || fail "no New dialog"
xdotool type --delay 40 "Trip 26!x"       # the blank and "!" are refused, 8 characters at most
xdotool key Tab
xdotool type --delay 20 "Summer by the sea"
settle; shot 04-new-album
xdotool key Return
gone "Create a New Album" || fail "the New dialog stays"
[ -f "$HOME/Trip26x.vmb" ] || fail "no album file: $(ls "$HOME")"
[ -d "$HOME/Trip26x" ] || fail "no picture folder"
settle; shot 05-page-view

# Back to the chooser with the page view's Command tool, the third of the strip.
page=$(find_page) || fail "no page view"
eval "$(xdotool getwindowgeometry --shell "$page" | sed -n 's/^WIDTH=/PW=/p; s/^HEIGHT=/PH=/p')"
click_in "$page" $(((PW - 790) / 2 + 2 * 36 + 17)) $((PH - 49))
chooser=$(find_chooser) || fail "no chooser after Command"
settle
shot 06-chooser-with-album

chooser_button "$chooser" rename
window "Rename Album 'Trip26x'" >/dev/null || fail "no Rename dialog"
settle; shot 07-rename
xdotool type --delay 40 "Tour"
xdotool key Return
gone "Rename Album" || fail "the Rename dialog stays"
[ -f "$HOME/Tour.vmb" ] && [ -d "$HOME/Tour" ] || fail "not renamed: $(ls "$HOME")"
[ ! -e "$HOME/Trip26x.vmb" ] && [ ! -e "$HOME/Trip26x" ] || fail "old name left: $(ls "$HOME")"

album=$HOME/Tour.vmb
saved=$(stat -c '%i %y %s' "$album")
chooser_button "$chooser" save
wait_for "Save to write the album file" 20 album_written "$saved"
chooser_button "$chooser" exit
wait_for "the program to end after Exit" 10 ended "$E2E_APP"
E2E_APP=

# The album file names the album and its new folder; the list remembers only the new name.
head -c 18 "$HOME/Tour.vmb" | grep -q "^VMBv 01.00Tour    " || fail "album header: $(head -c 18 "$HOME/Tour.vmb" | od -c)"
grep -aq "$HOME/Tour/" "$HOME/Tour.vmb" || fail "album file lacks its folder"
cfg=$XDG_CONFIG_HOME/vimbrel/vimbra.cfg
[ "$(od -An -tx1 -N2 "$cfg" | tr -d ' ')" = 0100 ] || fail "config should hold one album"
grep -aq "Tour.vmb" "$cfg" && ! grep -aq "Trip26x" "$cfg" || fail "config: $(od -c "$cfg")"
echo "e2e chooser: passed (screenshots in $E2E_ART)"
