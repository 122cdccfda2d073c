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
# Leak reports from the toolkit's libraries at exit are not what these tests look at.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

e2e_cleanup() {
  [ -n "${E2E_APP:-}" ] && kill "$E2E_APP" 2>/dev/null || true
  [ -n "${E2E_WM:-}" ] && kill "$E2E_WM" 2>/dev/null || true
  [ -n "${E2E_X:-}" ] && kill "$E2E_X" 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# A display number nobody uses.
for n in $(seq 90 140); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { E2E_DISPLAY=:$n; break; }
done
export DISPLAY=$E2E_DISPLAY
Xvfb "$DISPLAY" -screen 0 "${E2E_SCREEN:-1280x800}x24" -nolisten tcp >/dev/null 2>&1 & E2E_X=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 & E2E_WM=$!
sleep 0.5

# Waits until a window whose title matches is shown, and prints its id.
window() { timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" | head -1; }
gone() { for _ in $(seq 100); do xdotool search --onlyvisible --name "$1" >/dev/null || return 0; sleep 0.1; done; return 1; }
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
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$page" | sed -n 's/^WIDTH=/W=/p; s/^HEIGHT=/H=/p')"
  bx=$(((W - 780) / 2)); by=10
}
# From the index, the first group's first spread.
open_first_group() {
  click_in "$page" $((bx + 200)) $((by + 30))
  xdotool key Down Down Return
  sleep 1
}

# The page view, for scripts that set `page` to its window and W, H, bx, by to its width,
# height and the book's left and top edge (Small size, description lines hidden).
tool() { click_in "$page" $(((W - 790) / 2 + $1 * 36 + 17)) $((H - 49)); } # tool i of the strip
# Centre of frame f of the first group, counted from the spread's left page.
fx() { local k=$(( ($1 - 1) % 24 )); local right=$(( k >= 12 ? 396 : 0 )); echo $((bx + right + 15 + (k % 12 % 3) * 123 + 54)); }
fy() { local k=$(( ($1 - 1) % 24 % 12 )); echo $((by + 20 + (k / 3) * 125 + 36)); }
rightclick() { xdotool mousemove --window "$page" "$1" "$2" click 3; sleep 0.2; }
# An album file as JSON: the picture in each frame, the Photo Box, groups and descriptions.
albumjson() { python3 "$(dirname "$0")/albumfile.py" "$1"; }

# The chooser: it shares its title with the page view and is the narrower of the two.
find_chooser() {
  local id W
  for _ in $(seq 100); do
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
  sleep 0.5
  xdotool key --window "$chooser" alt+s
  sleep 1
  shot "$1"
}
