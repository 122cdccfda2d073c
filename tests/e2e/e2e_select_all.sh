#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Select All on the first group, then one drag onto the page view's Photo Box tool: the group's
# photos, and only they, go to the Photo Box. Save, and the album file holds exactly that and
# opens again in the program.
exe=$1
sampler=$2
E2E_NAME=select-all
source "$(dirname "$0")/xsession.sh"

make_sample "$sampler"
albumjson "$album" >"$E2E_TMP/before.json"

start_program "$exe"
open_first_group
changes tool 15                                                    # Select All
shot 01-all-selected
# Drag the first photo onto the Photo Box tool, as a hand does it; the pauses belong to the
# gesture (Qt tells a drag from a click by movement over time), they wait for nothing.
shown=$(screen_sum)
xdotool mousemove --window "$page" "$(fx 1)" "$(fy 1)" mousedown 1
sleep 0.2
xdotool mousemove_relative 6 6; sleep 0.1
xdotool mousemove_relative 10 10; sleep 0.1
xdotool mousemove --window "$page" $(((W - 790) / 2 + 4 * 36 + 17)) $((H - 49)); sleep 0.3
xdotool mousemove_relative 1 1; sleep 0.3
xdotool mouseup 1
changed_from "the photos to leave the page" "$shown"
shot 02-group-in-the-box

save_through_chooser 03-saved
kill "$E2E_APP"; E2E_APP=
albumjson "$album" >"$E2E_TMP/after.json" || fail "the saved album cannot be read"
python3 - "$E2E_TMP/before.json" "$E2E_TMP/after.json" <<'PY' || fail "the saved album is not what was done"
import json, sys
before, after = json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))
g1 = before["groups"][0]
moved = [before["frames"][f] for f in sorted(before["frames"], key=int)
         if g1["first"] <= int(f) <= g1["last"]]
expect = {f: n for f, n in before["frames"].items() if not g1["first"] <= int(f) <= g1["last"]}
ok = bool(moved)
if after["frames"] != expect:
    print("frames expected", expect, "saved", after["frames"]); ok = False
if after["box"] != before["box"] + moved:
    print("box expected", before["box"] + moved, "saved", after["box"]); ok = False
names = list(after["frames"].values()) + after["box"]
if len(names) != len(set(names)):
    print("a picture is named twice:", names); ok = False
counts = [g["count"] for g in after["groups"]]
if counts != [0] + [g["count"] for g in before["groups"][1:]]:
    print("group counts", counts); ok = False
sys.exit(0 if ok else 1)
PY

# The program opens the saved album again: its page view, and no error box.
start_program "$exe"
shot 04-reopened
if xdotool search --onlyvisible --name "ERROR" >/dev/null 2>&1; then fail "the saved album does not open"; fi
echo "e2e select all: passed (screenshots in $E2E_ART)"
