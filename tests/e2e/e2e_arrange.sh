#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Arranging the sample album with real mouse drags: a photo to an empty frame, a swap, a run
# of three, a drag across a spread by hovering over the arrow, a photo put into the Photo Box
# and one taken out of it, a delete from the box; then Save, and the album file must hold
# exactly what the screen showed.
exe=$1
sampler=$2
E2E_NAME=arrange
E2E_SCREEN=1280x1100 # room for the Photo Box under the page view
source "$(dirname "$0")/xsession.sh"

make_sample "$sampler"
albumjson "$album" >"$E2E_TMP/before.json"

start_program "$exe"
# A drag as a hand makes it: press, a few small moves, the target, a pause, release; then the
# drop shows. The pauses belong to the gesture (Qt tells a drag from a click by movement over
# time), they wait for nothing.
drag() { # window x y window x y
  local shown
  shown=$(screen_sum)
  xdotool mousemove --window "$1" "$2" "$3" mousedown 1
  sleep 0.2
  xdotool mousemove_relative 6 6; sleep 0.1
  xdotool mousemove_relative 10 10; sleep 0.1
  xdotool mousemove --window "$4" "$5" "$6"; sleep 0.3
  xdotool mousemove_relative 1 1; sleep 0.3
  xdotool mouseup 1
  changed_from "the drop to show" "$shown"
}

open_first_group

drag "$page" "$(fx 1)" "$(fy 1)" "$page" "$(fx 5)" "$(fy 5)"      # to an empty frame
drag "$page" "$(fx 2)" "$(fy 2)" "$page" "$(fx 3)" "$(fy 3)"      # a swap
rightclick "$(fx 7)" "$(fy 7)"; rightclick "$(fx 8)" "$(fy 8)"; rightclick "$(fx 9)" "$(fy 9)"
shot 01-three-selected
drag "$page" "$(fx 7)" "$(fy 7)" "$page" "$(fx 19)" "$(fy 19)"    # a run of three
shot 02-arranged

tool 4                                                             # the Photo Box
box=$(window "^Photo Box$") || fail "no Photo Box"
settle
drag "$page" "$(fx 6)" "$(fy 6)" "$box" 552 83                    # into the box, appended
shot 03-into-the-box

# Across the spread: hover over the right arrow until the leaf has turned, then drop.
xdotool mousemove --window "$page" "$(fx 4)" "$(fy 4)" mousedown 1
sleep 0.2
xdotool mousemove_relative 8 8; sleep 0.1
xdotool mousemove --window "$page" $((bx + 740)) $((by + 486)); sleep 0.2
shown=$(screen_sum)
xdotool mousemove_relative 3 3
changed_from "the leaf to turn under the drag" "$shown"
shown=$(screen_sum)
xdotool mousemove --window "$page" "$(fx 25)" "$(fy 25)"; sleep 0.3
xdotool mousemove_relative 1 1; sleep 0.3
xdotool mouseup 1
changed_from "the drop to show" "$shown"
shot 04-across-the-spread

drag "$box" 60 83 "$page" "$(fx 26)" "$(fy 26)"                  # out of the box
shot 05-out-of-the-box

changes xdotool mousemove --window "$box" 60 83 click 3           # select the first, delete
click_in "$box" 536 16
window "^Delete Photo/s$" >/dev/null || fail "no delete question"
xdotool key alt+y
gone "^Delete Photo/s$" || fail "the delete question stays"
settle
shot 06-deleted

# Save through the chooser, then Exit.
save_through_chooser 07-saved
kill "$E2E_APP"; E2E_APP=

albumjson "$album" >"$E2E_TMP/after.json"
PYTHONPATH="$(dirname "$0")" python3 - "$E2E_TMP/before.json" "$E2E_TMP/after.json" "$HOME/Samples/SAMPLE/" <<'PY' || fail "the saved album differs from the screen"
import json, os, sys
from albumfile import differences
before, after = json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))
m, box = dict(before["frames"]), list(before["box"])
m["5"] = m.pop("1")
m["2"], m["3"] = m["3"], m["2"]
m["19"], m["20"], m["21"] = m.pop("7"), m.pop("8"), m.pop("9")
box.append(m.pop("6"))
m["25"] = m.pop("4")
m["26"] = box.pop(0)
gone = box.pop(0)
wrong = differences(m, box, after)
if wrong:
    print("\n".join(wrong))
ok = not wrong
if os.path.exists(sys.argv[3] + gone):
    print("deleted picture still on disk:", gone); ok = False
g = after["groups"][0]
count = sum(1 for f in after["frames"] if g["first"] <= int(f) <= g["last"])
if g["count"] != count:
    print("group count", g["count"], "frames holding pictures", count); ok = False
sys.exit(0 if ok else 1)
PY
echo "e2e arrange: passed (screenshots in $E2E_ART)"
