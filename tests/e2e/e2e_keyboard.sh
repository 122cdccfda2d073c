#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A whole task with the keyboard alone once the program is up: into the index and the first
# group, three photos selected with Space, the slide show started from its tool and left with
# Escape, one photo put in the Photo Box with B, the album saved through Command and Alt+S; the
# saved file is then checked against what was done.
exe=$1
sampler=$2
E2E_NAME=keyboard
source "$(dirname "$0")/xsession.sh"

make_sample "$sampler"
albumjson "$album" >"$E2E_TMP/before.json"

start_program "$exe"
key() { xdotool key --delay 40 "$@"; }
tabs() { key $(printf 'Tab %.0s' $(seq "$1")); }

# The index: Down goes into its list when the window itself has the focus; Home is the
# heading, then a blank line, then the first group's name.
key Down
changes key Home Down Down Return
shot 01-first-group

# Into the book, then Space on frames 1, 2 and 3.
key Down
changes key space
changes key Right space
changes key Right space
shot 02-three-selected

# From frame 3 to the Slide Show tool: frames 4 to 24, then the tools shown with three photos
# selected up to it (all but Rotate and Save Image As, which need one).
tabs 39
settle; shot 03-slide-show-tool
key space
window "^Slide Show$" >/dev/null || fail "no slide show"
settle; shot 04-slide-show
key Escape
gone "^Slide Show$" || fail "Escape did not end the slide show"
settle

# Up from the tools goes back to frame 1, Down to frame 4 under it (three frames a row); it is
# not selected, so B takes it alone.
key Up
changes key Down
changes key b
shot 05-frame-4-in-the-box

# Command is the third tool: from frame 4, the other 20 frames and three tools on.
tabs 23
settle; shot 06-command-tool
key space
chooser=$(find_chooser) || fail "no chooser"
settle
saved=$(stat -c '%i %y %s' "$album" 2>/dev/null || true)
key alt+s
wait_for "the album file to be written" 20 album_written "$saved"
settle; shot 07-saved
kill "$E2E_APP"; E2E_APP=

albumjson "$album" >"$E2E_TMP/after.json"
PYTHONPATH="$(dirname "$0")" python3 - "$E2E_TMP/before.json" "$E2E_TMP/after.json" <<'PY' || fail "the saved album is not what was done"
import json, sys
from albumfile import differences
before, after = json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))
m, box = dict(before["frames"]), list(before["box"])
box.append(m.pop("4"))
wrong = differences(m, box, after)
if wrong:
    print("\n".join(wrong))
sys.exit(1 if wrong else 0)
PY
echo "e2e keyboard: passed (screenshots in $E2E_ART)"
