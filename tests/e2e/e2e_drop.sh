#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures dragged in from outside with a real drag: a small program of the test's own offers
# two picture files, a text file and a folder as a file manager does (text/uri-list), and the
# mouse drags them onto the Photo Box. The four pictures must arrive at the end of the box, in
# the album file and its picture folder, and every source must stay where it was.
exe=$1
sampler=$2
source_program=$3
E2E_NAME=drop
E2E_SCREEN=1280x1100 # room for the Photo Box under the page view
source "$(dirname "$0")/xsession.sh"

make_sample "$sampler"
albumjson "$album" >"$E2E_TMP/before.json"
picdir="$HOME/Samples/SAMPLE"
ls "$picdir" >"$E2E_TMP/before.ls"

files="$E2E_TMP/from the camera"
mkdir -p "$files/more"
convert -size 640x480 xc:'#c04020' "$files/IMG_0001.JPG"
convert -size 480x640 xc:'#2040c0' "$files/img_0002.jpeg"
convert -size 320x240 xc:'#20c040' "$files/more/a.jpg"
convert -size 320x240 xc:'#c0c020' "$files/more/b.bmp"
echo "not a picture" >"$files/notes.txt"
( cd "$files" && find . -type f -exec md5sum {} + | sort ) >"$E2E_TMP/sources.md5"

start_program "$exe"
open_first_group
tool 4
box=$(window "^Photo Box$") || fail "no Photo Box"
settle

"$source_program" "$files/IMG_0001.JPG" "$files/img_0002.jpeg" "$files/notes.txt" \
  "$files/more" >"$E2E_TMP/source.log" 2>&1 &
E2E_SOURCE=$!
src=$(window "^Uri Source$") || fail "no drag source"
xdotool windowmove --sync "$src" 1000 900
settle
shot 01-before

# A hand's drag: press, small moves, over the box, a pause, release.
shown=$(screen_sum)
xdotool mousemove --window "$src" 100 60 mousedown 1
sleep 0.2
xdotool mousemove_relative -- -8 -8; sleep 0.1
xdotool mousemove_relative -- -20 -20; sleep 0.1
xdotool mousemove --window "$box" 300 83; sleep 0.3
xdotool mousemove_relative 2 2; sleep 0.3
xdotool mouseup 1
changed_from "the drop to show" "$shown"

saved() { [ "$(albumjson "$album" | python3 -c 'import json,sys; print(len(json.load(sys.stdin)["box"]))')" -ge "$1" ]; }
before=$(python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["box"]))' "$E2E_TMP/before.json")
wait_for "the album to list the dropped pictures" 20 saved $((before + 4))
settle
shot 02-dropped

python3 - "$E2E_TMP/before.json" <(albumjson "$album") <<'EOS' || fail "the album is not as expected"
import json, re, sys
before, after = json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))
assert after["frames"] == before["frames"], "frames changed"
assert after["box"][:len(before["box"])] == before["box"], "the box's pictures changed"
new = after["box"][len(before["box"]):]
assert len(new) == 4, new
assert all(re.fullmatch(r"vmb\d{4}\.(jpg|bmp)", n) for n in new), new
assert sum(n.endswith(".bmp") for n in new) == 1, new
EOS
for n in $(albumjson "$album" | python3 -c 'import json,sys; print(" ".join(json.load(sys.stdin)["box"][-4:]))'); do
  [ -f "$picdir/$n" ] || fail "no file $n in the picture folder"
done
( cd "$files" && find . -type f -exec md5sum {} + | sort ) | cmp -s - "$E2E_TMP/sources.md5" ||
  fail "a source changed or went away"
kill -0 "$E2E_APP" 2>/dev/null || fail "the program ended"
echo "e2e drop: passed (screenshots in $E2E_ART)"
