#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The group editor and the description editor on the sample album through the real windows:
# the last group's boundary dragged back so groups fit, a group added and renamed, one
# inserted and renamed, a merge, a delete that sends its photos to the Photo Box; then the
# descriptions of the album and of one selected photo. Saved through the chooser, and the
# album file must hold exactly that.
exe=$1
sampler=$2
E2E_NAME=editors
source "$(dirname "$0")/xsession.sh"

make_sample "$sampler"
albumjson "$album" >"$E2E_TMP/before.json"

start_program "$exe"

open_first_group

# The strip inside "Photo Groups": it starts 14 pixels in; a group ending at frame F has its
# markers' centre at F + 42 (two pixels a frame, 35 to frame 0, markers 14 wide), the top
# markers at y 46 and the boundary bar's handle at y 94.
tool 0
groups=$(window "^Photo Groups$") || fail "no group editor"
settle
shot 01-groups
eval "$(xdotool getwindowgeometry --shell "$groups" | sed -n 's/^WIDTH=/GW=/p; s/^HEIGHT=/GH=/p')"
marker() { acts click_in "$groups" $(($1 + 42)) 46; }
# Merge Right and Return are clicked: the buttons' row sits 29 pixels above the bottom, Merge
# Right fifth from the left, Return at the right.
merge_right() { click_in "$groups" 550 $((GH - 29)); }
return_button() { click_in "$groups" $((GW - 70)) $((GH - 29)); }
type_into() { xdotool key --window "$groups" "$1" ctrl+a; xdotool type --delay 15 "$2"; }

# Old Town runs to frame 1000: nothing fits after it until its end is dragged back to 300.
marker 1000
# The pauses in the drag belong to the gesture, they wait for nothing.
xdotool mousemove --window "$groups" 1042 94 mousedown 1
sleep 0.2
for x in 1000 800 600 400 342; do xdotool mousemove --window "$groups" $x 94; sleep 0.1; done
xdotool mouseup 1
settle
shot 02-boundary

changes xdotool key --window "$groups" alt+a         # a new group after Old Town
type_into alt+n "Harbour Walks"
type_into alt+c "Evening light"
xdotool key Tab
settle
shot 03-added

marker 48                                            # Seaside Days, and a group in front
changes xdotool key --window "$groups" alt+i
type_into alt+n "Prelude"
xdotool key Tab
settle
shot 04-inserted

marker 120                                           # Mountain Walks into Old Town
merge_right
window "^Merge Right Group$" >/dev/null || fail "no merge question"
settle; shot 05-merge-question
xdotool key alt+y
gone "^Merge Right Group$" || fail "the merge question stays"

marker 72                                            # Seaside Days to the Photo Box
xdotool key --window "$groups" alt+d
window "^Delete Group$" >/dev/null || fail "no delete question"
xdotool key alt+y
gone "^Delete Group$" || fail "the delete question stays"
settle
shot 06-deleted
return_button
gone "^Photo Groups$" || fail "the group editor stays"
settle
shot 07-page-view

# The first photo of the page view's group (now Old Town, which starts with Mountain Walks'
# photos), selected with the right button; then its descriptions and the album's.
changes xdotool mousemove --window "$page" $((bx + 69)) $((by + 56)) click 3
tool 12
descs=$(window "^Change Descriptions$") || fail "no description editor"
settle
shot 08-descriptions
xdotool key --window "$descs" ctrl+a; xdotool type --delay 15 "  Our Holidays  "
xdotool key Tab ctrl+a; xdotool type --delay 15 "Harbour light"
xdotool key Tab ctrl+a; xdotool type --delay 15 "Boats at the quay"
settle
shot 09-typed
xdotool key --window "$descs" alt+a
gone "^Change Descriptions$" || fail "the description editor stays"
settle
shot 10-described

# Save through the chooser.
save_through_chooser 11-saved
kill "$E2E_APP"; E2E_APP=

albumjson "$album" >"$E2E_TMP/after.json"
cp "$E2E_TMP/before.json" "$E2E_TMP/after.json" "$E2E_ART/"
python3 - "$E2E_TMP/before.json" "$E2E_TMP/after.json" <<'PY' || fail "the saved album is not what was edited"
import json, sys
before, after = json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))
g = after["groups"]
def check(ok, what):
    if not ok:
        print("mismatch:", what)
        print(json.dumps(g, indent=1))
        sys.exit(1)

check([x["name"] for x in g] == ["Prelude", "Old Town", "Harbour Walks"], "group names")
check(g[0]["first"] == 1 and g[0]["last"] == 24 and g[0]["count"] == 0, "Prelude: new and empty")
check(g[1]["first"] == 25 and g[1]["desc"] == before["groups"][2]["desc"], "Old Town kept its text")
check(g[2]["first"] == g[1]["last"] + 1 and g[2]["last"] == g[2]["first"] + 23, "Harbour Walks")
check(g[2]["desc"] == "Evening light" and g[2]["count"] == 0, "Harbour Walks' description")
check(abs(g[1]["last"] + 24 - 300) <= 4, "the dragged boundary: %d" % (g[1]["last"] + 24))
# Seaside Days' photos went to the Photo Box in frame order; everything after it moved down
# by the 24 frames it had over the inserted group.
old = before["frames"]
seaside = [old[str(f)] for f in range(1, 49) if str(f) in old]
check(after["box"] == before["box"] + seaside, "the Photo Box")
moved = {str(int(f) - 24): p for f, p in old.items() if int(f) > 48}
check(after["frames"] == moved, "the frames")
check(g[1]["count"] == len(moved), "Old Town's count")
check(after["albdesc"] == "Our Holidays", "the album description")
first = after["frames"]["25"]
check(after["descs"][first] == ["Harbour light", "Boats at the quay"], "the photo's descriptions")
PY
grep -q "runtime error\|ERROR: AddressSanitizer" "$E2E_TMP/out.log" && fail "sanitizer report"
echo "e2e editors: passed (screenshots in $E2E_ART)"
