#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The slide show from the page view with real clicks: three photos of the first group selected
# with the right button, the Slide Show tool, a few timed slides, stop, the three sizes, the
# description toggle, Exit; then a double click on a photo for the single-picture view, left
# with Escape.
exe=$1
sampler=$2
E2E_NAME=slideshow
source "$(dirname "$0")/xsession.sh"

make_sample "$sampler"

start_program "$exe"
# The screen and the control bar: centred at the bottom edge, 55 pixels high.
eval "$(xdotool getdisplaygeometry --shell)"
barx() { echo $((WIDTH / 2 - $1 / 2)); }           # left edge for a bar of width $1
# After a click the pointer rests on the black, so no tooltip or highlight gets into the shots.
bar_click() {
  xdotool mousemove "$(( $(barx "$1") + $2 + 12 ))" $((HEIGHT - 55 + 29)) click 1
  xdotool mousemove 5 5
}
# Buttons by their left edge in the bar.
first=8 prev=34 play=60 next=86 last=112 size=198 hidedesc=226 exit=250
same() { cmp -s "$E2E_ART/$1.png" "$E2E_ART/$2.png"; }

open_first_group
rightclick "$(fx 1)" "$(fy 1)"; rightclick "$(fx 2)" "$(fy 2)"; rightclick "$(fx 3)" "$(fy 3)"
shot 01-selected

tool 19
slide=$(window "^Slide Show$") || fail "no slide show"
settle
eval "$(xdotool getwindowgeometry --shell "$slide" | sed -n 's/^WIDTH=/SW=/p; s/^HEIGHT=/SH=/p')"
[ "$SW" = "$WIDTH" ] && [ "$SH" = "$HEIGHT" ] || fail "the slide show does not cover the screen (${SW}x$SH)"
shot 02-slide-1

# Next by the button and back by the key: the picture changes and comes back.
changes bar_click 800 $next; shot 03-slide-2
same 02-slide-1 03-slide-2 && fail "Next showed the same picture"
changes xdotool key Left; shot 04-slide-1-again
same 02-slide-1 04-slide-1-again || fail "Left did not go back to slide 1"

# Play at one second a slide: the picture changes by itself, within a few seconds.
acts bar_click 800 $play
shot 05-playing-a
# The screen changing with no input is the proof. Comparing the two shots is not: under load
# the show can move on between a shot and the next look, and with two slides come back.
changed_from "the show to advance while playing" "$(screen_sum)"
shot 06-playing-b
acts bar_click 800 $play                        # stop
shot 07-stopped-a
# That nothing happens has no event: the show has more than a slide's time to advance.
sleep 1.6; shot 08-stopped-b
same 07-stopped-a 08-stopped-b || fail "the show still advances after Stop"

changes bar_click 800 $size; shot 09-large
changes bar_click 800 $size; shot 10-small
same 09-large 10-small && fail "the size button changed nothing"
changes bar_click 800 $size

# Hiding the descriptions shrinks the bar to end before them; Exit sits in the narrow bar.
changes bar_click 800 $hidedesc; shot 11-no-descriptions
bar_click 291 $exit
gone "^Slide Show$" || fail "Exit did not close the slide show"
shot 12-back-on-the-page

# A double click on a photo: that one picture, with only the size and exit buttons.
xdotool mousemove --window "$page" "$(fx 2)" "$(fy 2)" click --repeat 2 --delay 60 1
window "^Slide Show$" >/dev/null || fail "no single-picture view"
settle; shot 13-single-picture
changes bar_click 66 $first; shot 14-single-large          # cb_size moved to cb_first's place
same 13-single-picture 14-single-large && fail "the size button changed nothing"
xdotool key Escape
gone "^Slide Show$" || fail "Escape did not close the single-picture view"
kill -0 "$E2E_APP" 2>/dev/null || fail "the program ended"
echo "e2e slide show: passed (screenshots in $E2E_ART)"
