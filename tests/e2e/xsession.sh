# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end tests: a private X server with a window manager, a private home,
# and helpers to drive the program as a person would and keep screenshots.
# -E: the error trap below also fires for a command failing inside a function.
set -eEuo pipefail

shot() { import -window root "$E2E_ART/$1.png"; }
# The first failure's screen is the one that explains it; later ones keep it.
shot_failure() { [ -e "$E2E_ART/failure.png" ] || shot failure 2>/dev/null || true; }
fail() {
  echo "FAIL: $* (${BASH_SOURCE[1]##*/}:${BASH_LINENO[0]})" >&2
  [ -z "${E2E_X:-}" ] || shot_failure
  exit 1
}
# Any command that stops the script says where and what it was, with the calls that led there.
e2e_error() {
  local rc=$1 line=$2 cmd=$3 i
  echo "FAIL: ${BASH_SOURCE[1]##*/}:$line: '$cmd' exited with $rc" >&2
  for ((i = 1; i < ${#FUNCNAME[@]} - 1; i++)); do
    echo "  in ${FUNCNAME[i]}, called from ${BASH_SOURCE[i + 1]##*/}:${BASH_LINENO[i]}" >&2
  done
  [ -z "${E2E_X:-}" ] || { shot_failure; echo "  screenshot: $E2E_ART/failure.png" >&2; }
}
trap 'e2e_error $? $LINENO "$BASH_COMMAND"' ERR

E2E_TMP=$(mktemp -d)
E2E_ART=${E2E_ARTIFACTS:-$PWD/e2e-artifacts}/${E2E_NAME:-e2e}
mkdir -p "$E2E_ART"
export HOME=$E2E_TMP/home XDG_CONFIG_HOME=$E2E_TMP/home/.config XDG_CACHE_HOME=$E2E_TMP/home/.cache
export XDG_RUNTIME_DIR=$E2E_TMP/run
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
unset windir QT_QPA_PLATFORM || true
# The runs find windows and boxes by their English titles, whatever the machine's language.
export LC_ALL=C.UTF-8
unset LANGUAGE || true
# Leak reports from the toolkit's libraries at exit are not what these tests look at.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

e2e_cleanup() {
  [ -n "${E2E_APP:-}" ] && kill "$E2E_APP" 2>/dev/null || true
  [ -n "${E2E_WM:-}" ] && kill "$E2E_WM" 2>/dev/null || true
  [ -n "${E2E_X:-}" ] && kill "$E2E_X" 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# The server picks a display nobody uses and writes its number once it accepts clients; picking
# one here would race another session starting at the same time.
# -noreset: a server that resets when its last client leaves turns clients away meanwhile.
Xvfb -displayfd 3 -noreset -screen 0 "${E2E_SCREEN:-1280x800}x24" -nolisten tcp 3>"$E2E_TMP/display" \
  >"$E2E_TMP/xvfb.log" 2>&1 & E2E_X=$!
for _ in $(seq 600); do grep -q '^[0-9]' "$E2E_TMP/display" && break; kill -0 "$E2E_X" 2>/dev/null || break; sleep 0.05; done
if ! grep -q '^[0-9]' "$E2E_TMP/display"; then
  kill "$E2E_X" 2>/dev/null || true
  E2E_X=
  fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
fi
export DISPLAY=:$(head -1 "$E2E_TMP/display")
# The window manager is up once it has claimed the screen. Under load it has been seen to find
# no display and end at once; a second start then works.
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for _ in 1 2 3; do
  openbox >"$E2E_TMP/openbox.log" 2>&1 & E2E_WM=$!
  for _ in $(seq 400); do wm_up && break; kill -0 "$E2E_WM" 2>/dev/null || break; sleep 0.05; done
  wm_up && break
done
wm_up || fail "openbox did not start: $(cat "$E2E_TMP/openbox.log")"

# Every limit below is stretched by E2E_PATIENCE: on a machine with more runnable work than
# cores (another build, a second session) everything takes longer, and a limit is there to end
# a wait for what will never come, not to measure speed. Unless set, it follows the load at the
# time each wait starts (runnable work per core, rounded up).
patience() {
  if [ -n "${E2E_PATIENCE:-}" ]; then
    echo "$E2E_PATIENCE"
  else
    awk -v n="$(nproc)" '{ p = $1 / n; print (p > 1 ? int(p + 0.999) : 1) }' /proc/loadavg
  fi
}
# When a wait of $1 seconds that starts now ends.
limit_after() { echo $((SECONDS + $1 * $(patience))); }

# Waits until a window whose title matches is shown, and prints its id. (xdotool's own --sync
# looks only every half second.)
window() {
  local end id
  end=$(limit_after "${2:-20}")
  until id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$id" ]; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
  echo "$id"
}
gone() {
  local end
  end=$(limit_after "${2:-20}")
  while xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

# Waiting on what a person would see, never on the clock alone: each wait has a limit and
# fails with what it waited for.
#   wait_for "what" SECONDS COMMAND...   until COMMAND succeeds
wait_for() {
  local what=$1 start=$SECONDS end
  end=$(limit_after "$2")
  shift 2
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || fail "waited $((SECONDS - start))s for $what"
    sleep 0.05
  done
}
# The whole screen's pixels as a checksum. Not xwd, though cheaper: it missed the e-mail
# window's size buttons changing, which import sees.
screen_sum() { import -window root rgb:- | md5sum | cut -c1-32; }
screen_differs() { [ "$(screen_sum)" != "$1" ]; }
# Waits until the screen differs from the look $2 (a screen_sum) and settles, for what $1 says.
changed_from() {
  local start=$SECONDS end now
  end=$(limit_after 15)
  until now=$(screen_sum) && [ "$now" != "$2" ]; do
    [ "$SECONDS" -lt "$end" ] || fail "waited $((SECONDS - start))s for $1"
    sleep 0.05
  done
  settle 15 "$now"
}
# The screen stays the same for two looks in a row (the first may be given as $2): painting
# and animations are done.
settle() {
  local start=$SECONDS end a=${2:-} b
  end=$(limit_after "${1:-15}")
  [ -n "$a" ] || a=$(screen_sum)
  while :; do
    sleep 0.05
    b=$(screen_sum)
    [ "$a" != "$b" ] || return 0
    [ "$SECONDS" -lt "$end" ] || fail "waited $((SECONDS - start))s for the screen to settle"
    a=$b
  done
}
# Runs COMMAND and waits until its effect is painted, for a command that may change nothing.
acts() {
  "$@"
  settle
}
# Runs COMMAND and waits until the screen has changed and settled again.
changes() {
  local before
  before=$(screen_sum)
  "$@"
  changed_from "the screen to change after: $*" "$before"
}
ended() { ! kill -0 "$1" 2>/dev/null; }
# Clicks the point x,y of a window's inside (relative to its top-left corner).
click_in() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# A fresh sample album in ~/Samples, made by the album maker $1; sets `album`.
make_sample() {
  "$1" "$HOME/Samples" >/dev/null || fail "no sample album"
  album="$HOME/Samples/SAMPLE.vmb"
}
# Starts the program $1 on `album` and waits for the page view after the splash; sets `page`, its
# size W, H and the book's left and top edge bx, by (Small size, description lines hidden).
start_program() {
  "$1" "$album" >"$E2E_TMP/out.log" 2>&1 & E2E_APP=$!
  page=$(window "^Vimbrel v 01.00$" 60) || fail "no page view"
  gone "About Vimbrel" || fail "the splash stays"
  settle
  eval "$(xdotool getwindowgeometry --shell "$page" | sed -n 's/^WIDTH=/W=/p; s/^HEIGHT=/H=/p')"
  bx=$(((W - 780) / 2)); by=10
}
# From the index, the first group's first spread.
open_first_group() {
  click_in "$page" $((bx + 200)) $((by + 30))
  changes xdotool key Down Down Return
}

# The page view, for scripts that set `page` to its window and W, H, bx, by to its width,
# height and the book's left and top edge (Small size, description lines hidden).
tool() { click_in "$page" $(((W - 790) / 2 + $1 * 36 + 17)) $((H - 49)); } # tool i of the strip
# Centre of frame f of the first group, counted from the spread's left page.
fx() { local k=$(( ($1 - 1) % 24 )); local right=$(( k >= 12 ? 396 : 0 )); echo $((bx + right + 15 + (k % 12 % 3) * 123 + 54)); }
fy() { local k=$(( ($1 - 1) % 24 % 12 )); echo $((by + 20 + (k / 3) * 125 + 36)); }
rightclick() { changes xdotool mousemove --window "$page" "$1" "$2" click 3; }
# An album file as JSON: the picture in each frame, the Photo Box, groups and descriptions.
albumjson() { python3 "$(dirname "$0")/albumfile.py" "$1"; }

# The album file was written since $1, its inode, modification time and size then: saving
# replaces the file, and a second may hold two saves.
album_written() { [ "$(stat -c '%i %y %s' "$album" 2>/dev/null)" != "$1" ]; }

# The chooser: it shares its title with the page view and is the narrower of the two.
find_chooser() {
  local id W end
  end=$(limit_after 10)
  while [ "$SECONDS" -lt "$end" ]; do
    for id in $(xdotool search --onlyvisible --name "^Vimbrel v 01.00$" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=/W=/p')"
      [ "$W" -lt 750 ] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# The page view's Command tool, then the chooser's Save; leaves the program running.
save_through_chooser() {
  tool 2
  local chooser
  chooser=$(find_chooser) || fail "no chooser"
  local saved
  saved=$(stat -c '%i %y %s' "$album" 2>/dev/null || true)
  xdotool key --window "$chooser" alt+s
  wait_for "the album file to be written" 20 album_written "$saved"
  settle
  shot "$1"
}
