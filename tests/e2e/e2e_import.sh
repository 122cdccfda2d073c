#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Importing from a "memory card" folder through the real window: JPEG, GIF and BMP files with
# upper- and lower-case extensions and one unreadable file. The folder is remembered as the
# memory card, everything is selected with Ctrl+A, the sources are deleted after import; then
# the picture folder, the album file's Photo Box, the card folder and the configuration file
# are checked on disk.
exe=$1
sampler=$2
E2E_NAME=import
source "$(dirname "$0")/xsession.sh"

make_sample "$sampler"
pics="$HOME/Samples/SAMPLE"

# The Photo Box's file names, in order, from the album file on disk.
box_names() {
  python3 "$(dirname "$0")/albumfile.py" "$album" |
    python3 -c 'import json, sys; print("\n".join(json.load(sys.stdin)["box"]))'
}

card="$HOME/card"
mkdir -p "$card"
jpgs=("$pics"/*.jpg)
cp "${jpgs[0]}" "$card/IMG_0001.JPG"
cp "${jpgs[1]}" "$card/img_0002.jpg"
cp "${jpgs[2]}" "$card/IMG_0003.jpeg"
cp "$pics"/*.bmp "$card/PIC_0004.BMP"
cp "$pics"/*.gif "$card/pic_0005.gif"
cp "$pics"/*.gif "$card/PIC_0006.GIF"
head -c 5000 /dev/urandom >"$card/BROKEN.JPG"
echo "not listed" >"$card/notes.txt"
before_box=$(box_names)
before_files=$(ls "$pics")

start_program "$exe"

# Open the first group, then the Import Images tool.
open_first_group
tool 1
imp=$(window "^Import Image$") || fail "no import window"
settle; shot 01-import-home

# No card is remembered: the window opens on the home folder. Into the card folder by the
# keyboard: the place list has the focus, Tab leads to the folder list.
xdotool key Tab
xdotool type --delay 30 card
changes xdotool key Return
xdotool key alt+m
window "^Memory Card Path$" >/dev/null || fail "no Memory Card Path question"
shot 02-memory-card-question
xdotool key alt+y
gone "^Memory Card Path$" || fail "the question stays"

# The file list: everything, then tick "Delete Source After Import?" and import.
changes xdotool key Tab
changes xdotool key ctrl+a
shot 03-selected
xdotool key Tab space
xdotool key alt+i
window "^Import Image - Load Error$" >/dev/null || fail "no load error for the broken file"
shot 04-load-error
xdotool key Return
gone "^Import Image$" || fail "the import window stays open"
settle; shot 05-after-import

# Six new pictures, lower-case extensions, at the end of the Photo Box, in list order.
new_files=$(comm -13 <(echo "$before_files") <(ls "$pics"))
[ "$(echo "$new_files" | wc -l)" = 6 ] || fail "expected 6 new files, got: $new_files"
echo "$new_files" | grep -qvE '^vmb[0-9]{4}\.(jpg|gif|bmp)$' && fail "bad names: $new_files"
after_box=$(box_names)
[ "$(echo "$after_box" | head -n "$(echo "$before_box" | wc -l)")" = "$before_box" ] ||
  fail "the Photo Box lost its pictures"
added=$(echo "$after_box" | tail -n 6)
[ "$(echo "$added" | sort)" = "$(echo "$new_files" | sort)" ] || fail "Photo Box: $added"
[ "$(echo "$added" | sed 's/.*\.//' | tr '\n' ' ')" = "jpg jpg jpg bmp gif gif " ] ||
  fail "the Photo Box is not in list order: $added"
bmp_copy="$pics/$(echo "$added" | sed -n 4p)"
cmp -s "$bmp_copy" "$(ls "$pics"/*.bmp | head -1)" || fail "the BMP copy differs from its source"

# The sources went, except the unreadable one; the card folder is remembered.
[ "$(ls "$card")" = "$(printf 'BROKEN.JPG\nnotes.txt')" ] || fail "card folder: $(ls "$card")"
grep -aqF "$card" "$XDG_CONFIG_HOME/vimbrel/vimbra.cfg" || fail "the card folder is not remembered"

tool 4                                 # the Photo Box tool shows the box
window "^Photo Box$" >/dev/null || fail "no Photo Box"
settle; shot 06-photo-box

# The window opens on the remembered card folder next time. All that is left there is the
# unreadable file: selecting it alone previews it, which fails, and "&Import" stays disabled.
tool 1
imp=$(window "^Import Image$") || fail "no import window the second time"
settle; shot 07-import-card
xdotool key Tab Tab ctrl+a
window "^Load Image Error$" >/dev/null || fail "the window did not open on the card folder"
xdotool key Return
gone "^Load Image Error$" || fail "the preview error stays"
xdotool key alt+i
sleep 0.5 # no event tells that nothing happened: the error box has this long to show
xdotool search --onlyvisible --name "^Import Image - Load Error$" >/dev/null &&
  fail "Import was not disabled by the failed preview"
shot 08-preview-failed
xdotool key Escape
gone "^Import Image$" || fail "Escape does not close the window"
echo "e2e import: passed (screenshots in $E2E_ART)"
